#include <sys/stat.h>

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

    // "%FIFO%" names a FIFO in the folder; an ini of "FIFO" makes config.ini one.
    void build(QByteArray ini)
    {
        userImagePath = startLogo;
        const QByteArray fifo = QDir::current().filePath(QStringLiteral("logo.fifo")).toUtf8();
        QFile::remove(QString::fromUtf8(fifo));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        if (ini == "FIFO")
            QVERIFY(::mkfifo(QFile::encodeName(ConfigFile::path()).constData(), 0600) == 0);
        else
            QVERIFY(writeConfig(ini.replace("%FIFO%", fifo).replace("%PORT%", QByteArray::number(bridge.port()))));
        ConsoleTest::build();
    }

    QString shown(const QString &what) const
    {
        const QMap<QString, QComboBox *> combos{{"inputs", ui->matrix_type_cb}, {"scenes", ui->scene_cb},
                                                {"ports", child<QComboBox>(window->portSetWindow, "lcd_port_cb")}};
        if (combos.contains(what))
            return QString::number(combos[what]->count());
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
