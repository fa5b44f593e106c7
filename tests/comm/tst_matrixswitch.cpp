#include <QtTest>

#include "communication.h"
#include "globalobject.h"
#include "matrixcase.h"
#include "matrixcommands.h"
#include "testmain.h"

using MatrixCase::asciiFrames;

// Switching commands of every matrix model: texts kept for the echo and the
// bytes returned, for the selected outputs set as the matrix window sets them.
class TestMatrixSwitch : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void switchCommand_data();
    void switchCommand();
    void noTable_data();
    void noTable();
    void previousTextsAreDropped();
    void pairTexts_data();
    void pairTexts();
    void checksum_data();
    void checksum();

private:
    Communication link;
};

namespace {

void addCase(const char *name, const char *type, const char *model, const char *address, int input,
             const QList<int> &outputs, const QStringList &texts, const QStringList &frames)
{
    QTest::newRow(name) << QString::fromLatin1(type) << QString::fromLatin1(model)
                        << QString::fromLatin1(address) << input << outputs << texts << frames;
}

void hexCase(const char *name, const char *type, const char *model, const char *address, int input,
             const QList<int> &outputs, const QStringList &texts)
{
    addCase(name, type, model, address, input, outputs, texts, texts);
}

void asciiCase(const char *name, const char *type, const char *model, const char *address,
               int input, const QList<int> &outputs, const QStringList &texts)
{
    addCase(name, type, model, address, input, outputs, texts, asciiFrames(texts));
}

void dviAndSdiCases()
{
    asciiCase("DVI ANTAI two outputs with a zero", "DVI", "ANTAI", "1", 3, {2, 0, 7}, {"3*2!", "3*7!"});
    hexCase("DVI BTRAN-111 counts from zero", "DVI", "BTRAN-111", "1", 3, {2}, {"F6010104A1010200"});
    hexCase("DVI BTRAN-111 address of letters is byte 00", "DVI", "BTRAN-111", "x1", 3, {2},
            {"F6000104A1010200"});
    asciiCase("DVI BTRAN-888", "DVI", "BTRAN-888", "1", 3, {2}, {"<3,2,V>"});
    asciiCase("DVI CREATEK each output twice", "DVI", "CREATEK", "1", 3, {2, 0, 7},
              {"3V2.", "3V2.", "3V7.", "3V7."});
    asciiCase("DVI CZ-DVI", "DVI", "CZ-DVI", "1", 3, {2}, {"3,2,V"});
    asciiCase("DVI01 output before input", "DVI", "DVI01", "01", 3, {2}, {"0102<03!"});
    asciiCase("DVI02 two digits", "DVI", "DVI02", "01", 3, {2}, {"PV01SW0302NT"});
    asciiCase("DVI02 two digits only below ten", "DVI", "DVI02", "01", 12, {5}, {"PV01SW1205NT"});
    asciiCase("DVI02 input 100 keeps three digits", "DVI", "DVI02", "01", 100, {5}, {"PV01SW10005NT"});
    hexCase("DVI03", "DVI", "DVI03", "1", 3, {2}, {"C8A50601030255AA"});
    asciiCase("DVI04", "DVI", "DVI04", "01", 3, {2}, {"01V03V02"});
    asciiCase("DVI05", "DVI", "DVI05", "01", 3, {2}, {"PD01SW0302NT"});
    hexCase("DVI06 checksum over every byte before it", "DVI", "DVI06", "1", 3, {2},
            {"A5000101020302AE"});
    asciiCase("DVI07", "DVI", "DVI07", "1", 3, {2}, {"3X2."});
    asciiCase("DVI08 sent as characters", "DVI", "DVI08", "1", 3, {2}, {"AA000332FF"});
    asciiCase("DVI08 odd number of characters", "DVI", "DVI08", "1", 3, {12}, {"AA0003312FF"});
    asciiCase("DVI09 output first", "DVI", "DVI09", "1", 3, {2}, {"<swit,2,3>"});
    asciiCase("DVI JC-DVI", "DVI", "JC-DVI", "01", 3, {2}, {"012(3!"});
    hexCase("DVI LANMA", "DVI", "LANMA", "1", 3, {2}, {"FF01050302AA"});
    hexCase("DVI PG_MUL checksum with leading byte", "DVI", "PG_MUL", "1", 3, {2},
            {"BA010104A5010268"});
    hexCase("DVI SDVI0808 checksum without leading byte", "DVI", "SDVI0808", "1", 3, {2},
            {"EB900202010297"});
    hexCase("DVI SISO xor checksum", "DVI", "SISO", "1", 3, {2}, {"F200032202000122"});
    hexCase("DVI SISO input 300 in two bytes", "DVI", "SISO", "1", 300, {3}, {"F2012C220300010D"});
    asciiCase("DVI YJ keeps its last percent", "DVI", "YJ", "1", 3, {2}, {"3*2%"});
    hexCase("SDI CZ-VGA", "SDI", "CZ-VGA", "1", 3, {2}, {"C8AA0003030255AA"});
    hexCase("SDI CZ-DVI is not the DVI row", "SDI", "CZ-DVI", "1", 3, {2}, {"C8AA0003030255AA"});
}

void hdmiCases()
{
    asciiCase("HDMI AE-T first and last output, hex address", "HDMI", "AE-T", "10", 3, {2, 0, 5},
              {"PV0ASW030205"});
    asciiCase("HDMI AE-T first output zero", "HDMI", "AE-T", "1", 3, {0, 4}, {"PV01SW030004"});
    asciiCase("HDMI ANTAI keeps its last percent", "HDMI", "ANTAI", "1", 3, {2}, {"3*2%"});
    asciiCase("HDMI ANTAI2", "HDMI", "ANTAI2", "1", 3, {2}, {"3*2!"});
    asciiCase("HDMI BAK", "HDMI", "BAK", "01", 3, {12}, {"0112<03!"});
    asciiCase("HDMI BTRAN-888", "HDMI", "BTRAN-888", "1", 3, {2}, {"<3,2,V>"});
    asciiCase("HDMI BY-T list without zeros", "HDMI", "BY-T", "1", 3, {1, 0, 4}, {"3V1,4."});
    asciiCase("HDMI BY-T trailing zero", "HDMI", "BY-T", "1", 3, {1, 4, 0}, {"3V1,4."});
    asciiCase("HDMI BY-T empty list", "HDMI", "BY-T", "1", 3, {}, {"3V."});
    asciiCase("HDMI CREATEK same output twice", "HDMI", "CREATEK", "1", 4, {2, 2}, {"4V2.", "4V2."});
    asciiCase("HDMI CREATEK01", "HDMI", "CREATEK01", "1", 3, {2}, {"3V2."});
    asciiCase("HDMI CZ-DVI", "HDMI", "CZ-DVI", "1", 3, {2}, {"3,2,V"});
    hexCase("HDMI01 xor checksum", "HDMI", "HDMI01", "1", 10, {3}, {"F2000A220300002B"});
    asciiCase("HDMI02", "HDMI", "HDMI02", "1", 3, {12}, {"PV1SW0312NT"});
    asciiCase("HDMI03", "HDMI", "HDMI03", "1", 3, {12}, {"PV1SV0312NT"});
    hexCase("HDMI04", "HDMI", "HDMI04", "1", 3, {2}, {"BB040102030255"});
    asciiCase("HDMI05", "HDMI", "HDMI05", "1", 3, {12}, {"PL1SW0312NT"});
    asciiCase("HDMI06", "HDMI", "HDMI06", "1", 3, {2}, {"3X2."});
    hexCase("HDMI07 checksum with leading byte", "HDMI", "HDMI07", "1", 3, {2},
            {"96010104A5010244"});
    hexCase("HDMI08", "HDMI", "HDMI08", "1", 3, {2}, {"4102037B21"});
    hexCase("HDMI09 checksum over three bytes", "HDMI", "HDMI09", "1", 1, {2}, {"F300012202000025"});
    hexCase("HDMI10 outputs one to four", "HDMI", "HDMI10", "1", 1, {1, 2, 3, 4},
            {"6369722030300D0A", "6369722030380D0A", "6369722031300D0A", "6369722031380D0A"});
    hexCase("HDMI10 even output letter", "HDMI", "HDMI10", "1", 3, {2}, {"6369722030610D0A"});
    hexCase("HDMI10 output above four", "HDMI", "HDMI10", "1", 3, {5}, {"0000000000000000"});
    hexCase("HDMI10 input beyond four", "HDMI", "HDMI10", "1", 5, {1}, {"6369722030340D0A"});
    asciiCase("HDMI11", "HDMI", "HDMI11", "01", 3, {12}, {"01V03V12"});
    asciiCase("HDMI12", "HDMI", "HDMI12", "1", 3, {12}, {"PH1SW0312NT"});
    hexCase("HDMI13 fixed frame as five bytes", "HDMI", "HDMI13", "1", 2, {3}, {"0555190677"});
    hexCase("HDMI13 corners of the table", "HDMI", "HDMI13", "1", 4, {1, 4},
            {"0555190D77", "0555195177"});
    hexCase("HDMI13 input outside the table", "HDMI", "HDMI13", "1", 5, {1, 3},
            {"0000000000", "0000000000"});
    hexCase("HDMI14", "HDMI", "HDMI14", "1", 3, {2}, {"A5000101020302AE"});
    hexCase("HDMI15 output character first", "HDMI", "HDMI15", "1", 3, {2}, {"6369722031320D0A"});
    asciiCase("HDMI16 hex frame sent as characters", "HDMI", "HDMI16", "1", 10, {3},
              {"F2000A220300002B"});
    asciiCase("HDMI4K", "HDMI", "HDMI4K", "1", 3, {12}, {"3X12."});
    asciiCase("HDMI-X list without zeros", "HDMI", "HDMI-X", "1", 3, {1, 0, 4}, {"1M3V1,4."});
    asciiCase("HDMI-X empty list", "HDMI", "HDMI-X", "1", 3, {}, {"1M3V."});
    asciiCase("HDMI4K-T list in list order", "HDMI", "HDMI4K-T", "1", 3, {0, 4, 1, 0}, {"3X4&1."});
    hexCase("HDMI IM88 checksum before closing bytes", "HDMI", "IM88", "1", 3, {2},
            {"7B7B01020202F77D7D"});
    asciiCase("HDMI JC-DVI", "HDMI", "JC-DVI", "01", 3, {12}, {"0112(3!"});
    hexCase("HDMI JVZHEN", "HDMI", "JVZHEN", "1", 3, {2}, {"C8A50602030255AA"});
    hexCase("HDMI KINGRODA fixed address", "HDMI", "KINGRODA", "9", 3, {2}, {"A5000101020302AE"});
    asciiCase("HDMI KINGRODA01", "HDMI", "KINGRODA01", "1", 3, {12}, {"3V12."});
    asciiCase("HDMI KINGRODA02", "HDMI", "KINGRODA02", "1", 3, {12}, {"3*12!"});
    hexCase("HDMI LANMA", "HDMI", "LANMA", "1", 3, {2}, {"FF01050302AA"});
    asciiCase("HDMI MAITUO lower-case cell", "HDMI", "MAITUO", "1", 3, {4}, {"00e"});
    asciiCase("HDMI MAITUO cells beyond the grid", "HDMI", "MAITUO", "1", 1, {1, 5}, {"000", "0010"});
    hexCase("HDMI ODT", "HDMI", "ODT", "1", 3, {2}, {"F4032102000026"});
    hexCase("HDMI PG_MUL", "HDMI", "PG_MUL", "1", 3, {2}, {"BA010104A6010269"});
    asciiCase("HDMI QX each output twice", "HDMI", "QX", "1", 4, {2}, {"4X2.", "4X2."});
    hexCase("HDMI SDVI0808", "HDMI", "SDVI0808", "1", 3, {2}, {"EB900202010297"});
    hexCase("HDMI SISO", "HDMI", "SISO", "1", 10, {3}, {"F2000A220300012A"});
    asciiCase("HDMI SX two outputs with a zero", "HDMI", "SX", "1", 4, {2, 0, 5},
              {"4V2.", "4V2.", "4V5.", "4V5."});
    asciiCase("HDMI SVS", "HDMI", "SVS", "1", 3, {12}, {"3,12,Y"});
    hexCase("HDMI TK fixed frame as bytes", "HDMI", "TK", "1", 2, {3},
            {"A55B02030200030000000000F6"});
    hexCase("HDMI TK output outside the table", "HDMI", "TK", "1", 4, {1, 5},
            {"A55B02030400010000000000F6", "00000000000000000000000000"});
}

void vgaCases()
{
    asciiCase("VGA AE-VGA", "VGA", "AE-VGA", "1", 2, {3}, {"1V02V03"});
    asciiCase("VGA AE-VGA-T one text", "VGA", "AE-VGA-T", "1", 2, {3, 4}, {"1VM02TOALL"});
    asciiCase("VGA AE-VGA-T empty list", "VGA", "AE-VGA-T", "1", 2, {}, {"1VM02TOALL"});
    asciiCase("VGA ANTAI", "VGA", "ANTAI", "1", 2, {3}, {"2*3%"});
    asciiCase("VGA ANTAI2", "VGA", "ANTAI2", "1", 2, {3}, {"2G3!"});
    asciiCase("VGA ANTAI3", "VGA", "ANTAI3", "1", 2, {3}, {"2*3!"});
    hexCase("VGA btran-888 nine-byte checksum", "VGA", "btran-888", "1", 2, {3},
            {"F6010106AF02010201B3"});
    asciiCase("VGA CHUANGGAO", "VGA", "CHUANGGAO", "1", 2, {3}, {"2B3."});
    hexCase("VGA CK-VGA", "VGA", "CK-VGA", "1", 2, {3}, {"FF01040203AA"});
    asciiCase("VGA CREATEK one text each", "VGA", "CREATEK", "1", 2, {3}, {"2V3."});
    asciiCase("VGA CZ-VGA", "VGA", "CZ-VGA", "1", 2, {3}, {"2,3,V"});
    asciiCase("VGA Flowvia", "VGA", "Flowvia", "01", 5, {12}, {"PV01SW0512NT"});
    hexCase("VGA LANMA", "VGA", "LANMA", "1", 2, {3}, {"FF01030203AA"});
    hexCase("VGA MK", "VGA", "MK", "1", 2, {3}, {"BB040102020355"});
    hexCase("VGA ODT", "VGA", "ODT", "1", 2, {3}, {"F4022103000026"});
    asciiCase("VGA PC-VGA", "VGA", "PC-VGA", "1", 2, {3}, {"^SWI02003$"});
    asciiCase("VGA PC-VGA input 100", "VGA", "PC-VGA", "1", 100, {7}, {"^SWI0100007$"});
    hexCase("VGA PEARMAIN", "VGA", "PEARMAIN", "1", 2, {3}, {"F601000300021F"});
    hexCase("VGA PEARMAIN input 150", "VGA", "PEARMAIN", "1", 150, {3}, {"F601000301961F"});
    hexCase("VGA PEARMAIN input 255 modulo 255", "VGA", "PEARMAIN", "1", 255, {3},
            {"F601000302001F"});
    hexCase("VGA PG_MUL", "VGA", "PG_MUL", "1", 2, {3}, {"BA010104A0020163"});
    asciiCase("VGA Samplex", "VGA", "Samplex", "01", 10, {9}, {"PV01SW1009NT"});
    hexCase("VGA SISO", "VGA", "SISO", "1", 2, {3}, {"F200022203000122"});
    hexCase("VGA SISO-02", "VGA", "SISO-02", "1", 2, {3}, {"F200022203010123"});
    hexCase("VGA Triolion checksum without leading byte", "VGA", "Triolion", "1", 2, {3},
            {"EB010202020108"});
    hexCase("VGA01", "VGA", "VGA01", "1", 2, {3}, {"96010106A30201020147"});
    hexCase("VGA01 empty list", "VGA", "VGA01", "1", 2, {}, {});
    hexCase("VGA02", "VGA", "VGA02", "1", 2, {3}, {"96010104A0020100"});
    asciiCase("VGA03", "VGA", "VGA03", "1", 2, {3}, {"!1:G2*3~"});
    asciiCase("VGA04 two outputs with a zero", "VGA", "VGA04", "1", 2, {1, 0, 3}, {".2V1.", ".2V3."});
    asciiCase("VGA05", "VGA", "VGA05", "1", 2, {3}, {"*2R3#"});
    hexCase("VGA06", "VGA", "VGA06", "1", 2, {3}, {"BB040102020355"});
    asciiCase("VGA07", "VGA", "VGA07", "1", 2, {3}, {"1I2O3<!"});
    asciiCase("VGA08", "VGA", "VGA08", "1", 2, {3}, {"<2,3,V>"});
    asciiCase("VGA09", "VGA", "VGA09", "01", 2, {3}, {"01V02V03"});
    hexCase("VGA10", "VGA", "VGA10", "1", 2, {3}, {"C8A50603020355AA"});
    asciiCase("VGA11", "VGA", "VGA11", "1", 2, {3}, {"2V3"});
    asciiCase("VGA12", "VGA", "VGA12", "01", 2, {3}, {"01V02M03"});
    hexCase("VGA13", "VGA", "VGA13", "1", 2, {3}, {"96010104A002013F"});
    hexCase("VGA14", "VGA", "VGA14", "1", 2, {3}, {"FF01050203AA"});
    hexCase("VGA3", "VGA", "VGA3", "1", 2, {3}, {"7EFF0203000D"});
    asciiCase("VGA VMW-JCVGA", "VGA", "VMW-JCVGA", "1", 2, {3}, {"13(2!"});
    hexCase("VGA WDK-VGA", "VGA", "WDK-VGA", "1", 2, {3}, {"A5000101030202AE"});
    asciiCase("VGA XM-VGA", "VGA", "XM-VGA", "1", 2, {3}, {"103(02!"});
    hexCase("VGA YJ_VGA", "VGA", "YJ_VGA", "1", 2, {3}, {"C8AA0003020355AA"});
}

void videoCases()
{
    hexCase("VIDEO ACV", "VIDEO", "ACV", "1", 3, {5}, {"F4032105000029"});
    hexCase("VIDEO AE low byte first", "VIDEO", "AE", "1", 300, {2}, {"A52C0181020001B1"});
    asciiCase("VIDEO ANTAI", "VIDEO", "ANTAI", "1", 3, {5}, {"3*5%"});
    asciiCase("VIDEO ANTAI2", "VIDEO", "ANTAI2", "1", 3, {5}, {"3R5!"});
    hexCase("VIDEO AV01", "VIDEO", "AV01", "1", 3, {5}, {"96010106A4040204024E"});
    hexCase("VIDEO AV02 empty address", "VIDEO", "AV02", "", 3, {5}, {"FF00030305AA"});
    hexCase("VIDEO AV03", "VIDEO", "AV03", "1", 3, {5}, {"F803008105000089FF"});
    addCase("VIDEO AV04 mixed frame", "VIDEO", "AV04", "1", 1, {2}, {"0200F010203"},
            {"023030463031303203"});
    asciiCase("VIDEO AV05", "VIDEO", "AV05", "1", 3, {5}, {"*3V5#"});
    hexCase("VIDEO AV06 input less one split", "VIDEO", "AV06", "1", 300, {2}, {"BB01012B010000E9"});
    asciiCase("VIDEO AV07", "VIDEO", "AV07", "1", 3, {5}, {"15<3!"});
    asciiCase("VIDEO AV08", "VIDEO", "AV08", "1", 3, {5}, {"!1:L3*5~"});
    hexCase("VIDEO AV09 two texts per output", "VIDEO", "AV09", "1", 3, {5},
            {"BB020104000000C2", "BB020202000000C1"});
    hexCase("VIDEO AV09 two outputs with zeros", "VIDEO", "AV09", "1", 3, {0, 4, 0, 2},
            {"BB020103000000C1", "BB020202000000C1", "BB020101000000BF", "BB020202000000C1"});
    hexCase("VIDEO BAXALL", "VIDEO", "BAXALL", "1", 3, {5}, {"F30003220500002A"});
    hexCase("VIDEO BTRAN-888", "VIDEO", "BTRAN-888", "1", 3, {5}, {"F6010106AF04020402B9"});
    asciiCase("VIDEO CREATEK", "VIDEO", "CREATEK", "1", 3, {5}, {"3V5."});
    asciiCase("VIDEO CZ-AV", "VIDEO", "CZ-AV", "1", 3, {5}, {"3,5,V"});
    asciiCase("VIDEO flowvia", "VIDEO", "flowvia", "01", 3, {12}, {"PA01SW0312NT"});
    addCase("VIDEO GALAXY mixed frame", "VIDEO", "GALAXY", "1", 1, {2}, {"01AS01V0100T0604"},
            {"0141533031563031303054303604"});
    asciiCase("VIDEO Infinova", "VIDEO", "Infinova", "1", 3, {5}, {"5Ma3#a"});
    hexCase("VIDEO LANMA", "VIDEO", "LANMA", "12", 3, {5}, {"FF0C050305AA"});
    hexCase("VIDEO ODT", "VIDEO", "ODT", "1", 3, {5}, {"F4032105000029"});
    hexCase("VIDEO pangu", "VIDEO", "pangu", "12", 3, {5}, {"BB0C0204"});
    asciiCase("VIDEO PEARMAIN small address", "VIDEO", "PEARMAIN", "007", 2, {3},
              {"N070070030002031000000B"});
    asciiCase("VIDEO PEARMAIN address above nine", "VIDEO", "PEARMAIN", "12", 2, {3},
              {"N120120030002031000000B"});
    hexCase("VIDEO PEARMAIN2 high byte first", "VIDEO", "PEARMAIN2", "1", 300, {2},
            {"F6010102012C1F"});
    asciiCase("VIDEO PELCO counts from zero", "VIDEO", "PELCO", "1", 3, {5}, {"4Ma2#a"});
    hexCase("VIDEO PG_MUL", "VIDEO", "PG_MUL", "1", 3, {5}, {"BA010104A1040267"});
    asciiCase("VIDEO samplex", "VIDEO", "samplex", "01", 3, {12}, {"PA01SW0312NT"});
    hexCase("VIDEO shenshiyin first bank", "VIDEO", "shenshiyin", "1", 100, {3}, {"F6880064030170"});
    hexCase("VIDEO shenshiyin second bank", "VIDEO", "shenshiyin", "1", 200, {3},
            {"F6888048030154"});
    hexCase("VIDEO TIANDY", "VIDEO", "TIANDY", "12", 3, {5}, {"FAFA0C81C0000500030CFDFD"});
    hexCase("VIDEO VINET seven-bit checksum", "VIDEO", "VINET", "1", 12, {10}, {"FC01000B090112"});
    hexCase("VIDEO VINET first pair", "VIDEO", "VINET", "1", 1, {1}, {"FC01000000017E"});
    asciiCase("VIDEO VMW-JCAV", "VIDEO", "VMW-JCAV", "1", 3, {12}, {"112[3!"});
    asciiCase("VIDEO XM-AV", "VIDEO", "XM-AV", "1", 3, {12}, {"112[03!"});
}

// Numbers that do not fit a byte field of a binary frame would shift every
// later byte; such a frame is not built. ASCII rows write what they are given.
void oversizeCases()
{
    hexCase("LANMA output 300 is skipped, the others go", "DVI", "LANMA", "1", 3, {2, 300, 5},
            {"FF01050302AA", "FF01050305AA"});
    hexCase("BTRAN-111 input 0 builds nothing", "DVI", "BTRAN-111", "1", 0, {2, 3}, {});
    hexCase("VGA10 input 300 builds nothing", "VGA", "VGA10", "1", 300, {3}, {});
    hexCase("LANMA address 300 builds nothing", "HDMI", "LANMA", "300", 3, {2}, {});
    hexCase("LANMA negative address builds nothing", "VGA", "LANMA", "-1", 2, {3}, {});
    hexCase("SISO input above four hex digits", "DVI", "SISO", "1", 70000, {2}, {});
    hexCase("PEARMAIN input quotient of three digits", "VGA", "PEARMAIN", "1", 10000, {3}, {});
    hexCase("PEARMAIN largest input that fits", "VGA", "PEARMAIN", "1", 9999, {3},
            {"F601000399361F"});
    hexCase("HDMI10 character code above a byte", "HDMI", "HDMI10", "1", 300, {1}, {});
    hexCase("HDMI10 negative output is skipped", "HDMI", "HDMI10", "1", 3, {-1, 2},
            {"6369722030610D0A"});
    hexCase("shenshiyin input above the second bank", "VIDEO", "shenshiyin", "1", 400, {3}, {});
    addCase("AV04 mixed frame with input 256", "VIDEO", "AV04", "1", 256, {2}, {}, {});
    addCase("GALAXY mixed frame with input 0", "VIDEO", "GALAXY", "1", 0, {2}, {}, {});
    hexCase("AV09 input 0 drops both texts of the output", "VIDEO", "AV09", "1", 0, {5}, {});
    asciiCase("AE-T empty list builds nothing", "HDMI", "AE-T", "1", 3, {}, {});
    asciiCase("AE-T ASCII keeps three hex digits", "HDMI", "AE-T", "300", 3, {2},
              {"PV12CSW030202"});
    asciiCase("HDMI16 ASCII keeps a long input", "HDMI", "HDMI16", "1", 300, {2},
              {"F2012C220200000D"});
}

} // namespace

