#ifndef WINDOWTEST_H
#define WINDOWTEST_H

#include "configfile.h"
#include "savedconfig.h"
#include "formfields.h"
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

inline QStringList items(QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

// config.ini exactly as given, read by the next window as at a start; or,
// not at a start, written by another hand while the console runs.
inline bool writeConfig(const QByteArray &text, bool atStart = true)
{
    if (atStart)
        ConfigFile::readAgain();
    QFile file(ConfigFile::path());
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text) == text.size() && file.flush();
}

// config.ini as it is on the disk now.
inline QByteArray readConfig()
{
    QFile file(ConfigFile::path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program's own windows of that class (the console builds one of each,
// two rename windows).
inline QList<QWidget *> windowsOf(const QString &className)
{
    QList<QWidget *> windows;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (!top->parentWidget() && className == QLatin1String(top->metaObject()->className()))
            windows.append(top);
    return windows;
}

inline QWidget *onlyWindowOf(const QString &className)
{
    const QList<QWidget *> windows = windowsOf(className);
    if (windows.size() != 1)
        qFatal("%d windows of class %s", int(windows.size()), qPrintable(className));
    return windows.first();
}

// A click where the operator's lands: on the indicator of a check box or a
// radio button, which may stand far from the middle of a wide one.
inline void clickByHand(QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    QPoint at = button->rect().center();
    if (qobject_cast<QCheckBox *>(button))
        at = button->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, button).center();
    else if (qobject_cast<QRadioButton *>(button))
        at = button->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, button).center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
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

// [PortConfig] as the port window keeps it: the main, video and RGB ports
// (in that order) as the stored list, each box's entry an index into it; a
// bridge port makes the link wireless, to the local host.
inline void writePortConfig(const QStringList &ports, bool videoLink = false, bool rgbLink = false,
                            quint16 bridgePort = 0)
{
    const auto settings = ConfigFile::open();
    settings->remove(QStringLiteral("PortConfig"));
    settings->beginGroup(QStringLiteral("PortConfig"));
    const std::pair<const char *, QVariant> values[] = {
        {"ConMethod", bridgePort ? 1 : 0}, {"LPort", ports.indexOf(ports.value(0))},
        {"VPort", ports.indexOf(ports.value(1))}, {"DPort", ports.indexOf(ports.value(2))}, {"VLink", int(videoLink)},
        {"DLink", int(rgbLink)}, {"Addr", "127.0.0.1"}, {"Port", QString::number(bridgePort)}, {"AutoOpen", 0}};
    for (const auto &value : values)
        settings->setValue(QLatin1String(value.first), value.second);
    settings->beginWriteArray(QStringLiteral("ComList"));
    for (int i = 0; i < ports.size(); ++i) {
        settings->setArrayIndex(i);
        settings->setValue(QStringLiteral("Com"), ports.at(i));
    }
    settings->endArray();
    settings->endGroup();
    ConfigFile::save(*settings);
}

// The matrix models for VIDEO, VGA, DVI and HDMI, and the waits.
struct MatrixConfig
{
    QStringList models{"CREATEK", "CREATEK", "CREATEK", "BY-T"};
    int responseTime = 0;
    int intervalTime = 0;
    bool matrixFirst = false;
};

// False when a model is not offered for its signal type.
inline bool writeMatrixConfig(const MatrixConfig &config)
{
    const auto settings = ConfigFile::open();
    settings->remove(QStringLiteral("MatrixConfig"));
    settings->beginGroup(QStringLiteral("MatrixConfig"));
    const QStringList types{"VIDEO", "VGA", "DVI", "HDMI"};
    for (int i = 0; i < types.size(); ++i) {
        const int index = matrixModelNames(types[i]).indexOf(config.models.value(i));
        if (index < 0)
            return false;
        const QString key = types[i].left(1) + types[i].mid(1).toLower(); // "Video", "Vga", ...
        settings->setValue(key + "Index", index);
        settings->setValue(key + "InputNum", "16");
        settings->setValue(key + "Id", i ? "1" : "01");
    }
    settings->setValue(QStringLiteral("ResponseTime"), config.responseTime);
    settings->setValue(QStringLiteral("IntervalTime"), config.intervalTime);
    settings->setValue(QStringLiteral("priority"), config.matrixFirst ? 1 : 0);
    settings->endGroup();
    return ConfigFile::save(*settings);
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
    QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
    for (QTranslator *t : {&GlobalObject::translatorApp, &GlobalObject::translatorQt, &GlobalObject::translatorWidgets})
        QCoreApplication::removeTranslator(t);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    GlobalObject::locale = QLocale(QLocale::English);
    permissionText = QStringLiteral("User");
    portStatusText = QStringLiteral("Closed");
    userName = QStringLiteral("Large-screen software");
    userImagePath = QStringLiteral(":/images/staticfile/images/logo.jpg");
    GlobalObject::forgetLabelImages();
    GlobalObject::targetAddressList = {QStringLiteral("11")};
    GlobalObject::matrixOutList = {1};
    closeAllLinks();
}

template <typename Window>
void endTest(Window *&window)
{
    delete std::exchange(window, nullptr);
    // Child windows and menus of the main window have no parent: delete them
    // all (hiding them costs seconds). A top-level widget with a parent, such
    // as a combo box's popup, goes with its parent: deleted first, it would
    // leave the combo box to hide freed memory when its window is deleted.
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (!widget->parentWidget())
            widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    resetShared();
}


inline void selectCells(QTableWidget *table, int top, int left, int bottom, int right)
{
    table->clearSelection();
    table->setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
}

// Frames written as hex, joined as they travel.
inline QByteArray wire(const QStringList &hexFrames) { return QByteArray::fromHex(hexFrames.join(QString()).toLatin1()); }

} // namespace WindowTest

#endif // WINDOWTEST_H
