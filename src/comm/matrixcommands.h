#ifndef MATRIXCOMMANDS_H
#define MATRIXCOMMANDS_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// The switching and scene command sets of the matrix switchers, kept as data:
// one table per signal type, one row per model, walked by one small builder.
//
// Everything here is pure: a text depends only on the row and the numbers it
// is given, nothing is read from or written to a link object or shared state,
// so the matrix tour may build its steps from these rows in its worker thread.
namespace MatrixCommands {

// The converter that turns a row's texts into bytes.
enum class Encoding {
    Hex,   // pairs of hex digits, one byte each
    Ascii, // the Latin-1 bytes of the text
    Mixed  // first and last digit pairs as bytes, the middle as Latin-1
};

// Number forms of a field. A negative number keeps its sign in front of the
// padded digits ("-1" as two hex digits).
enum Form {
    Hex2,     // upper-case hex, zero-padded to two digits
    Hex4High, // first two digits of the number as four upper-case hex digits
    Hex4Low,  // the next two digits of it
    HexPlain, // upper-case hex, no padding
    HexLower, // lower-case hex, no padding
    Dec,      // decimal, no padding
    Dec2,     // decimal, zero-padded to two digits
    Dec3,     // decimal, zero-padded to three digits
    Text      // a text inserted as it is
};

// Where a field's value comes from. I is the input, O the output, S the
// scene number, A the device address text.
enum Source {
    Literal,         // the field's text
    AddressText,     // A exactly as typed
    Address,         // A read as a decimal number (0 when it is none)
    Input,           // I + offset
    InputStepped,    // I + offset for inputs up to 2, I + offset2 from 3 up
    Output,          // O + offset
    Scene,           // S + offset
    InputDiv100,     // integer quotient of I by 100
    InputMod255,     // I modulo 255
    Cell,            // crossing number (I-1) + 4 * (O-1)
    BankByte,        // 0x80 for inputs above 127, else 0
    BankInput,       // I - 128 for inputs above 127, else I
    PearmainAddress, // A as typed when its value is above 9, else the value as dec2
    FirstOutput,     // first entry of the selected-output list
    LastOutput,      // last entry of the selected-output list
    OutputList,      // non-zero entries as dec, joined by the field's text
    Checksum         // over the field's text (a template over the same values)
};

struct Field
{
    Source source = Literal;
    Form form = Text;
    int offset = 0;
    const char *text = nullptr; // literal, list separator or checksum span
    int offset2 = 0;
    int mode = 0; // checksum: 0 byte sum, 1 XOR
    int mask = 0xFF;
};

// One command text: a template whose %1..%9 take the fields in order.
struct TextRule
{
    const char *pattern = "";
    QVector<Field> fields;
};

enum Scope {
    PerOutput, // every rule once for each non-zero selected output
    Once,      // every rule once for the whole call
    ByOutput,  // rule O-1 for outputs 1..rules; above: the outside text
    ByPair     // fixed frame by output and input; outside the table: the outside text
};

// Where the matrix tour sends a row's pair otherwise than a manual switch.
enum TourTrait {
    TourAsSwitch = 0,
    TourLowerHex = 1,    // numbers and the address in lower-case hex digits
    TourOnce = 2,        // the first text of a pair only; a switch repeats it
    TourOwnPortOnly = 4, // steps go out only while the RGB matrix's own port is open
    TourHexWire = 8,     // sent as hex text although a switch sends its characters
    NotToured = 16       // a switching model that the tour does not hold
};

// A switching row: the texts of one output, or of the whole call for Once.
struct Row
{
    const char *model = "";
    Scope scope = PerOutput;
    Encoding encoding = Encoding::Ascii;
    QVector<TextRule> texts;
    QVector<const char *> frames; // ByPair: by output, then input
    int frameInputs = 0;          // ByPair: inputs per output row
    const char *outside = nullptr;
    int tour = TourAsSwitch; // TourTrait flags
};

// A scene row: one save and one recall command (a list of texts each).
struct SceneRow
{
    const char *model = "";
    Encoding encoding = Encoding::Ascii;
    QVector<TextRule> save;
    QVector<TextRule> recall;
};

// Row of a model under a signal type index (0 DVI, 1 HDMI, 2 VGA, 3 VIDEO,
// 5 SDI); exact, case-sensitive name. Null when there is none.
const Row *findSwitchRow(int signalType, const QString &model);
const SceneRow *findSceneRow(int signalType, const QString &model);

// The texts of one (input, output) pair, in sending order. Output 0 is not
// skipped here. A once row builds its text as if the output were the only
// one selected. Empty when the pair builds nothing: in a hex or mixed row a
// number that does not fit its byte field would shift every later byte of
// the frame, so such a frame is never built.
QStringList pairTexts(const Row &row, const QString &address, int input, int output);

// How the matrix tour builds a pair where it differs from a switch: hex
// digits in lower case, a hex wire for every row (a number that does not fit
// its field, or a text with an odd number of digits, skips the pair), and an
// address number below 0 taken as 0.
struct PairStyle
{
    bool lowerHex = false;
    bool hexWire = false;
    bool addressAtLeastZero = false;
};
QStringList pairTexts(const Row &row, const QString &address, int input, int output,
                      const PairStyle &style);

// The texts of a whole switching call: per-output rows walk the list in order
// and skip entries equal to 0; once rows read the list as their row says.
QStringList switchTexts(const Row &row, const QString &address, int input,
                        const QList<int> &outputs);

// Save (mode 0) or recall (any other mode) texts of a scene.
QStringList sceneTexts(const SceneRow &row, const QString &address, int scene, int mode);

// Checksum of a hex text as two upper-case hex digits: mode 0 sums the
// bytes, mode 1 XORs them, any other mode gives 0; the result is masked with
// mask & 0xFF. Bytes are read as the hex converter reads them.
QString checksumText(const QString &hexText, int mode, int mask);

// The device address a signal type's rows carry (0 DVI, 1 HDMI, 2 VGA,
// 3 VIDEO), from a record of the four address fields; SDI rows carry none.
template <typename Record>
QString deviceAddress(int signalType, const Record &record)
{
    const QString *const addresses[] = {&record.dviId, &record.hdmiId, &record.vgaId, &record.videoId};
    return signalType >= 0 && signalType < 4 ? *addresses[signalType] : QString();
}

} // namespace MatrixCommands

#endif // MATRIXCOMMANDS_H
