#include "matrixtables.h"

// Switching rows of the VIDEO matrices. A is the video matrix address. The
// lower-case "flowvia" and "samplex" are models of their own.
namespace MatrixCommands {

using namespace Shorthand;

const QVector<Row> &videoRows()
{
    static const TextRule paFrame = {"PA%1SW%2%3NT", {addrText(), in(Dec2), out(Dec2)}};

    static const QVector<Row> rows = {
        {"ACV", PerOutput, HexWire, {f4Frame()}},
        // Low byte of the input first.
        {"AE", PerOutput, HexWire,
         {{"A5%1%2%3%4%5%6%7",
           {in(Hex4Low), in(Hex4High), lit("81"), out(Hex2), lit("00"), addr(),
            sum8("%1%2%3%4%5%6")}}}},
        {"ANTAI", PerOutput, AsciiWire, {{"%1*%2%", {in(Dec), out(Dec)}}}},
        {"ANTAI2", PerOutput, AsciiWire, {{"%1R%2!", {in(Dec), out(Dec)}}}},
        {"AV01", PerOutput, HexWire,
         {{"96%1%2%3%4%5%6%7",
           {addr(), lit("0106A4"), out(Hex2, -1), in(Hex2, -1), out(Hex2, -1), in(Hex2, -1),
            sum8("96%1%2%3%4%5%6")}}}},
        {"AV02", PerOutput, HexWire, {ffFrame("03")}},
        {"AV03", PerOutput, HexWire,
         {{"F8%1%2%3%4%5FF", {in(Hex2), lit("0081"), out(Hex2), lit("0000"), sum8("%1%2%3")}}}},
        touring(TourLowerHex, {"AV04", PerOutput, MixedWire, {{"0200F%1%2%3", {in(Hex2), out(Hex2), lit("03")}}}}),
        {"AV05", PerOutput, AsciiWire, {{"*%1V%2#", {in(Dec), out(Dec)}}}},
        {"AV06", PerOutput, HexWire,
         {{"BB01%1%2%3%4%5",
           {out(Hex2, -1), in(Hex4Low, -1), in(Hex4High, -1), lit("0000"),
            sum8("BB01%1%2%3%4")}}}},
        {"AV07", PerOutput, AsciiWire, {{"%1%2<%3!", {addrText(), out(Dec), in(Dec)}}}},
        {"AV08", PerOutput, AsciiWire, {{"!%1:L%2*%3~", {addrText(), in(Dec), out(Dec)}}}},
        // Output select, then input select.
        {"AV09", PerOutput, HexWire,
         {{"BB0201%1%2%3", {out(Hex2, -1), lit("000000"), sum8("BB0201%1")}},
          {"BB0202%1%2%3", {in(Hex2, -1), lit("000000"), sum8("BB0202%1")}}}},
        {"BAXALL", PerOutput, HexWire,
         {{"F300%1%2%3%4%5", {in(Hex2), lit("22"), out(Hex2), lit("0000"), sum8("%1%2%3")}}}},
        touring(TourLowerHex, {"BTRAN-888", PerOutput, HexWire,
         {{"F6%1%2%3%4%5%6%7",
           {addr(), lit("0106AF"), out(Hex2, -1), in(Hex2, -1), out(Hex2, -1), in(Hex2, -1),
            sum8("F6%1%2%3%4%5%6")}}}}),
        {"CREATEK", PerOutput, AsciiWire, {{"%1V%2.", {in(Dec), out(Dec)}}}},
        {"CZ-AV", PerOutput, AsciiWire, {{"%1,%2,V", {in(Dec), out(Dec)}}}},
        {"flowvia", PerOutput, AsciiWire, {paFrame}},
        touring(TourLowerHex, {"GALAXY", PerOutput, MixedWire,
         {{"01AS01V%1%2T0604", {out(Hex2, -1), in(Hex2, -1)}}}}),
        {"Infinova", PerOutput, AsciiWire, {{"%1Ma%2#a", {out(Dec), in(Dec)}}}},
        {"LANMA", PerOutput, HexWire, {ffFrame("05")}},
        {"ODT", PerOutput, HexWire, {f4Frame()}},
        {"pangu", PerOutput, HexWire, {{"BB%1%2%3", {addr(), in(Hex2, -1), out(Hex2, -1)}}}},
        {"PEARMAIN", PerOutput, AsciiWire,
         {{"N%1%2%3%4%5%6",
           {num(PearmainAddress, Text), addr(Dec3), out(Dec3), lit("0"), in(Dec3),
            lit("031000000B")}}}},
        // High byte of the input first.
        {"PEARMAIN2", PerOutput, HexWire,
         {{"F6%1%2%3%4%5%6",
           {addr(), lit("01"), out(Hex2), in(Hex4High), in(Hex4Low), lit("1F")}}}},
        // Counts from 0 where Infinova counts from 1.
        {"PELCO", PerOutput, AsciiWire, {{"%1Ma%2#a", {out(Dec, -1), in(Dec, -1)}}}},
        {"PG_MUL", PerOutput, HexWire,
         {{"BA%1%2%3%4%5",
           {addr(), lit("0104A1"), out(Hex2, -1), in(Hex2, -1), sum8("BA%1%2%3%4")}}}},
        {"samplex", PerOutput, AsciiWire, {paFrame}},
        // Inputs above 127 go to the second bank; 7-bit checksum without the F6.
        {"shenshiyin", PerOutput, HexWire,
         {{"F688%1%2%3%4%5",
           {num(BankByte, Hex2), num(BankInput, Hex2), out(Hex2), lit("01"),
            sum7("88%1%2%3%4")}}}},
        {"TIANDY", PerOutput, HexWire,
         {{"FAFA0C81C000%1%2%3%4FDFD", {out(Hex2), lit("00"), in(Hex2), addr()}}}},
        {"VINET", PerOutput, HexWire,
         {{"FC0100%1%2%3%4",
           {in(Hex2, -1), out(Hex2, -1), lit("01"), sum7("FC0100%1%2%3")}}}},
        {"VMW-JCAV", PerOutput, AsciiWire, {{"%1%2[%3!", {addrText(), out(Dec), in(Dec)}}}},
        {"XM-AV", PerOutput, AsciiWire, {{"%1%2[%3!", {addrText(), out(Dec2), in(Dec2)}}}},
    };
    return rows;
}

} // namespace MatrixCommands
