// Signal switching linked with the matrix, and scene save and recall on the
// wall and on the matrix.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include "communication.h"
#include "globalobject.h"
#include "matrixconfigurationwindows.h"
#include "pacedwait.h"

namespace {

// A scene number goes into the frame as two decimal digits read as one byte.
constexpr int kMaxSceneNumber = 99;

// The VIDEO matrix and the matrix of the other signal types may each have a
// serial port of their own; without one their commands share the main link.
Communication &matrixLink(const QString &signalType)
{
    if (signalType == QLatin1String("VIDEO"))
        return GlobalObject::videoMatrixPortOpen ? videoMatrixCommunication : lcdCommunication;
    return GlobalObject::rgbMatrixPortOpen ? rgbMatrixCommunication : lcdCommunication;
}

// The screen part and the matrix part of a linked command, in the order
// and with the wait between that the matrix settings give.
template<typename Screen, typename Matrix>
void sendLinked(const InstructionRecord &record, Screen screen, Matrix matrix)
{
    if (record.matrixFirst) {
        matrix();
        pacedWait(record.responseTime);
        screen();
    } else {
        screen();
        pacedWait(record.responseTime);
        matrix();
    }
}

} // namespace

void Velmar_Windows::spliceOrMatrix()
{
    // No screen selected: the screen frame has no range and the matrix no
    // output to route, but some models would still build a command that
    // switches every output. Nothing is sent, waited for or re-labelled.
    if (GlobalObject::targetAddressList.isEmpty())
        return;

    const QString code = GlobalObject::instructionHash.value(QStringLiteral("chan_Selec"));
    const QString param = signalParameter();
    const QString signalType = ui->signal_type_cb->currentText();

    // With no matrix input chosen there is nothing to route: the screen
    // command goes as it would without linkage.
    const int input = ui->matrix_type_cb->currentIndex() + 1;
    if (!ui->link_cb->isChecked() || input < 1) {
        emit upDateTWContent();
        sendLcdCommand(code, param, false, 0);
        return;
    }

    const InstructionRecord record =
        matrixSetWindow->getInstructionRecord(signalType, ui->linktitle_lb_2->text(), input);
    sendLinked(
        record,
        [&] {
            sendLcdCommand(code, param, false, 0);
            emit upDateTWContent();
        },
        [&] {
            Communication &link = matrixLink(signalType);
            link.sendData(link.switchCommand(record), record.intervalTime, true);
        });
}

void Velmar_Windows::sendPlanOperation()
{
    const bool save = sender() == ui->save_btn;
    if (!save && sender() != ui->load_btn)
        return;
    const int scene = ui->scene_cb->currentIndex() + 1;
    // No scene chosen, or one whose number would not fit the frame's byte:
    // neither the wall nor the matrix gets anything.
    if (scene < 1 || scene > kMaxSceneNumber)
        return;

    const QString code = GlobalObject::instructionHash.value(save ? QStringLiteral("plan_save")
                                                                 : QStringLiteral("plan_transfer"));
    const QString param = QStringLiteral("%1").arg(scene, 2, 10, QLatin1Char('0'));

    if (!ui->link_cb->isChecked()) {
        sendLcdCommand(code, param, false, 1);
        return;
    }

    const QString signalType = ui->signal_type_cb->currentText();
    const InstructionRecord record = matrixSetWindow->getInstructionRecord(signalType, ui->linktitle_lb_2->text(), 0);
    sendLinked(
        record, [&] { sendLcdCommand(code, param, false, 1); },
        [&] {
            Communication &link = matrixLink(signalType);
            link.sendData(link.sceneCommand(record, scene, save ? 0 : 1), record.intervalTime, true);
        });
}

void Velmar_Windows::sendPlanCom(QString d5)
{
    // A tour step is paced by the tour itself: no wait after the frame.
    sendLcdCommand(GlobalObject::instructionHash.value(QStringLiteral("plan_transfer")), d5, false, 1, 0);
}

void Velmar_Windows::sendMatrixCom(QList<QString> matrixComList, int type, int signal, int msec)
{
    Communication *link = &lcdCommunication;
    if (signal == 0 && GlobalObject::rgbMatrixPortOpen)
        link = &rgbMatrixCommunication;
    else if (signal != 0 && GlobalObject::videoMatrixPortOpen)
        link = &videoMatrixCommunication;
    const QList<QByteArray> frames = type == 0   ? link->hexListToBytes(matrixComList)
                                     : type == 1 ? link->asciiListToBytes(matrixComList)
                                                 : link->mixedListToBytes(matrixComList);
    // After the close not one more frame of a step: the program is ending.
    link->sendMatrixData(frames, matrixComList, msec, [this] { return !closed; });
}