void TestMatrixSwitch::cleanup()
{
    GlobalObject::matrixOutList = {1};
}

void TestMatrixSwitch::switchCommand_data()
{
    QTest::addColumn<QString>("signalType");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("input");
    QTest::addColumn<QList<int>>("outputs");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("frames");

    dviAndSdiCases();
    hdmiCases();
    vgaCases();
    videoCases();
    oversizeCases();
}

void TestMatrixSwitch::switchCommand()
{
    QFETCH(QString, signalType);
    QFETCH(QString, model);
    QFETCH(QString, address);
    QFETCH(int, input);
    QFETCH(QList<int>, outputs);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, frames);

    GlobalObject::matrixOutList = outputs;
    const QList<QByteArray> result =
        link.switchCommand(MatrixCase::record(signalType, model, address, input));
    MatrixCase::compareCall(link, result, texts, frames);
    QCOMPARE(link.signalType, link.signalTypeIndex(signalType));
}

void TestMatrixSwitch::noTable_data()
{
    QTest::addColumn<QString>("signalType");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("index");

    QTest::newRow("VIDEO2 has no table") << "VIDEO2" << "ANTAI" << 4;
    QTest::newRow("empty signal type") << "" << "ANTAI" << 6;
    QTest::newRow("lower-case signal type") << "vga" << "VGA01" << 6;
    QTest::newRow("model differs in case") << "DVI" << "dvi01" << 0;
    QTest::newRow("Lanma in mixed case") << "DVI" << "Lanma" << 0;
    QTest::newRow("VGA model under DVI") << "DVI" << "btran-888" << 0;
    QTest::newRow("upper-case BTRAN-888 under VGA") << "VGA" << "BTRAN-888" << 2;
    QTest::newRow("VGA Flowvia under VIDEO") << "VIDEO" << "Flowvia" << 3;
    QTest::newRow("SDI has no DVI models") << "SDI" << "DVI01" << 5;
    QTest::newRow("model with a trailing blank") << "HDMI" << "SISO " << 1;
}

