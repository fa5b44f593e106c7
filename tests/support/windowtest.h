#ifndef WINDOWTEST_H
#define WINDOWTEST_H

#include "configfile.h"
#include "goldenrows.h"
#include "matrixmodels.h"
#include "messageboxcatcher.h"
#include "ptypair.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

// What every window test shares: config.ini written before a window is
// built (windows load their group in the constructor), the shared state put
// back and every window deleted between tests, reaching widgets by name,
// and reading the wire and the log pane.
namespace WindowTest {

template <typename T>
T *child(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

inline QStringList items(QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

// What the edit's validator says of a text typed into it.
inline int validation(QLineEdit *edit, QString text)
{
    int pos = 0;
    return int(edit->validator()->validate(text, pos));
}

// config.ini exactly as given. QSettings reads a file again only when its
// size or time changed: each write gets a time of its own, or a file of the
// same size written in the same millisecond reads as the one before.
inline bool writeConfig(const QByteArray &text)
{
    static int writes = 0;
    QFile file(ConfigFile::path());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size() && file.flush()
           && file.setFileTime(QDateTime::currentDateTime().addSecs(++writes), QFileDevice::FileModificationTime);
}

// Runs step while the Chinese catalogue is installed; false when it does not load.
template <typename Step>
bool inChinese(Step step)
{
    QTranslator chinese;
    if (!chinese.load(QStringLiteral(":/translate/staticfile/qm/Translate_CN.qm")))
        return false;
    QCoreApplication::installTranslator(&chinese);
    QCoreApplication::processEvents();
    step();
    QCoreApplication::removeTranslator(&chinese);
    QCoreApplication::processEvents();
    return true;
}

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
    // The port window keeps each box's entry as an index into its stored list.
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
    const std::pair<const char *, QVariant> values[] = {
        {"ConMethod", config.wireless ? 1 : 0}, {"LPort", ports.indexOf(config.lcdPort)},
        {"VPort", ports.indexOf(config.videoPort)}, {"DPort", ports.indexOf(config.rgbPort)},
        {"VLink", config.videoLink ? 1 : 0}, {"DLink", config.rgbLink ? 1 : 0}, {"Addr", config.address},
        {"Port", QString::number(config.tcpPort)}, {"AutoOpen", 0}};
    for (const auto &value : values)
        settings->setValue(QLatin1String(value.first), value.second);
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
    const QStringList models[] = {{"VIDEO", "VideoIndex", config.videoModel},
                                  {"VGA", "VgaIndex", config.vgaModel},
                                  {"DVI", "DviIndex", config.dviModel},
                                  {"HDMI", "HdmiIndex", config.hdmiModel}};
    const auto settings = ConfigFile::open();
    settings->remove(QStringLiteral("MatrixConfig"));
    settings->beginGroup(QStringLiteral("MatrixConfig"));
    for (const QStringList &model : models) {
        const int index = matrixModelNames(model.at(0)).indexOf(model.at(2));
        if (index < 0)
            return false;
        settings->setValue(model.at(1), index);
    }
    const std::pair<const char *, QVariant> values[] = {
        {"VideoId", "01"}, {"DviId", "1"}, {"VgaId", "1"}, {"HdmiId", "1"}, {"ResponseTime", config.responseTime},
        {"IntervalTime", config.intervalTime}, {"priority", config.matrixFirst ? 1 : 0}, {"VideoInputNum", "16"},
        {"DviInputNum", "16"}, {"VgaInputNum", "16"}, {"HdmiInputNum", "16"}};
    for (const auto &value : values)
        settings->setValue(QLatin1String(value.first), value.second);
    settings->endGroup();
    return true;
}

inline void closeAllLinks()
{
    for (Communication *link : {&lcdCommunication, &videoMatrixCommunication, &rgbMatrixCommunication}) {
        link->closeTcp();
        link->closeSerialPort();
    }
    GlobalObject::linkOpen = GlobalObject::wirelessMode = false;
    GlobalObject::videoMatrixPortOpen = GlobalObject::rgbMatrixPortOpen = false;
}

// Every test starts as the program does: English, nothing open, screen 11.
inline void resetShared()
{
    QFile::remove(ConfigFile::path());
    for (QTranslator *t : {&GlobalObject::translatorApp, &GlobalObject::translatorQt, &GlobalObject::translatorWidgets})
        QCoreApplication::removeTranslator(t);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    GlobalObject::locale = QLocale(QLocale::English);
    permissionText = QStringLiteral("User");
    portStatusText = QStringLiteral("Closed");
    userName = QStringLiteral("Large-screen software");
    userImagePath = QStringLiteral(":/images/staticfile/images/logo.jpg");
    GlobalObject::targetAddressList = {QStringLiteral("11")};
    GlobalObject::matrixOutList = {1};
    closeAllLinks();
}

template <typename Window>
void endTest(Window *&window)
{
    delete window;
    window = nullptr;
    // Child windows and menus of the main window have no parent: delete them
    // all (hiding them costs seconds).
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    resetShared();
}

inline bool startPty(PtyPair &pty) { return pty.start() && pty.openFarEnd(); }

inline void selectCells(QTableWidget *table, int top, int left, int bottom, int right)
{
    table->clearSelection();
    table->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

// Frames written as hex, joined as they travel.
inline QByteArray wire(const QStringList &hexFrames) { return QByteArray::fromHex(hexFrames.join(QString()).toLatin1()); }

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

} // namespace WindowTest

#endif // WINDOWTEST_H
