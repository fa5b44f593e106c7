#include "matrixmodels.h"

namespace {

struct ModelList
{
    const char *signalType;
    QStringList names;
};

} // namespace

QStringList matrixModelNames(const QString &signalType)
{
    // Near names stay apart on purpose: "btran-888", "Flowvia" and "Samplex"
    // of the VGA list are other models than "BTRAN-888", "flowvia" and
    // "samplex", and "VGA3" is not "VGA03".
    static const ModelList lists[] = {
        {"VIDEO",
         {"ACV", "AE", "ANTAI", "ANTAI2", "AV01", "AV02", "AV03", "AV04", "AV05", "AV06", "AV07",
          "AV08", "AV09", "BAXALL", "BTRAN-888", "CREATEK", "CZ-AV", "flowvia", "GALAXY",
          "Infinova", "LANMA", "ODT", "pangu", "PEARMAIN", "PEARMAIN2", "PELCO", "PG_MUL",
          "samplex", "shenshiyin", "TIANDY", "VINET", "VMW-JCAV", "XM-AV"}},
        {"VGA",
         {"AE-VGA", "AE-VGA-T", "ANTAI", "ANTAI2", "ANTAI3", "btran-888", "CHUANGGAO", "CK-VGA",
          "CREATEK", "CZ-VGA", "Flowvia", "LANMA", "MK", "ODT", "PC-VGA", "PEARMAIN", "PG_MUL",
          "Samplex", "SISO", "SISO-02", "Triolion", "VGA01", "VGA02", "VGA03", "VGA04", "VGA05",
          "VGA06", "VGA07", "VGA08", "VGA09", "VGA10", "VGA11", "VGA12", "VGA13", "VGA14", "VGA3",
          "VMW-JCVGA", "WDK-VGA", "XM-VGA", "YJ_VGA"}},
        {"DVI",
         {"ANTAI", "BTRAN-111", "BTRAN-888", "CREATEK", "CZ-DVI", "DVI01", "DVI02", "DVI03",
          "DVI04", "DVI05", "DVI06", "DVI07", "DVI08", "DVI09", "JC-DVI", "LANMA", "PG_MUL",
          "SDVI0808", "SISO", "YJ"}},
        {"HDMI",
         {"AE-T", "ANTAI", "ANTAI2", "BAK", "BTRAN-888", "BY-T", "CREATEK", "CREATEK01", "CZ-DVI",
          "HDMI01", "HDMI02", "HDMI03", "HDMI04", "HDMI05", "HDMI06", "HDMI07", "HDMI08", "HDMI09",
          "HDMI10", "HDMI11", "HDMI12", "HDMI13", "HDMI14", "HDMI15", "HDMI16", "HDMI-X", "HDMI4K",
          "HDMI4K-T", "IM88", "JC-DVI", "JVZHEN", "KINGRODA", "KINGRODA01", "KINGRODA02", "LANMA",
          "MAITUO", "ODT", "PG_MUL", "QX", "SDVI0808", "SISO", "SVS", "SX", "TK"}},
        {"SDI", {"CZ-VGA", "CZ-DVI"}},
    };
    for (const ModelList &list : lists) {
        if (signalType == QLatin1String(list.signalType))
            return list.names;
    }
    return {};
}
