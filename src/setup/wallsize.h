#ifndef WALLSIZE_H
#define WALLSIZE_H

// A screen address writes the column and the row as one hexadecimal digit
// each, and the output map has room for 15 by 15 screens: a wall has 1 to 15
// rows and 1 to 15 columns, whatever asks for another size.
namespace WallSize {

constexpr int kMax = 15;
constexpr int kCells = kMax * kMax;

constexpr bool isValid(int count)
{
    return count >= 1 && count <= kMax;
}

} // namespace WallSize

#endif // WALLSIZE_H
