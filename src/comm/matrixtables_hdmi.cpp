#include "matrixtables.h"

// Switching rows of the HDMI matrices. A is the HDMI matrix address.
namespace MatrixCommands {

using namespace Shorthand;

const QVector<Row> &hdmiRows()
{
    // "cir " + two characters + CR LF, one frame per output 1-4. Even outputs
    // jump from the digits to the letters at input 3; the arithmetic holds for
    // every input number.
    static const QVector<TextRule> cirFrames = {
        {"6369722030%1%2", {in(Hex2, 0x2F), lit("0D0A")}},
        {"6369722030%1%2", {inStepped(0x37, 0x5E), lit("0D0A")}},
        {"6369722031%1%2", {in(Hex2, 0x2F), lit("0D0A")}},
        {"6369722031%1%2", {inStepped(0x37, 0x5E), lit("0D0A")}},
    };

    // Fixed frames by output (rows) and input (columns 1-4).
    static const QVector<const char *> hdmi13Frames = {
        "0555190977", "0555191D77", "0555191F77", "0555190D77",
        "0555191777", "0555191277", "0555195977", "0555190877",
        "0555195E77", "0555190677", "0555190577", "0555190377",
        "0555191877", "0555194477", "0555190F77", "0555195177",
    };

    // Each frame ends in a check byte that makes its 13 bytes add up to a
    // multiple of 256.
    static const QVector<const char *> tkFrames = {
        "A55B02030100010000000000F9", "A55B02030200010000000000F8",
        "A55B02030300010000000000F7", "A55B02030400010000000000F6",
        "A55B02030100020000000000F8", "A55B02030200020000000000F7",
        "A55B02030300020000000000F6", "A55B02030400020000000000F5",
        "A55B02030100030000000000F7", "A55B02030200030000000000F6",
        "A55B02030300030000000000F5", "A55B02030400030000000000F4",
        "A55B02030100040000000000F6", "A55B02030200040000000000F5",
        "A55B02030300040000000000F4", "A55B02030400040000000000F3",
    };

    // Shared by HDMI01 (hex) and HDMI16 (ASCII).
    static const TextRule f2Frame = {
        "F2%1%2%3%4%5%6",
        {in(Hex4High), in(Hex4Low), lit("22"), out(Hex2), lit("0000"), xor8("%1%2%3%4%5")}};

    static const QVector<Row> rows = {
        // The address goes in hex although the text leaves as ASCII.
        touring(NotToured, {"AE-T", Once, AsciiWire,
         {{"PV%1SW%2%3%4", {addr(), in(Dec2), num(FirstOutput, Dec2), num(LastOutput, Dec2)}}}}),
        {"ANTAI", PerOutput, AsciiWire, {{"%1*%2%", {in(Dec), out(Dec)}}}},
        {"ANTAI2", PerOutput, AsciiWire, {{"%1*%2!", {in(Dec), out(Dec)}}}},
        {"BAK", PerOutput, AsciiWire, {{"%1%2<%3!", {addrText(), out(Dec2), in(Dec2)}}}},
        {"BTRAN-888", PerOutput, AsciiWire, {{"<%1,%2,V>", {in(Dec), out(Dec)}}}},
        touring(NotToured, {"BY-T", Once, AsciiWire, {{"%1V%2.", {in(Dec), outputList(",")}}}}),
        {"CREATEK", PerOutput, AsciiWire, {{"%1V%2.", {in(Dec), out(Dec)}}}},
        touring(NotToured, {"CREATEK01", PerOutput, AsciiWire, {{"%1V%2.", {in(Dec), out(Dec)}}}}),
        {"CZ-DVI", PerOutput, AsciiWire, {{"%1,%2,V", {in(Dec), out(Dec)}}}},
        {"HDMI01", PerOutput, HexWire, {f2Frame}},
        {"HDMI02", PerOutput, AsciiWire, {{"PV%1SW%2%3NT", {addrText(), in(Dec2), out(Dec2)}}}},
        {"HDMI03", PerOutput, AsciiWire, {{"PV%1SV%2%3NT", {addrText(), in(Dec2), out(Dec2)}}}},
        touring(TourOwnPortOnly, {"HDMI04", PerOutput, HexWire,
         {{"BB04%1%2%3%4%5", {addr(), lit("02"), in(Hex2), out(Hex2), lit("55")}}}}),
        {"HDMI05", PerOutput, AsciiWire, {{"PL%1SW%2%3NT", {addrText(), in(Dec2), out(Dec2)}}}},
        {"HDMI06", PerOutput, AsciiWire, {{"%1X%2.", {in(Dec), out(Dec)}}}},
        {"HDMI07", PerOutput, HexWire,
         {{"96%1%2%3%4%5",
           {addr(), lit("0104A5"), out(Hex2, -1), in(Hex2, -1), sum8("96%1%2%3%4")}}}},
        {"HDMI08", PerOutput, HexWire, {{"41%1%2%3", {out(Hex2), in(Hex2), lit("7B21")}}}},
        {"HDMI09", PerOutput, HexWire,
         {{"F300%1%2%3%4%5", {in(Hex2), lit("22"), out(Hex2), lit("0000"), sum8("%1%2%3")}}}},
        {"HDMI10", ByOutput, HexWire, cirFrames, {}, 0, "0000000000000000"},
        {"HDMI11", PerOutput, AsciiWire, {{"%1V%2V%3", {addrText(), in(Dec2), out(Dec2)}}}},
        {"HDMI12", PerOutput, AsciiWire, {{"PH%1SW%2%3NT", {addrText(), in(Dec2), out(Dec2)}}}},
        // Binary frames: sent through the hex converter, as the tour sends them.
        {"HDMI13", ByPair, HexWire, {}, hdmi13Frames, 4, "0000000000"},
        {"HDMI14", PerOutput, HexWire,
         {{"A500%1%2%3%4%5%6",
           {addr(), lit("01"), out(Hex2), in(Hex2), lit("02"), sum8("A500%1%2%3%4%5")}}}},
        {"HDMI15", PerOutput, HexWire,
         {{"63697220%1%2%3", {out(Hex2, 0x2F), in(Hex2, 0x2F), lit("0D0A")}}}},
        // The frame of HDMI01, sent as its 16 characters.
        {"HDMI16", PerOutput, AsciiWire, {f2Frame}},
        {"HDMI4K", PerOutput, AsciiWire, {{"%1X%2.", {in(Dec), out(Dec)}}}},
        touring(NotToured, {"HDMI-X", Once, AsciiWire, {{"%1M%2V%3.", {addrText(), in(Dec), outputList(",")}}}}),
        touring(NotToured, {"HDMI4K-T", Once, AsciiWire, {{"%1X%2.", {in(Dec), outputList("&")}}}}),
        // The checksum stands before the closing 7D 7D and covers it.
        {"IM88", PerOutput, HexWire,
         {{"7B7B0102%1%2%3%4",
           {in(Hex2, -1), out(Hex2), sum8("7B7B0102%1%2%4"), lit("7D7D")}}}},
        {"JC-DVI", PerOutput, AsciiWire, {{"%1%2(%3!", {addrText(), out(Dec), in(Dec)}}}},
        {"JVZHEN", PerOutput, HexWire, {{"C8A50602%1%2%3AA", {in(Hex2), out(Hex2), lit("55")}}}},
        // The HDMI14 frame with the address fixed at 01.
        {"KINGRODA", PerOutput, HexWire,
         {{"A500%1%2%3%4%5",
           {lit("0101"), out(Hex2), in(Hex2), lit("02"), sum8("A500%1%2%3%4")}}}},
        touring(NotToured, {"KINGRODA01", PerOutput, AsciiWire, {{"%1V%2.", {in(Dec), out(Dec)}}}}),
        touring(NotToured, {"KINGRODA02", PerOutput, AsciiWire, {{"%1*%2!", {in(Dec), out(Dec)}}}}),
        {"LANMA", PerOutput, HexWire, {ffFrame("05")}},
        // The device wants lower-case digits.
        {"MAITUO", PerOutput, AsciiWire, {{"00%1", {num(Cell, HexLower)}}}},
        {"ODT", PerOutput, HexWire, {f4Frame()}},
        {"PG_MUL", PerOutput, HexWire,
         {{"BA%1%2%3A6%4%5%6",
           {addr(), lit("01"), lit("04"), out(Hex2, -1), in(Hex2, -1), sum8("BA%1%2%3A6%4%5")}}}},
        touring(TourOnce, {"QX", PerOutput, AsciiWire, twice({"%1X%2.", {in(Dec), out(Dec)}})}),
        {"SDVI0808", PerOutput, HexWire,
         {{"EB900202%1%2%3", {out(Hex2, -1), in(Hex2, -1), sum8("900202%1%2")}}}},
        {"SISO", PerOutput, HexWire, {sisoFrame("00")}},
        touring(TourOnce, {"SX", PerOutput, AsciiWire, twice({"%1V%2.", {in(Dec), out(Dec)}})}),
        touring(NotToured, {"SVS", PerOutput, AsciiWire, {{"%1,%2,Y", {in(Dec), out(Dec)}}}}),
        {"TK", ByPair, HexWire, {}, tkFrames, 4, "00000000000000000000000000"},
    };
    return rows;
}

} // namespace MatrixCommands