void TestMatrixSwitch::noTable()
{
    QFETCH(QString, signalType);
    QFETCH(QString, model);
    QFETCH(int, index);

    GlobalObject::matrixOutList = {1, 2};
    const QList<QByteArray> result = link.switchCommand(MatrixCase::record(signalType, model, "1", 3));
    QVERIFY(result.isEmpty());
    QVERIFY(link.matrixTexts.isEmpty());
    QCOMPARE(link.signalType, index);
}

void TestMatrixSwitch::previousTextsAreDropped()
{
    GlobalObject::matrixOutList = {2, 5};
    QCOMPARE(link.switchCommand(MatrixCase::record("DVI", "ANTAI", "1", 3)).size(), 2);
    QCOMPARE(link.matrixTexts.size(), 2);

    GlobalObject::matrixOutList = {0};
    QVERIFY(link.switchCommand(MatrixCase::record("DVI", "ANTAI", "1", 3)).isEmpty());
    QVERIFY(link.matrixTexts.isEmpty());
    QCOMPARE(link.signalType, 0);
}

// What the matrix tour builds for one (input, output) pair of its ranges.
void TestMatrixSwitch::pairTexts_data()
{
    QTest::addColumn<int>("signalType");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("HDMI13 output 0 gives the zero text") << 1 << "HDMI13" << 2 << 0
                                                         << QStringList{"0000000000"};
    QTest::newRow("HDMI10 output 0 gives nothing") << 1 << "HDMI10" << 1 << 0 << QStringList{};
    QTest::newRow("AV09 pair gives both texts")
        << 3 << "AV09" << 3 << 5 << QStringList{"BB020104000000C2", "BB020202000000C1"};
    QTest::newRow("QX pair twice") << 1 << "QX" << 3 << 12 << QStringList{"3X12.", "3X12."};
    QTest::newRow("AE-T takes the pair's output as first and last")
        << 1 << "AE-T" << 3 << 12 << QStringList{"PV01SW031212"};
}

