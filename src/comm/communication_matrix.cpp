#include "communication.h"

#include "globalobject.h"
#include "matrixcommands.h"

namespace {

// The device address a signal type's rows carry; SDI rows carry none.
QString matrixAddress(int signalType, const InstructionRecord &rec)
{
    switch (signalType) {
    case 0:
        return rec.dviId;
    case 1:
        return rec.hdmiId;
    case 2:
        return rec.vgaId;
    case 3:
        return rec.videoId;
    default:
        return QString();
    }
}

// One converter for all texts of a call; frame i is text i converted, so
// the echo of the sender pairs them one to one.
QList<QByteArray> encodeTexts(Communication &link, MatrixCommands::Encoding encoding,
                                     const QList<QString> &texts)
{
    switch (encoding) {
    case MatrixCommands::Encoding::Hex:
        return link.hexListToBytes(texts);
    case MatrixCommands::Encoding::Mixed:
        return link.mixedListToBytes(texts);
    case MatrixCommands::Encoding::Ascii:
        break;
    }
    return link.asciiListToBytes(texts);
}

} // namespace

QList<QByteArray> Communication::switchCommand(InstructionRecord rec)
{
    matrixTexts.clear();
    signalType = signalTypeIndex(rec.signalType);
    const MatrixCommands::Row *row = MatrixCommands::findSwitchRow(signalType, rec.model);
    if (!row)
        return asciiListToBytes(matrixTexts);
    matrixTexts = MatrixCommands::switchTexts(*row, matrixAddress(signalType, rec), rec.value,
                                              GlobalObject::matrixOutList);
    return encodeTexts(*this, row->encoding, matrixTexts);
}

QList<QByteArray> Communication::sceneCommand(InstructionRecord rec, int scene, int mode)
{
    matrixTexts.clear();
    signalType = signalTypeIndex(rec.signalType);
    const MatrixCommands::SceneRow *row = MatrixCommands::findSceneRow(signalType, rec.model);
    if (!row)
        return asciiListToBytes(matrixTexts);
    matrixTexts = MatrixCommands::sceneTexts(*row, matrixAddress(signalType, rec), scene, mode);
    return encodeTexts(*this, row->encoding, matrixTexts);
}
