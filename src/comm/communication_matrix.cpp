#include "communication.h"

#include "globalobject.h"
#include "matrixcommands.h"

namespace {

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
    matrixTexts = MatrixCommands::switchTexts(*row, MatrixCommands::deviceAddress(signalType, rec), rec.value,
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
    matrixTexts = MatrixCommands::sceneTexts(*row, MatrixCommands::deviceAddress(signalType, rec), scene, mode);
    return encodeTexts(*this, row->encoding, matrixTexts);
}
