#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTest>

#include "appinit.h"
#include "globalobject.h"
#include "messagebox.h"
#include "testmain.h"

namespace {

const QString blueSkin = QStringLiteral(":/qss/staticfile/qss/blue.css");
const QString blackSkin = QStringLiteral(":/qss/staticfile/qss/black.css");

QString writeSheet(const QString &name, const QByteArray &content)
{
    const QString path = appDirPath + QLatin1Char('/') + name;
    QFile file(path);
    file.open(QFile::WriteOnly);
    file.write(content);
    return path;
}

QColor paletteButton()
{
    return QApplication::palette().color(QPalette::Button);
}

} // namespace

class TestStyleAndLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startGivesFontBlueSkinAndItsPalette();
    void skinsAreCrlfAsciiWithTheirColourFirst_data();
    void skinsAreCrlfAsciiWithTheirColourFirst();
    void paletteComesFromCharacters20To26Only();
    void sheetEndsAtTheFirstZeroByte();
    void blackThenBlueGivesTheStartState();
    void missingSheetChangesNothing();
    void chineseInstallsThreeTranslatorsAndRetextsMessageBox();
    void englishAgainRemovesThem();
    void labelImageIsStretchedToTheLabel();
    void unreadablePictureLeavesTheLabelEmpty();

private:
    AppInit *init = nullptr;
    QString startSheet;
    QPalette startPalette;
};

void TestStyleAndLanguage::initTestCase()
{
    init = new AppInit(this);
    init->start();
    startSheet = qApp->styleSheet();
    startPalette = QApplication::palette();
}

void TestStyleAndLanguage::startGivesFontBlueSkinAndItsPalette()
{
    QCOMPARE(QApplication::font().family(), QStringLiteral("Microsoft YaHei"));
    QCOMPARE(QApplication::font().pointSize(), 9);
    QVERIFY(startSheet.startsWith(QStringLiteral("QPalette{background:#E3EFFF;}")));
    QCOMPARE(paletteButton(), QColor(QStringLiteral("#E3EFFF")));
    QCOMPARE(GlobalObject::locale.language(), QLocale::English);
    QCOMPARE(appDirPath, QApplication::applicationDirPath());
}

void TestStyleAndLanguage::skinsAreCrlfAsciiWithTheirColourFirst_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("colour");
    QTest::newRow("blue") << blueSkin << "#E3EFFF";
    QTest::newRow("black") << blackSkin << "#E6E6E6";
}

void TestStyleAndLanguage::skinsAreCrlfAsciiWithTheirColourFirst()
{
    QFETCH(QString, path);
    QFETCH(QString, colour);
    QFile file(path);
    QVERIFY(file.open(QFile::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.size() > 8000);
    QCOMPARE(QString::fromLatin1(bytes.mid(20, 7)), colour);
    for (char c : bytes)
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, "skin is not ASCII");
    QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
    for (const char *selector : {"QWidget#widget_title", "QWidget#widget_main", "QLabel#label_title",
                                 "QLabel#title_ico", "QPushButton:pressed", "QGroupBox",
                                 "QTableView::item:selected", "QPushButton#close_pbtn",
                                 "[subbtn=\"true\"]", "[addbtn=\"true\"]", "botton_tabwidget",
                                 "matr_tabWidget", "picAdjustTabWidget", "sliderImage.png",
                                 "downarrow.png", "QScrollBar:vertical", "color_widget", "QMenu",
                                 "QToolButton", "QHeaderView", "QFontDialog", "QCheckBox",
                                 "QRadioButton", "QLineEdit", "QTextEdit"})
        QVERIFY2(bytes.contains(selector), selector);
}

void TestStyleAndLanguage::paletteComesFromCharacters20To26Only()
{
    const QString path = writeSheet(QStringLiteral("other.css"),
                                    "QPalette{background:#123456;}\r\nQWidget{background:#ABCDEF;}\r\n");
    GlobalObject::setStyle(path);
    QCOMPARE(paletteButton(), QColor(QStringLiteral("#123456")));
    QVERIFY(qApp->styleSheet().contains(QStringLiteral("#ABCDEF")));
    GlobalObject::setStyle(blueSkin);
}

