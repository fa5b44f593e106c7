#include "matrixtables.h"

// Switching rows of the DVI and SDI matrices. A is the DVI matrix address;
// the SDI rows carry no address.
namespace MatrixCommands {

using namespace Shorthand;

const QVector<Row> &dviRows()
{
    static const QVector<Row> rows = {
        {"ANTAI", PerOutput, AsciiWire, {{"%1*%2!", {in(Dec), out(Dec)}}}},
        touring(TourLowerHex, {"BTRAN-111", PerOutput, HexWire,
         {{"F6%1%2%3%4%5", {addr(), lit("0104A1"), out(Hex2, -1), in(Hex2, -1), lit("00")}}}}),
        {"BTRAN-888", PerOutput, AsciiWire, {{"<%1,%2,V>", {in(Dec), out(Dec)}}}},
        {"CREATEK", PerOutput, AsciiWire, twice({"%1V%2.", {in(Dec), out(Dec)}})},
        {"CZ-DVI", PerOutput, AsciiWire, {{"%1,%2,V", {in(Dec), out(Dec)}}}},
        {"DVI01", PerOutput, AsciiWire, {{"%1%2<%3!", {addrText(), out(Dec2), in(Dec2)}}}},
        {"DVI02", PerOutput, AsciiWire, {{"PV%1SW%2%3NT", {addrText(), in(Dec2), out(Dec2)}}}},
        {"DVI03", PerOutput, HexWire, {{"C8A50601%1%2%3AA", {in(Hex2), out(Hex2), lit("55")}}}},
        {"DVI04", PerOutput, AsciiWire, {{"%1V%2V%3", {addrText(), in(Dec2), out(Dec2)}}}},
        {"DVI05", PerOutput, AsciiWire, {{"PD%1SW%2%3NT", {addrText(), in(Dec2), out(Dec2)}}}},
        {"DVI06", PerOutput, HexWire,
         {{"A500%1%2%3%4%5%6",
           {addr(), lit("01"), out(Hex2), in(Hex2), lit("02"), sum8("A500%1%2%3%4%5")}}}},
        {"DVI07", PerOutput, AsciiWire, {{"%1X%2.", {in(Dec), out(Dec)}}}},
        // Switched as its characters, although it reads like hex digits; the tour
        // sends it as hex text.
        touring(TourHexWire, {"DVI08", PerOutput, AsciiWire, {{"AA0003%1%2FF", {in(Dec), out(Dec)}}}}),
        touring(NotToured, {"DVI09", PerOutput, AsciiWire, {{"<swit,%1,%2>", {out(Dec), in(Dec)}}}}),
        {"JC-DVI", PerOutput, AsciiWire, {{"%1%2(%3!", {addrText(), out(Dec), in(Dec)}}}},
        {"LANMA", PerOutput, HexWire, {ffFrame("05")}},
        {"PG_MUL", PerOutput, HexWire,
         {{"BA%1%2%3A5%4%5%6",
           {addr(), lit("01"), lit("04"), out(Hex2, -1), in(Hex2, -1), sum8("BA%1%2%3A5%4%5")}}}},
        // The leading EB is outside the checksum.
        {"SDVI0808", PerOutput, HexWire,
         {{"EB900202%1%2%3", {out(Hex2, -1), in(Hex2, -1), sum8("900202%1%2")}}}},
        {"SISO", PerOutput, HexWire, {sisoFrame("00")}},
        // The trailing "%" is part of the command.
        {"YJ", PerOutput, AsciiWire, {{"%1*%2%", {in(Dec), out(Dec)}}}},
    };
    return rows;
}

// Both SDI models share one frame; they are not the DVI or VGA rows of the
// same names.
const QVector<Row> &sdiRows()
{
    static const QVector<Row> rows = {
        {"CZ-VGA", PerOutput, HexWire, {{"C8AA0003%1%2%3", {in(Hex2), out(Hex2), lit("55AA")}}}},
        {"CZ-DVI", PerOutput, HexWire, {{"C8AA0003%1%2%3", {in(Hex2), out(Hex2), lit("55AA")}}}},
    };
    return rows;
}

} // namespace MatrixCommands
