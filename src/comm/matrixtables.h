#ifndef MATRIXTABLES_H
#define MATRIXTABLES_H

#include "matrixcommands.h"

// The command tables and the shorthand they are written in. Internal to the
// matrix command sets; users go through matrixcommands.h.
namespace MatrixCommands {

const QVector<Row> &dviRows();
const QVector<Row> &hdmiRows();
const QVector<Row> &vgaRows();
const QVector<Row> &videoRows();
const QVector<Row> &sdiRows();

const QVector<SceneRow> &dviScenes();
const QVector<SceneRow> &hdmiScenes();
const QVector<SceneRow> &vgaScenes();
const QVector<SceneRow> &videoScenes();

namespace Shorthand {

constexpr Encoding HexWire = Encoding::Hex;
constexpr Encoding AsciiWire = Encoding::Ascii;
constexpr Encoding MixedWire = Encoding::Mixed;

inline Field lit(const char *text) { return {Literal, Text, 0, text}; }
inline Field addrText() { return {AddressText, Text}; }
inline Field addr(Form form = Hex2) { return {Address, form}; }
inline Field in(Form form, int offset = 0) { return {Input, form, offset}; }
inline Field out(Form form, int offset = 0) { return {Output, form, offset}; }
inline Field scene(Form form, int offset = 0) { return {Scene, form, offset}; }
inline Field num(Source source, Form form) { return {source, form}; }
inline Field outputList(const char *separator) { return {OutputList, Text, 0, separator}; }
inline Field inStepped(int upToTwo, int fromThree)
{
    return {InputStepped, Hex2, upToTwo, nullptr, fromThree};
}

// Checksums over a span written as a template over the same field values.
inline Field sum8(const char *span) { return {Checksum, Text, 0, span, 0, 0, 0xFF}; }
inline Field xor8(const char *span) { return {Checksum, Text, 0, span, 0, 1, 0xFF}; }
inline Field sum7(const char *span) { return {Checksum, Text, 0, span, 0, 0, 0x7F}; }

// A row that the matrix tour sends otherwise than a switch (TourTrait flags).
inline Row touring(int traits, Row row)
{
    row.tour = traits;
    return row;
}

inline QVector<TextRule> twice(const TextRule &rule) { return {rule, rule}; }

// Frames that several makes share.
inline TextRule ffFrame(const char *command)
{
    return {"FF%1%2%3%4AA", {addr(), lit(command), in(Hex2), out(Hex2)}};
}
inline TextRule f4Frame()
{
    return {"F4%1%2%3%4%5", {in(Hex2), lit("21"), out(Hex2), lit("0000"), sum8("%1%2%3")}};
}
inline TextRule sisoFrame(const char *fifth)
{
    return {"F2%1%2%3%4%5%6%7",
            {in(Hex4High), in(Hex4Low), lit("22"), out(Hex2), lit(fifth), addr(),
             xor8("%1%2%3%4%5%6")}};
}

} // namespace Shorthand
} // namespace MatrixCommands

#endif // MATRIXTABLES_H
