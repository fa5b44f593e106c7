#include <sys/stat.h>

#include "alienadjustwindows.h"
#include "consoletest.h"
#include "portsettingwindows.h"

using namespace WindowTest;

// The console started on a config.ini written by a hostile hand, and number
// fields typed with digits of other scripts: what the windows then hold and
// show, and what they save again.
class TestHostileConfig : public ConsoleTest
{
    Q_OBJECT

    QString startLogo;
    qint64 residentAtStart = 0;

    // The process's resident memory in kB: "VmRSS" now, "VmHWM" its peak.
    static qint64 residentKb(const QByteArray &field)
    {
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(field + ':'))
                return line.mid(field.size() + 1).trimmed().split(' ').first().toLongLong();
        }
        return -1;
    }

    // "%FIFO%" names a FIFO in the folder; an ini of "FIFO" makes config.ini one.
    // "%DIR%" is the folder, "%HUGE%" a word of a megabyte.
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
                                    .replace("%DIR%", QFile::encodeName(QDir::currentPath()))
                                    .replace("%HUGE%", QByteArray(1 << 20, 'x'))));
        // The peak starts again from what is resident now.
        QFile peak(QStringLiteral("/proc/self/clear_refs"));
        QVERIFY(peak.open(QIODevice::WriteOnly) && peak.write("5") == 1 && peak.flush());
        residentAtStart = residentKb("VmRSS");
        ConsoleTest::build();
    }

    QString shown(const QString &what) const
    {
        const QMap<QString, QComboBox *> combos{{"inputs", ui->matrix_type_cb}, {"scenes", ui->scene_cb},
                                                {"ports", child<QComboBox>(window->portSetWindow, "lcd_port_cb")}};
        if (combos.contains(what))
            return QString::number(combos[what]->count());
        if (what == QLatin1String("peak")) {
            const qint64 grown = (residentKb("VmHWM") - residentAtStart) / 1024;
            return grown < 50 ? QStringLiteral("within 50 MB") : QString::number(grown) + " MB";
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
        // What a label shows, read as a screen reader reads it.
        QLabel *label = what == QLatin1String("user") ? ui->show_username : ui->show_comstatus;
        return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(bridge.listen());
        startLogo = userImagePath;
        // Square white pictures: files of a few hundred kB at most.
        for (const int side : {20000, 4000}) {
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
