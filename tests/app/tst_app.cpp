#include "appinit.h"
#include "configfile.h"
#include "savedconfig.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "heldtext.h"
#include "logofiles.h"
#include "messagebox.h"
#include "testmain.h"
#include "warningsof.h"

// The application frame: config.ini groups, skins, translations, the
// message box and the drag filter of frameless windows.
class TestApp : public QObject
{
    Q_OBJECT

    QWidget window;
    int reached = 0; // mouse events that got past the drag filter

    void mouse(QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        const QPointF local = global - window.pos();
        QMouseEvent event(type, local, local, global, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&window, &event);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        reached += event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease
                   || event->type() == QEvent::MouseMove;
        return false;
    }

    // The colour a label shows at its middle; empty while it shows nothing.
    static QString shownColour(const QLabel &label)
    {
        const QImage shown = label.pixmap(Qt::ReturnByValue).toImage();
        return shown.isNull() ? QString() : shown.pixelColor(shown.width() / 2, shown.height() / 2).name();
    }

private slots:
    void initTestCase()
    {
        (new AppInit(this))->start();
        appDirPath = QDir::currentPath(); // the test's own folder, not the build's
        window.installEventFilter(this);
    }

    // Skins, translations and the message box: centred, re-texted in Chinese
    // and closed by Ctrl+S.
    void skinsTranslationsAndMessageBox()
    {
        const QString start = qApp->styleSheet();
        QVERIFY(start.startsWith(QStringLiteral("QPalette{background:#E3EFFF;}")));
        // The palette comes from characters 20..26; the sheet ends at a zero byte.
        QFile sheet(appDirPath + QStringLiteral("/zero.css"));
        QVERIFY(sheet.open(QFile::WriteOnly) && sheet.write("QPalette{background:#102030;}\0QWidget{}", 40) == 40);
        sheet.close();
        GlobalObject::setStyle(sheet.fileName());
        QCOMPARE(QApplication::palette().color(QPalette::Button), QColor(QStringLiteral("#102030")));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QPalette{background:#102030;}"));
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/missing.css"));
        QCOMPARE(QApplication::palette().color(QPalette::Button), QColor(QStringLiteral("#102030")));
        GlobalObject::setStyle(QStringLiteral(":/qss/staticfile/qss/blue.css"));
        QCOMPARE(qApp->styleSheet(), start);
        MessageBox box;
        // Its close button shows the picture every window's close button shows.
        const QImage closing = QApplication::style()->standardPixmap(QStyle::SP_TitleBarCloseButton).toImage();
        QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("close_pbtn"))->icon().pixmap(closing.size()).toImage(), closing);
        const QRect desktop = QGuiApplication::primaryScreen()->virtualGeometry();
        QCOMPARE(box.pos(), QPoint(desktop.width() / 2 - box.width() / 2, desktop.height() / 2 - box.height() / 2));
        // The one check that the merged catalogue and Qt's own load.
        QVERIFY(GlobalObject::loadChineseTranslators());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(box.findChild<QPushButton *>(QStringLiteral("ok"))->text(), QStringLiteral("确定"));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "Select All"), QStringLiteral("全选"));
        // Qt's own texts: a line edit's menu and a standard button.
        QLineEdit edit; // the menu's parent
        QCOMPARE(edit.createStandardContextMenu()->actions().first()->text().left(2), QStringLiteral("撤消"));
        QCOMPARE(QDialogButtonBox(QDialogButtonBox::Cancel).buttons().first()->text(), QStringLiteral("取消"));
        for (QTranslator *t : {&GlobalObject::translatorApp, &GlobalObject::translatorQt, &GlobalObject::translatorWidgets})
            QCoreApplication::removeTranslator(t);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QTest::keyClick(&box, Qt::Key_S, Qt::ControlModifier);
        QTRY_VERIFY(!box.isVisible());
    }

    // A config.ini up to the bound is read and saved as any other; one byte
    // more and it is neither read nor written, named in one warning line
    // however many windows open the settings.
    void configSize_data() { goldenRows(QStringLiteral("configsize.tsv")); }
    void configSize()
    {
        const QByteArray head = "[MainSetting]\nRow=3\nUsername=";
        QByteArray bytes = head + QByteArray(int(ConfigFile::maxBytes - head.size() - 1), 'x') + '\n';
        bytes.append(QByteArray(golden("pastBound").toInt(), 'y'));
        QFile file(ConfigFile::path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        ConfigFile::readAgain(); // a start
        bool hasGroup = false;
        QString row;
        const QString warnings = warningsOf([&] {
            hasGroup = ConfigFile::hasGroup(QStringLiteral("MainSetting"));
            row = ConfigFile::open()->value(QStringLiteral("MainSetting/Row")).toString();
            saveConfigValue(QStringLiteral("MainSetting/Skin"), 1);
        });
        QCOMPARE(QString("%1 %2").arg(hasGroup ? "group" : "no group", row.isEmpty() ? "-" : row), golden("read"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() == bytes ? "untouched" : "saved", golden("file"));
        file.close();
        QVERIFY(!QFile::exists(ConfigFile::path() + QStringLiteral(".lock")));
        QCOMPARE(warnings, golden("warnings").replace("%FILE%", ConfigFile::path()));
        QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
    }

    // A save whose rewrite would pass the bound leaves out what the console
    // does not keep, so that the next start reads what the save wrote; with
    // room, nothing is left out. The file: the console's [MainSetting] and
    // then the row's foreign text, repeated up to size bytes when it holds
    // "%N%" (its number), then filled up to them with fill.
    void saveWithinBound_data() { goldenRows(QStringLiteral("configbound.tsv")); }
    void saveWithinBound()
    {
        const QByteArray foreign = golden("foreign").replace(QStringLiteral("\\n"), QStringLiteral("\n")).toUtf8();
        const QByteArray fill = golden("fill").toUtf8();
        const int size = golden("size").toInt();
        QByteArray bytes = "[MainSetting]\nRow=3\n" + QByteArray(foreign).replace("%N%", "0");
        for (int n = 1; foreign.contains("%N%") && bytes.size() + foreign.size() + 8 < size; ++n)
            bytes += QByteArray(foreign).replace("%N%", QByteArray::number(n));
        while (!fill.isEmpty() && bytes.size() + fill.size() < size)
            bytes += fill;
        QFile file(ConfigFile::path());
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes + '\n') == bytes.size() + 1);
        file.close();
        ConfigFile::readAgain(); // a start
        bool landed = false;
        const QString warnings = warningsOf([&landed] {
            {
                const ConfigFile::HeldSaves close; // two windows of a close
                saveConfigValue(QStringLiteral("MainSetting/Skin"), 1);
                saveConfigValue(QStringLiteral("MainSetting/Column"), 4);
            }
            landed = ConfigFile::save(*ConfigFile::open());
        });
        QVERIFY(QFileInfo(ConfigFile::path()).size() <= ConfigFile::maxBytes);
        ConfigFile::readAgain(); // the next start
        const auto settings = ConfigFile::open();
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(settings->value("MainSetting/Row").toString(),
                                                settings->value("MainSetting/Column", "-").toString(),
                                                settings->value("MainSetting/Skin", "-").toString()),
                 golden("read"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        file.close();
        QCOMPARE(saved == bytes + '\n' ? QStringLiteral("untouched") : QString::fromUtf8(saved).replace('\n', "\\n"),
                 golden("file"));
        QCOMPARE(warnings, golden("warnings").replace("%FILE%", ConfigFile::path()));
        QCOMPARE(landed, golden("file") != QLatin1String("untouched")); // a save left out is told
        QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
    }

    // A label grown past the size decoded gets the file decoded again at its
    // new size, and the picture it had meanwhile.
    void grownLabelGetsTheFileDecodedAgain()
    {
        // Stripes a pixel wide: decoded at half the size, they blur.
        QImage stripes(2048, 1152, QImage::Format_RGB32);
        for (int x = 0; x < stripes.width(); ++x)
            for (int y = 0; y < stripes.height(); ++y)
                stripes.setPixel(x, y, x % 2 ? 0xffffffff : 0xff000000);
        const QString file = QDir::current().filePath(QStringLiteral("stripes.png"));
        QVERIFY(stripes.save(file));
        QLabel label;
        label.resize(1024, 576);
        GlobalObject::setLabelImage(&label, file);
        QTRY_VERIFY_WITH_TIMEOUT(GlobalObject::labelImagesPending() == 0, 30000);
        label.resize(stripes.size());
        GlobalObject::setLabelImage(&label, file);
        QVERIFY(!label.pixmap(Qt::ReturnByValue).isNull());
        QTRY_VERIFY_WITH_TIMEOUT(GlobalObject::labelImagesPending() == 0, 30000);
        const QImage shown = label.pixmap(Qt::ReturnByValue).toImage();
        QCOMPARE(QColor(shown.pixel(0, 0)).name() + QColor(shown.pixel(1, 0)).name(), QStringLiteral("#000000#ffffff"));
        GlobalObject::forgetLabelImages();
    }

    // Two labels wait for one file; one of them is given another file before
    // the decode ends. The other still gets the picture, and the one that
    // moved on gets its own.
    void labelMovingOnLeavesTheOtherWaiting()
    {
        const QString first = QDir::current().filePath(QStringLiteral("red.png"));
        const QString second = QDir::current().filePath(QStringLiteral("blue.png"));
        QVERIFY(LogoFiles::oneColour(QSize(16, 16), QImage::Format_RGB32, Qt::red).save(first));
        QVERIFY(LogoFiles::oneColour(QSize(16, 16), QImage::Format_RGB32, Qt::blue).save(second));
        QLabel staying, moving;
        staying.resize(16, 16);
        moving.resize(16, 16);
        GlobalObject::setLabelImage(&staying, first);
        GlobalObject::setLabelImage(&moving, first);
        GlobalObject::setLabelImage(&moving, second);
        QTRY_COMPARE_WITH_TIMEOUT(shownColour(staying) + shownColour(moving), QStringLiteral("#ff0000#0000ff"), 30000);
        GlobalObject::forgetLabelImages();
    }

    // Five labels ask for five files while the decoders are held: two
    // decoders start, three wait, and as each decoder ends one more starts,
    // never a third beside two.
    void decodersQueuedTwoAtATime()
    {
        QVERIFY(LogoFiles::holdDecoders());
        std::vector<std::unique_ptr<QLabel>> labels;
        for (int i = 0; i < 5; ++i) {
            const QString file = QDir::current().filePath(QStringLiteral("queued%1.png").arg(i));
            QVERIFY(LogoFiles::oneColour(QSize(8, 8), QImage::Format_RGB32, QColor::fromHsv(i * 60, 255, 255)).save(file));
            labels.push_back(std::make_unique<QLabel>());
            labels.back()->resize(8, 8);
            GlobalObject::setLabelImage(labels.back().get(), file);
        }
        int most = PictureDecoder::decodersAlive();
        QVERIFY(LogoFiles::letDecodersGo());
        QDeadlineTimer deadline(60000);
        while ((GlobalObject::labelImagesPending() > 0 || PictureDecoder::decodersAlive() > 0) && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            most = std::max(most, PictureDecoder::decodersAlive());
        }
        PictureDecoder::setProgram(QString());
        for (int i = 0; i < 5; ++i)
            QCOMPARE(shownColour(*labels[i]), QColor::fromHsv(i * 60, 255, 255).name());
        QCOMPARE(most, 2);
        GlobalObject::forgetLabelImages();
    }

    // A name field keeps no half of a character anywhere in what was pasted,
    // its start included (the cut at its length: heldnames.tsv).
    void nameFieldKeepsNoHalfCharacter_data()
    {
        const QString high(QChar(0xD83D)), low(QChar(0xDE00));
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("a lone first half first") << high + QStringLiteral("ab") << QStringLiteral("ab");
        QTest::newRow("a lone first half inside") << QStringLiteral("a") + high + QStringLiteral("b") << QStringLiteral("ab");
        QTest::newRow("a whole emoji first") << high + low + QStringLiteral("b") << high + low + QStringLiteral("b");
    }
    void nameFieldKeepsNoHalfCharacter()
    {
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        QLineEdit field;
        HeldText::hold(&field, HeldText::maxNameLength);
        field.insert(pasted);
        QCOMPARE(field.text(), kept);
    }

    void drag_data() { goldenRows(QStringLiteral("drag.tsv")); }
    void drag()
    {
        window.setProperty("CanMove", golden("canMove") == "yes");
        window.setGeometry(100, 100, 200, 100);
        window.setMouseTracking(true);
        reached = 0;
        const auto b = Qt::MouseButton(golden("button").toInt());
        mouse(QEvent::MouseButtonPress, QPoint(110, 120), b, b);
        mouse(QEvent::MouseMove, QPoint(150, 145), Qt::NoButton, b);
        mouse(QEvent::MouseMove, QPoint(300, 300), Qt::NoButton, Qt::NoButton);
        mouse(QEvent::MouseButtonRelease, QPoint(300, 300), b, Qt::NoButton);
        QTEST(QStringLiteral("%1,%2").arg(window.x()).arg(window.y()), "moved");
        QTEST(QString::number(reached), "reached");
    }
};

VW_TEST_MAIN(TestApp)
#include "tst_app.moc"
