#include <sys/resource.h>
#include <sys/stat.h>

#include "alienadjustwindows.h"
#include "consoletest.h"
#include "fontsetwindows.h"
#include "portsettingwindows.h"
#include "rollcaptionwindows.h"

using namespace WindowTest;

// The console started on a config.ini written by a hostile hand, and number
// fields typed with digits of other scripts: what the windows then hold and
// show, and what they save again.
class TestHostileConfig : public ConsoleTest
{
    Q_OBJECT

    QString startLogo;
    qint64 peakAtStart = 0; // kB
    QElapsedTimer clock;     // from the start of the build

    static qint64 peakKb() { rusage usage; return ::getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : -1; }

    // "%FIFO%" names a FIFO in the folder; an ini of "FIFO" makes config.ini one.
    // "%HUGE%" is a word of 300,000 characters, "%DIGITS%" a number of 100,000
    // digits.
    void build(QByteArray ini)
    {
        userImagePath = startLogo;
        const QByteArray fifo = QDir::current().filePath(QStringLiteral("logo.fifo")).toUtf8();
        QFile::remove(QString::fromUtf8(fifo));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        if (ini == "FIFO")
            QVERIFY(::mkfifo(QFile::encodeName(ConfigFile::path()).constData(), 0600) == 0);
        else
            QVERIFY(writeConfig(ini.replace("%FIFO%", fifo)
                                    .replace("%PORT%", QByteArray::number(bridge.port()))
                                    .replace("%HUGE%", QByteArray(300000, 'x'))
                                    .replace("%DIGITS%", QByteArray(100000, '1'))));
        peakAtStart = peakKb();
        clock.start();
        ConsoleTest::build();
    }

    QString shown(const QString &what)
    {
        const QMap<QString, QComboBox *> combos{{"inputs", ui->matrix_type_cb}, {"scenes", ui->scene_cb},
                                                {"ports", child<QComboBox>(window->portSetWindow, "lcd_port_cb")}};
        if (combos.contains(what))
            return QString::number(combos[what]->count());
        // A rise of the process's peak since the build began (none while below an earlier peak).
        if (what == QLatin1String("peak"))
            return peakKb() - peakAtStart < 50000 ? "within 50 MB" : QString::number(peakKb() - peakAtStart) + " kB";
        if (what.endsWith(QLatin1String("caption"))) { // as loaded, or 300,000 characters pasted
            window->showFontSetWindow();
            auto *text = window->fontSetWindow->findChild<QTextEdit *>();
            QApplication::clipboard()->setText(what == QLatin1String("caption") ? QString() : QString(300000, 'x'));
            text->paste();
            QCoreApplication::processEvents();
            return QString::number(text->toPlainText().size()) + (clock.elapsed() < 5000 ? " at once" : " late");
        }
        if (what == QLatin1String("ticks")) { // a thousand, of a caption of 300,000 characters
            RollCaptionWindows caption;
            caption.setInterval(1);
            caption.setText(QString(300000, QLatin1Char('x')));
            caption.show();
            QTimerEvent tick(QAbstractEventDispatcher::instance()->registeredTimers(&caption).first().timerId);
            for (int i = 0; i < 1000; ++i)
                QCoreApplication::sendEvent(&caption, &tick);
            return clock.elapsed() < 5000 ? "at once" : "late";
        }
        if (what == QLatin1String("scene length"))
            return QString::number(ui->scene_cb->itemText(0).size());
        if (what == QLatin1String("logo"))
            return ui->show_image->pixmap(Qt::ReturnByValue).isNull() ? "none" : "picture";
        if (what == QLatin1String("open")) {
            MessageBoxCatcher catcher;
            window->openSerial();
            return GlobalObject::linkOpen ? QStringLiteral("opened") : catcher.lastText();
        }
        // As the program starts, and the bridge the link was handed.
        if (what == QLatin1String("start")) {
            MessageBoxCatcher catcher;
            if (window->autoOpen)
                window->openSerial();
            const PortSettingRecord record = window->portSetWindow->getPortSetting();
            return GlobalObject::linkOpen ? QStringLiteral("opened")
                                          : QStringLiteral("%1 Dialled %2:%3").arg(catcher.lastText(), record.ipAddress).arg(record.tcpPort);
        }
        // What a label shows, read as a screen reader reads it.
        QLabel *label = what == QLatin1String("user") ? ui->show_username : ui->show_comstatus;
        return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(bridge.listen());
        startLogo = userImagePath;
        for (const int side : {20000, 4000}) { // files of a few hundred kB; 4000 x 4000 is the largest shown
            QImage white(side, side, QImage::Format_Mono);
            white.fill(0);
            QVERIFY(white.save(QStringLiteral("white%1.png").arg(side)));
        }
    }

    void hostileValues_data() { goldenRows(QStringLiteral("hostileconfig.tsv")); }

    void hostileValues()
    {
        QFETCH(QString, savedKey);
        build(golden("ini").replace(QStringLiteral("\\n"), QStringLiteral("\n")).toUtf8());
        QCOMPARE(shown(golden("what")),
                 golden("expected").replace(QStringLiteral("%FIFO%"), QDir::current().filePath("logo.fifo")));
        // Renaming works on whatever lists the file left, empty ones too.
        window->updateSceneName(QStringLiteral("x"));
        window->updateMInputName(QStringLiteral("x"));
        // Closing the main window closes the open set-up windows: each saves.
        window->showPortSetWindow();
        window->showMatrixSetWindow();
        window->close();
        if (!savedKey.isEmpty())
            QCOMPARE(QSettings(ConfigFile::path(), QSettings::IniFormat).value(savedKey).toString(), golden("saved"));
    }

    void typedNumbers_data() { goldenRows(QStringLiteral("typednumbers.tsv")); }

    void typedNumbers()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        build(QByteArray("[PortConfig]\nConMethod=1\n")); // the bridge fields are live
        child<QCheckBox>(window->alienAdjustWindow, "startadjust_cb")->setChecked(true); // and the special ones
        QLineEdit *edit = nullptr;
        for (QWidget *top : QApplication::topLevelWidgets())
            edit = edit ? edit : top->findChild<QLineEdit *>(field);
        QVERIFY(edit && edit->isEnabled());
        edit->clear();
        // Character by character, as typed: each goes through the field's validator.
        for (const QChar c : typed)
            edit->insert(c);
        QCOMPARE(edit->text(), golden("kept"));
    }
};

VW_TEST_MAIN(TestHostileConfig)
#include "tst_hostileconfig.moc"
