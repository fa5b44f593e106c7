// Opening and closing the links to the wall and to the matrices.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include "communication.h"
#include "globalobject.h"
#include "messagebox.h"
#include "picturecontrolwindows.h"
#include "portsettingwindows.h"

namespace {

void showMessage(const QString &title, const QString &text)
{
    MessageBox box;
    box.setMessage(title, text);
    box.exec();
}

} // namespace

QString Velmar_Windows::linkStateWord(bool open) const
{
    if (languageIndex)
        return open ? QStringLiteral("开启") : QStringLiteral("关闭");
    return open ? QStringLiteral("Opened") : QStringLiteral("Closed");
}

void Velmar_Windows::showLinkState()
{
    ui->show_comstatus->setText(QStringLiteral("%1%2").arg(portSetWindow->getPortDescription(), portStatusText));
}

void Velmar_Windows::setLinkWidgets(bool open)
{
    pictureControlWindow->setResetEnabled(open);
    // A running tour keeps its Start disabled until it is stopped.
    ui->beginmatrix_btn->setEnabled(open && !matrixWorker);
    ui->beginplan_btn->setEnabled(open && !planWorker);
    ui->port_open_btn->setEnabled(!open);
    ui->port_close_btn->setEnabled(open);
    ui->on_btn->setEnabled(open);
    ui->off_btn->setEnabled(open);
}

bool Velmar_Windows::openMatrixPort(Communication &link, const PortSettingRecord &record, const QString &portName,
                                    std::atomic<bool> &flag)
{
    // A matrix named like the main port shares the main link.
    if (portName == record.lcdPortName)
        return true;
    if (link.openSerialPort(record, portName)) {
        flag = true;
        return true;
    }
    // Nothing this call opened stays open, and no flag claims a port.
    lcdCommunication.closeSerialPort();
    videoMatrixCommunication.closeSerialPort();
    rgbMatrixCommunication.closeSerialPort();
    GlobalObject::videoMatrixPortOpen = false;
    GlobalObject::rgbMatrixPortOpen = false;
    showMessage(tr("Prompt"), tr("Please confirm whether %1 exists or has been occupied!").arg(portName.toUpper()));
    return false;
}

void Velmar_Windows::openSerial()
{
    if (GlobalObject::linkOpen)
        return;
    const PortSettingRecord record = portSetWindow->getPortSetting();

    if (record.wireless != 0) {
        if (!lcdCommunication.connectTcp(record.ipAddress, record.tcpPort)) {
            showMessage(tr("Prompt"), tr("Please confirm that the IP address or port is correct!"));
            return;
        }
        setLinkWidgets(true);
        GlobalObject::linkOpen = true;
        GlobalObject::wirelessMode = true;
        portStatusText = linkStateWord(true);
        showLinkState();
        return;
    }

    if (!lcdCommunication.openSerialPort(record, record.lcdPortName)) {
        videoMatrixCommunication.closeSerialPort();
        rgbMatrixCommunication.closeSerialPort();
        showMessage(tr("Prompt"),
                    tr("Please confirm whether %1 exists or has been occupied!").arg(record.lcdPortName.toUpper()));
        return;
    }

    if (record.videoLink && record.rgbLink && record.videoPortName == record.rgbPortName) {
        lcdCommunication.closeSerialPort();
        showMessage(tr("Warning"), tr("The video matrix port conflicts with the RGB matrix port!"));
        return;
    }
    if (record.videoLink
        && !openMatrixPort(videoMatrixCommunication, record, record.videoPortName,
                           GlobalObject::videoMatrixPortOpen))
        return;
    if (record.rgbLink
        && !openMatrixPort(rgbMatrixCommunication, record, record.rgbPortName, GlobalObject::rgbMatrixPortOpen))
        return;

    setLinkWidgets(true);
    GlobalObject::linkOpen = true;
    GlobalObject::wirelessMode = false;
    portStatusText = linkStateWord(true);
    showLinkState();
}

void Velmar_Windows::closeLinks()
{
    lcdCommunication.closeTcp();
    lcdCommunication.closeSerialPort();
    videoMatrixCommunication.closeSerialPort();
    rgbMatrixCommunication.closeSerialPort();
    GlobalObject::wirelessMode = false;
    GlobalObject::videoMatrixPortOpen = false;
    GlobalObject::rgbMatrixPortOpen = false;
    GlobalObject::linkOpen = false;
    setLinkWidgets(false);
    portStatusText = linkStateWord(false);
    showLinkState();
}

void Velmar_Windows::closeSerial()
{
    closeLinks();
}

void Velmar_Windows::updateComShow()
{
    if (GlobalObject::linkOpen)
        return;
    showLinkState();
}

void Velmar_Windows::linkFailed(QString message)
{
    // One message per failure: the links close first, so the other links'
    // own failures that follow find nothing open and stay silent.
    if (!GlobalObject::linkOpen)
        return;
    closeLinks();
    showMessage(tr("Prompt"), tr("The link to %1 was lost!").arg(message));
}