void TestMatrixSwitch::pairTexts()
{
    QFETCH(int, signalType);
    QFETCH(QString, model);
    QFETCH(int, input);
    QFETCH(int, output);
    QFETCH(QStringList, texts);

    const MatrixCommands::Row *row = MatrixCommands::findSwitchRow(signalType, model);
    QVERIFY(row);
    QCOMPARE(MatrixCommands::pairTexts(*row, "1", input, output), texts);
}

void TestMatrixSwitch::checksum_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("mask");
    QTest::addColumn<QString>("checksum");

    QTest::newRow("sum8 keeps eight bits") << "7F01" << 0 << 0xFF << "80";
    QTest::newRow("xor8") << "7F01" << 1 << 0xFF << "7E";
    QTest::newRow("sum7 keeps seven bits") << "7F01" << 0 << 0x7F << "00";
    QTest::newRow("unknown mode") << "7F01" << 2 << 0xFF << "00";
    QTest::newRow("empty text") << "" << 0 << 0xFF << "00";
    QTest::newRow("bad digits count as -1") << "GG01" << 0 << 0xFF << "F0";
    QTest::newRow("space between pairs") << "7F 01" << 0 << 0xFF << "80";
    QTest::newRow("lone last digit dropped") << "7F0" << 0 << 0xFF << "7F";
    QTest::newRow("one digit result is padded") << "0102" << 0 << 0xFF << "03";
}

void TestMatrixSwitch::checksum()
{
    QFETCH(QString, text);
    QFETCH(int, mode);
    QFETCH(int, mask);
    QFETCH(QString, checksum);

    QCOMPARE(MatrixCommands::checksumText(text, mode, mask), checksum);
}

VW_TEST_MAIN(TestMatrixSwitch)
#include "tst_matrixswitch.moc"