void TestStyleAndLanguage::sheetEndsAtTheFirstZeroByte()
{
    QByteArray content("QPalette{background:#102030;}");
    content.append('\0');
    content.append("QWidget{color:red;}");
    GlobalObject::setStyle(writeSheet(QStringLiteral("zero.css"), content));
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QPalette{background:#102030;}"));
    GlobalObject::setStyle(blueSkin);
}

void TestStyleAndLanguage::blackThenBlueGivesTheStartState()
{
    GlobalObject::setStyle(blackSkin);
    QCOMPARE(paletteButton(), QColor(QStringLiteral("#E6E6E6")));
    QVERIFY(qApp->styleSheet() != startSheet);
    GlobalObject::setStyle(blueSkin);
    QCOMPARE(qApp->styleSheet(), startSheet);
    QCOMPARE(QApplication::palette(), startPalette);
}

void TestStyleAndLanguage::missingSheetChangesNothing()
{
    GlobalObject::setStyle(blackSkin);
    const QString sheet = qApp->styleSheet();
    const QPalette palette = QApplication::palette();
    GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/missing.css"));
    QCOMPARE(qApp->styleSheet(), sheet);
    QCOMPARE(QApplication::palette(), palette);
    GlobalObject::setStyle(blueSkin);
}

void TestStyleAndLanguage::chineseInstallsThreeTranslatorsAndRetextsMessageBox()
{
    MessageBox box;
    box.setMessage(QStringLiteral("Prompt"), QStringLiteral("text"));
    auto *ok = box.findChild<QPushButton *>(QStringLiteral("ok"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));

    GlobalObject::loadChineseTranslators();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);

    QCOMPARE(GlobalObject::locale.language(), QLocale::Chinese);
    QVERIFY(!GlobalObject::translatorQt.isEmpty());
    QVERIFY(!GlobalObject::translatorApp.isEmpty());
    QVERIFY(!GlobalObject::translatorWidgets.isEmpty());
    QCOMPARE(ok->text(), QStringLiteral("确定"));
    // Re-texting clears what setMessage gave.
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("label_title"))->text(), QString());
    QCOMPARE(box.findChild<QLabel *>(QStringLiteral("text_lb"))->text(), QString());
    QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "Select All"), QStringLiteral("全选"));
    // Qt's own catalogue is really there, not an empty index file.
    QVERIFY(QCoreApplication::translate("QFileDialog", "Open") != QStringLiteral("Open"));
}

void TestStyleAndLanguage::englishAgainRemovesThem()
{
    GlobalObject::locale = QLocale(QLocale::English);
    QCoreApplication::removeTranslator(&GlobalObject::translatorApp);
    QCoreApplication::removeTranslator(&GlobalObject::translatorQt);
    QCoreApplication::removeTranslator(&GlobalObject::translatorWidgets);
    QCOMPARE(QCoreApplication::translate("MessageBox", "OK"), QStringLiteral("OK"));
    QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "Select All"), QStringLiteral("Select All"));
    MessageBox box;
    QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("ok"))->text(), QStringLiteral("OK"));
}

void TestStyleAndLanguage::labelImageIsStretchedToTheLabel()
{
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString path = appDirPath + QStringLiteral("/logo.png");
    QVERIFY(image.save(path));
    QLabel label;
    label.resize(200, 200);
    GlobalObject::setLabelImage(&label, path);
    QVERIFY(label.hasScaledContents());
    QCOMPARE(label.pixmap(Qt::ReturnByValue).size(), QSize(200, 200));
}

void TestStyleAndLanguage::unreadablePictureLeavesTheLabelEmpty()
{
    QLabel label;
    label.resize(50, 50);
    GlobalObject::setLabelImage(&label, appDirPath + QStringLiteral("/nothing.jpg"));
    QVERIFY(label.pixmap(Qt::ReturnByValue).isNull());
    // The default logo is embedded and readable.
    GlobalObject::setLabelImage(&label, userImagePath);
    QCOMPARE(label.pixmap(Qt::ReturnByValue).size(), QSize(50, 50));
}

VW_TEST_MAIN(TestStyleAndLanguage)
#include "tst_styleandlanguage.moc"
