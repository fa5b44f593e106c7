#include "matrixtables.h"

// Scene save and recall rows. A model's scene row is its own: it may differ
// from the same model's switching row in encoding and number forms.
namespace MatrixCommands {

using namespace Shorthand;

namespace {

// Save and recall texts that take the same fields.
SceneRow sceneRow(const char *model, Encoding encoding, const char *save, const char *recall,
                  const QVector<Field> &fields)
{
    return {model, encoding, {{save, fields}}, {{recall, fields}}};
}

SceneRow asciiScene(const char *model, const char *save, const char *recall)
{
    return sceneRow(model, AsciiWire, save, recall, {scene(Dec)});
}

SceneRow addressedScene(const char *model, const char *save, const char *recall, Form form)
{
    return sceneRow(model, AsciiWire, save, recall, {addrText(), scene(form), lit("00NT")});
}

// The last byte is the scene plus a constant, not a checksum.
SceneRow antaiScene(const char *model)
{
    return {model, HexWire,
            {{"A5000106%1%2%3", {scene(Hex2), lit("0000"), scene(Hex2, 0xAC)}}},
            {{"A5000105%1%2%3", {scene(Hex2), lit("0000"), scene(Hex2, 0xAB)}}}};
}

SceneRow a5Scene(const char *model)
{
    return {model, HexWire,
            {{"A5000106%1%2%3", {scene(Hex2), lit("0000"), sum8("A5000106%1")}}},
            {{"A5000105%1%2%3", {scene(Hex2), lit("0000"), sum8("A5000105%1")}}}};
}

SceneRow x96Scene(const char *model)
{
    return {model, HexWire,
            {{"96%1%2%3%4", {addr(), lit("110300"), scene(Hex2), sum8("96%1%2%3")}}},
            {{"96%1%2%3%4", {addr(), lit("150300"), scene(Hex2), sum8("96%1%2%3")}}}};
}

SceneRow x2aScene(const char *model)
{
    return {model, HexWire, {{"2A%1%2", {scene(Hex2), lit("01000021")}}},
            {{"2A%1%2", {scene(Hex2), lit("02000021")}}}};
}

SceneRow sfScene(const char *model)
{
    return sceneRow(model, AsciiWire, "SF%1%2", "RF%1%2", {scene(Dec2), lit("00")});
}

} // namespace

const QVector<SceneRow> &dviScenes()
{
    static const QVector<SceneRow> rows = {
        antaiScene("ANTAI"),
        asciiScene("CREATEK", "Save%1.", "Recall%1."),
        addressedScene("DVI02", "PV%1SF%2%3", "PV%1RF%2%3", Hex2),
        sceneRow("DVI08", HexWire, "AA0005%1%2", "AA0004%1%2", {scene(Hex2, -1), lit("00FF")}),
        sceneRow("DVI09", AsciiWire, "<save,%1>", "<call,%1>", {scene(Dec, -1)}),
        asciiScene("YJ", "SAVE%1", "CALL%1"),
    };
    return rows;
}

const QVector<SceneRow> &hdmiScenes()
{
    static const QVector<SceneRow> rows = {
        sfScene("AE-T"),
        antaiScene("ANTAI2"),
        sfScene("BY-T"),
        asciiScene("CREATEK", "Save%1.", "Recall%1."),
        asciiScene("CREATEK01", "SAVE%1.", "CALL%1."),
        addressedScene("HDMI02", "PV%1SF%2%3", "PV%1RF%2%3", Hex2),
        // Recall is followed by a command that shows the recalled routing.
        {"HDMI03", AsciiWire, {{"PV%1SF%2%3", {addrText(), scene(Hex2), lit("00NT")}}},
         {{"PV%1RF%2%3", {addrText(), scene(Hex2), lit("00NT")}},
          {"PV%1VW0000NT", {addrText()}}}},
        addressedScene("HDMI05", "PL%1SF%2%3", "PL%1RF%2%3", Hex2),
        sceneRow("HDMI06", AsciiWire, "Save%1.", "Load%1.", {scene(HexPlain)}),
        addressedScene("HDMI12", "PH%1SF%2%3", "PH%1RF%2%3", Hex2),
        a5Scene("HDMI14"),
        asciiScene("HDMI4K", "Save%1.", "Recall%1."),
        sceneRow("HDMI-X", AsciiWire, "%1SAVE%2", "%1CALL%2", {addrText(), scene(Dec)}),
        // The checksum stands before the closing 7D 7D and covers it.
        {"IM88", HexWire,
         {{"7B7B0201%1%2%3", {scene(Hex2, -1), sum8("7B7B0201%1%3"), lit("7D7D")}}},
         {{"7B7B0301%1%2%3", {scene(Hex2, -1), sum8("7B7B0301%1%3"), lit("7D7D")}}}},
        a5Scene("KINGRODA"),
        asciiScene("KINGRODA02", "SAVE%1", "CALL%1"),
        asciiScene("QX", "Save%1.", "Recall%1."),
        asciiScene("SX", "SAVE%1", "CALL%1"),
        asciiScene("SVS", "%1,S", "%1,R"),
    };
    return rows;
}

const QVector<SceneRow> &vgaScenes()
{
    static const QVector<SceneRow> rows = {
        sceneRow("AE-VGA", AsciiWire, "%1VSAVE%2", "%1VRETU%2", {addrText(), scene(Dec)}),
        sceneRow("AE-VGA-T", AsciiWire, "%1VSAVE%2", "%1VRETU%2", {addrText(), scene(Dec)}),
        asciiScene("ANTAI3", "SAVE%1", "CALL%1"),
        {"btran-888", HexWire, {{"F6%1%2%3%4", {addr(), lit("110300"), scene(Hex2), lit("00")}}},
         {{"F6%1%2%3%4", {addr(), lit("150300"), scene(Hex2), lit("00")}}}},
        // No save command is known for this device: a save sends nothing.
        {"CHUANGGAO", AsciiWire, {}, {{"<%1,R>", {scene(Dec)}}}},
        asciiScene("CREATEK", "Save%1.", "Recall%1."),
        addressedScene("Flowvia", "PA%1SF%2%3", "PA%1RF%2%3", Hex2),
        // The frame of Flowvia, with the scene in decimal.
        addressedScene("Samplex", "PA%1SF%2%3", "PA%1RF%2%3", Dec2),
        x96Scene("VGA01"),
        x96Scene("VGA02"),
        sceneRow("VGA06", HexWire, "060006%1", "030004%1", {scene(Hex2)}),
        sceneRow("VMW-JCVGA", AsciiWire, "%1PS%2!", "%1PL%2!", {addrText(), scene(Dec)}),
        x2aScene("XM-VGA"),
        sceneRow("YJ_VGA", HexWire, "C8A50101%1%2", "C8A50201%1%2", {scene(Hex2), lit("0055AA")}),
    };
    return rows;
}

const QVector<SceneRow> &videoScenes()
{
    static const QVector<SceneRow> rows = {
        x96Scene("AV01"),
        addressedScene("flowvia", "PA%1SF%2%3", "PA%1RF%2%3", Hex2),
        addressedScene("samplex", "PA%1SF%2%3", "PA%1RF%2%3", Hex2),
        sceneRow("VMW-JCAV", AsciiWire, "%1PS%2!", "%1PL%2!", {addrText(), scene(Dec)}),
        x2aScene("XM-AV"),
    };
    return rows;
}

} // namespace MatrixCommands
