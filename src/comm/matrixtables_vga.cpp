#include "matrixtables.h"

// Switching rows of the VGA matrices. A is the VGA matrix address. Only the
// lower-case "btran-888" is a VGA model, and "Flowvia", "Samplex" and
// "Triolion" match in that mixed case only.
namespace MatrixCommands {

using namespace Shorthand;

const QVector<Row> &vgaRows()
{
    static const TextRule pvFrame = {"PV%1SW%2%3NT", {addrText(), in(Dec2), out(Dec2)}};
    static const TextRule bbFrame = {"BB04%1%2%3%4%5",
                                     {addr(), lit("02"), in(Hex2), out(Hex2), lit("55")}};

    static const QVector<Row> rows = {
        {"AE-VGA", PerOutput, AsciiWire, {{"%1V%2V%3", {addrText(), in(Dec2), out(Dec2)}}}},
        touring(NotToured, {"AE-VGA-T", Once, AsciiWire, {{"%1VM%2TOALL", {addrText(), in(Dec2)}}}}),
        {"ANTAI", PerOutput, AsciiWire, {{"%1*%2%", {in(Dec), out(Dec)}}}},
        {"ANTAI2", PerOutput, AsciiWire, {{"%1G%2!", {in(Dec), out(Dec)}}}},
        {"ANTAI3", PerOutput, AsciiWire, {{"%1*%2!", {in(Dec), out(Dec)}}}},
        {"btran-888", PerOutput, HexWire,
         {{"F6%1%2%3%4%5%6%7",
           {addr(), lit("0106AF"), out(Hex2, -1), in(Hex2, -1), out(Hex2, -1), in(Hex2, -1),
            sum8("F6%1%2%3%4%5%6")}}}},
        {"CHUANGGAO", PerOutput, AsciiWire, {{"%1B%2.", {in(Dec), out(Dec)}}}},
        {"CK-VGA", PerOutput, HexWire, {ffFrame("04")}},
        {"CREATEK", PerOutput, AsciiWire, {{"%1V%2.", {in(Dec), out(Dec)}}}},
        {"CZ-VGA", PerOutput, AsciiWire, {{"%1,%2,V", {in(Dec), out(Dec)}}}},
        {"Flowvia", PerOutput, AsciiWire, {pvFrame}},
        {"LANMA", PerOutput, HexWire, {ffFrame("03")}},
        {"MK", PerOutput, HexWire, {bbFrame}},
        {"ODT", PerOutput, HexWire, {f4Frame()}},
        {"PC-VGA", PerOutput, AsciiWire, {{"^SWI0%1%2$", {in(Dec), out(Dec3)}}}},
        // The device splits the input this way, modulo 255 and not 256.
        {"PEARMAIN", PerOutput, HexWire,
         {{"F6%1%2%3%4%5%6",
           {addr(), lit("00"), out(Hex2), num(InputDiv100, Dec2), num(InputMod255, Hex2),
            lit("1F")}}}},
        {"PG_MUL", PerOutput, HexWire,
         {{"BA%1%2%3%4%5",
           {addr(), lit("0104A0"), out(Hex2, -1), in(Hex2, -1), sum8("BA%1%2%3%4")}}}},
        {"Samplex", PerOutput, AsciiWire, {pvFrame}},
        {"SISO", PerOutput, HexWire, {sisoFrame("00")}},
        {"SISO-02", PerOutput, HexWire, {sisoFrame("01")}},
        {"Triolion", PerOutput, HexWire,
         {{"EB%1%2%3%4%5",
           {addr(), lit("0202"), out(Hex2, -1), in(Hex2, -1), sum8("%1%2%3%4")}}}},
        {"VGA01", PerOutput, HexWire,
         {{"96%1%2%3%4%5%6%7",
           {addr(), lit("0106A3"), out(Hex2, -1), in(Hex2, -1), out(Hex2, -1), in(Hex2, -1),
            sum8("96%1%2%3%4%5%6")}}}},
        {"VGA02", PerOutput, HexWire,
         {{"96%1%2%3%4%5", {addr(), lit("0104A0"), out(Hex2, -1), in(Hex2, -1), lit("00")}}}},
        {"VGA03", PerOutput, AsciiWire, {{"!%1:G%2*%3~", {addrText(), in(Dec), out(Dec)}}}},
        {"VGA04", PerOutput, AsciiWire, {{".%1V%2.", {in(Dec), out(Dec)}}}},
        {"VGA05", PerOutput, AsciiWire, {{"*%1R%2#", {in(Dec), out(Dec)}}}},
        {"VGA06", PerOutput, HexWire, {bbFrame}},
        {"VGA07", PerOutput, AsciiWire, {{"%1I%2O%3<!", {addrText(), in(Dec), out(Dec)}}}},
        {"VGA08", PerOutput, AsciiWire, {{"<%1,%2,V>", {in(Dec), out(Dec)}}}},
        {"VGA09", PerOutput, AsciiWire, {{"%1V%2V%3", {addrText(), in(Dec2), out(Dec2)}}}},
        {"VGA10", PerOutput, HexWire, {{"C8A50603%1%2%3", {in(Hex2), out(Hex2), lit("55AA")}}}},
        {"VGA11", PerOutput, AsciiWire, {{"%1V%2", {in(Dec), out(Dec)}}}},
        {"VGA12", PerOutput, AsciiWire, {{"%1V%2M%3", {addrText(), in(Dec2), out(Dec2)}}}},
        {"VGA13", PerOutput, HexWire,
         {{"96%1%2%3%4%5",
           {addr(), lit("0104A0"), out(Hex2, -1), in(Hex2, -1), sum8("96%1%2%3%4")}}}},
        {"VGA14", PerOutput, HexWire, {ffFrame("05")}},
        {"VGA3", PerOutput, HexWire, {{"7EFF%1%2%3", {in(Hex2), out(Hex2), lit("000D")}}}},
        {"VMW-JCVGA", PerOutput, AsciiWire, {{"%1%2(%3!", {addrText(), out(Dec), in(Dec)}}}},
        {"WDK-VGA", PerOutput, HexWire,
         {{"A500%1%2%3%4%5%6",
           {addr(), lit("01"), out(Hex2), in(Hex2), lit("02"), sum8("A500%1%2%3%4%5")}}}},
        {"XM-VGA", PerOutput, AsciiWire, {{"%1%2(%3!", {addrText(), out(Dec2), in(Dec2)}}}},
        {"YJ_VGA", PerOutput, HexWire, {{"C8AA0003%1%2%3", {in(Hex2), out(Hex2), lit("55AA")}}}},
    };
    return rows;
}

} // namespace MatrixCommands
