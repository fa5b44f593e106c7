#ifndef CONSOLETEST_H
#define CONSOLETEST_H

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

#include <initializer_list>

#include "capturelog.h"
#include "communication.h"
#include "configfile.h"
#include "globalobject.h"
#include "matrixmodels.h"
#include "ptypair.h"

// What the main window's link, command and matrix tests share: the port and
// matrix settings written to config.ini before the window is built (the
// set-up windows load them in their constructors), the shared state put
// back between tests, and reading the wire and the log pane.
namespace ConsoleTest {

struct PortConfig
{
    bool wireless = false;
    QString lcdPort;
    QString videoPort;
    QString rgbPort;
    bool videoLink = false;
    bool rgbLink = false;
    QString address = QStringLiteral("127.0.0.1");
    quint16 tcpPort = 0;
};

inline void writePortConfig(const PortConfig &config)
{
    // The port window offers the names of its stored list and keeps the
    // chosen entry of each box as an index into it.
    QStringList ports;
    for (const QString &name : {config.lcdPort, config.videoPort, config.rgbPort}) {
        if (!name.isEmpty() && !ports.contains(name))
            ports.append(name);
    }
    if (ports.isEmpty())
        ports.append(QStringLiteral("COM1"));

    const auto settings = ConfigFile::open();
    settings->remove(QStringLiteral("PortConfig"));
    settings->beginGroup(QStringLiteral("PortConfig"));
    settings->setValue(QStringLiteral("ConMethod"), config.wireless ? 1 : 0);
    settings->setValue(QStringLiteral("LPort"), ports.indexOf(config.lcdPort));
    settings->setValue(QStringLiteral("VPort"), ports.indexOf(config.videoPort));
    settings->setValue(QStringLiteral("DPort"), ports.indexOf(config.rgbPort));
    settings->setValue(QStringLiteral("VLink"), config.videoLink ? 1 : 0);
    settings->setValue(QStringLiteral("DLink"), config.rgbLink ? 1 : 0);
    settings->setValue(QStringLiteral("Addr"), config.address);
    settings->setValue(QStringLiteral("Port"), QString::number(config.tcpPort));
    settings->setValue(QStringLiteral("AutoOpen"), 0);
    settings->beginWriteArray(QStringLiteral("ComList"), ports.size());
    for (int i = 0; i < ports.size(); ++i) {
        settings->setArrayIndex(i);
        settings->setValue(QStringLiteral("Com"), ports.at(i));
    }
    settings->endArray();
    settings->endGroup();
}

struct MatrixConfig
{
    QString videoModel = QStringLiteral("CREATEK");
    QString vgaModel = QStringLiteral("CREATEK");
    QString dviModel = QStringLiteral("CREATEK");
    QString hdmiModel = QStringLiteral("BY-T");
    int responseTime = 0;
    int intervalTime = 0;
    bool matrixFirst = false;
};

// False when a model is not offered for its signal type.
inline bool writeMatrixConfig(const MatrixConfig &config)
{
    const struct
    {
        const char *type;
        const char *key;
        QString model;
    } models[] = {{"VIDEO", "VideoIndex", config.videoModel},
                  {"VGA", "VgaIndex", config.vgaModel},
                  {"DVI", "DviIndex", config.dviModel},
                  {"HDMI", "HdmiIndex", config.hdmiModel}};

    const auto settings = ConfigFile::open();
    settings->remove(QStringLiteral("MatrixConfig"));
    settings->beginGroup(QStringLiteral("MatrixConfig"));
    for (const auto &model : models) {
        const int index = matrixModelNames(QLatin1String(model.type)).indexOf(model.model);
        if (index < 0)
            return false;
        settings->setValue(QLatin1String(model.key), index);
    }
    settings->setValue(QStringLiteral("VideoId"), QStringLiteral("01"));
    settings->setValue(QStringLiteral("DviId"), QStringLiteral("1"));
    settings->setValue(QStringLiteral("VgaId"), QStringLiteral("1"));
    settings->setValue(QStringLiteral("HdmiId"), QStringLiteral("1"));
    settings->setValue(QStringLiteral("ResponseTime"), config.responseTime);
    settings->setValue(QStringLiteral("IntervalTime"), config.intervalTime);
    settings->setValue(QStringLiteral("priority"), config.matrixFirst ? 1 : 0);
    for (const char *key : {"VideoInputNum", "DviInputNum", "VgaInputNum", "HdmiInputNum"})
        settings->setValue(QLatin1String(key), QStringLiteral("16"));
    settings->endGroup();
    return true;
}

inline void closeAllLinks()
{
    for (Communication *link : {&lcdCommunication, &videoMatrixCommunication, &rgbMatrixCommunication}) {
        link->closeTcp();
        link->closeSerialPort();
    }
    GlobalObject::linkOpen = false;
    GlobalObject::wirelessMode = false;
    GlobalObject::videoMatrixPortOpen = false;
    GlobalObject::rgbMatrixPortOpen = false;
}

// Every test starts as the program does: English, nothing open, screen 11.
inline void resetShared()
{
    QFile::remove(ConfigFile::path());
    QCoreApplication::removeTranslator(&GlobalObject::translatorApp);
    QCoreApplication::removeTranslator(&GlobalObject::translatorQt);
    QCoreApplication::removeTranslator(&GlobalObject::translatorWidgets);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    GlobalObject::locale = QLocale(QLocale::English);
    permissionText = QStringLiteral("User");
    portStatusText = QStringLiteral("Closed");
    GlobalObject::targetAddressList = {QStringLiteral("11")};
    GlobalObject::matrixOutList = {1};
    closeAllLinks();
}

// The main window's child windows and menus have no parent and live as long
// as the program; a test that builds many windows removes them with it.
inline void destroyWindows()
{
    const auto widgets = QApplication::topLevelWidgets();
    for (QWidget *widget : widgets)
        widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// After a test: the window and every other window gone, every link closed,
// the shared state as at start.
template <typename Window>
void endTest(Window *&window)
{
    delete window;
    window = nullptr;
    destroyWindows();
    closeAllLinks();
    resetShared();
}

inline bool startPty(PtyPair &pty)
{
    return pty.start() && pty.openFarEnd();
}

inline void selectCells(QTableWidget *table, int top, int left, int bottom, int right)
{
    table->clearSelection();
    table->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

// Frames written as hex, joined as they travel.
inline QByteArray wire(const QStringList &hexFrames)
{
    QByteArray bytes;
    for (const QString &frame : hexFrames)
        bytes += QByteArray::fromHex(frame.toLatin1());
    return bytes;
}

inline QByteArray asciiWire(std::initializer_list<const char *> texts)
{
    QByteArray bytes;
    for (const char *text : texts)
        bytes += text;
    return bytes;
}

inline QStringList logLines(QTextEdit *edit)
{
    const QString text = edit->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// When the byte at index arrived at the far end, in ms of the log's clock.
inline qint64 arrivalMs(const CaptureLog &log, int index)
{
    qint64 seen = 0;
    for (const CapturedChunk &chunk : log.chunks()) {
        seen += chunk.bytes.size();
        if (index < seen)
            return chunk.atNs / 1000000;
    }
    return -1;
}

} // namespace ConsoleTest

#endif // CONSOLETEST_H
