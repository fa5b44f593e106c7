#include "alienadjustwindows.h"
#include "changenamewindows.h"
#include "hostilestart.h"
#include "fontsetwindows.h"
#include "joinsettingwindows.h"
#include "longestconfig.h"
#include "portsettingwindows.h"
#include "rollcaptionwindows.h"

using namespace WindowTest;

// The console started on a config.ini written by a hostile hand, and number
// fields typed with digits of other scripts: what the windows then hold and
// show, and what they save again.
class TestHostileConfig : public HostileStart
{
    Q_OBJECT

    QString shown(const QString &what)
    {
        const QMap<QString, QComboBox *> combos{{"inputs", ui->matrix_type_cb}, {"scenes", ui->scene_cb},
                                                {"ports", child<QComboBox>(window->portSetWindow, "lcd_port_cb")}};
        if (combos.contains(what))
            return QString::number(combos[what]->count());
        const QString logo = shownLogo(what);
        if (!logo.isEmpty())
            return logo;
        if (what.endsWith(QLatin1String("caption"))) { // as loaded, or 300,000 characters pasted
            window->showFontSetWindow();
            auto *text = window->fontSetWindow->findChild<QTextEdit *>();
            QApplication::clipboard()->setText(what == QLatin1String("caption") ? QString() : QString(300000, 'x'));
            text->paste();
            QCoreApplication::processEvents();
            return QString::number(text->toPlainText().size()) + ' ' + when();
        }
        if (what == QLatin1String("ticks")) { // a thousand, of a caption of 300,000 characters
            RollCaptionWindows caption;
            caption.setInterval(1);
            caption.setText(QString(300000, QLatin1Char('x')));
            caption.show();
            QTimerEvent tick(QAbstractEventDispatcher::instance()->registeredTimers(&caption).first().timerId);
            for (int i = 0; i < 1000; ++i)
                QCoreApplication::sendEvent(&caption, &tick);
            return when();
        }
        if (what == QLatin1String("scene length"))
            return QString::number(ui->scene_cb->itemText(0).size());
        if (what == QLatin1String("open")) {
            MessageBoxCatcher catcher;
            window->openSerial();
            return GlobalObject::linkOpen ? QStringLiteral("opened") : catcher.lastText();
        }
        // As the program starts, and the bridge the link was handed.
        if (what == QLatin1String("start")) {
            MessageBoxCatcher catcher;
            int attempts = 0;
            const auto spy = connect(lcdCommunication.socket, &QAbstractSocket::stateChanged, this,
                                     [&](QAbstractSocket::SocketState state) { attempts += state == QAbstractSocket::ConnectingState; });
            if (window->autoOpen)
                window->openSerial();
            disconnect(spy);
            const PortSettingRecord record = window->portSetWindow->getPortSetting();
            const QString dialled = attempts ? QStringLiteral("%1:%2").arg(record.ipAddress).arg(record.tcpPort) : QStringLiteral("nothing");
            return GlobalObject::linkOpen ? QStringLiteral("opened") : catcher.lastText() + " Dialled " + dialled;
        }
        // What a label shows, read as a screen reader reads it.
        QLabel *label = what == QLatin1String("user") ? ui->show_username : ui->show_comstatus;
        return QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name);
    }

private slots:
    void initTestCase() { measurePlainStart(); }

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

    // The largest config.ini the console saves itself, every name at its
    // longest, is one it reads again at the next start.
    void longestSavedFileIsReadBack()
    {
        LongestConfig::writeLongestConfig(ChangeNameWindows::maxNameLength + 1);
        build(QByteArray());
        window->showFontSetWindow();
        window->close();
        const qint64 saved = QFileInfo(ConfigFile::path()).size();
        QVERIFY2(saved <= ConfigFile::maxBytes, qPrintable(QString::number(saved)));
        build(QByteArray());
        QCOMPARE(ui->scene_cb->count(), 99);
        QCOMPARE(ui->scene_cb->itemText(98).size(), ChangeNameWindows::maxNameLength);
    }

    // A close on a config.ini that another program filled with text that a
    // rewrite quadruples: the file stays within the bound and keeps, to the
    // byte, every value the console saved before, those of windows not
    // opened since too.
    void closePastTheBoundKeepsWhatTheConsoleSaves()
    {
        const auto startAndClose = [this](const QByteArray &ini, bool everyWindow) {
            build(ini);
            window->show();
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (everyWindow && widget != window && !widget->parentWidget() && !widget->inherits("QMenu"))
                    widget->show();
            window->close();
            QFile file(ConfigFile::path());
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
        const QByteArray own = startAndClose(QByteArray(), true);
        QByteArray foreign = "[Notes]\n"; // some 560 kB, over 2 MB escaped
        for (int i = 0; i < 3000; ++i)
            foreign += 'k' + QByteArray::number(i) + '=' + QString(60, QChar(0x4E2D)).toUtf8() + '\n';
        QVERIFY(own.contains("[TimingConfig]") && own.size() + foreign.size() <= ConfigFile::maxBytes);
        // A close that changed nothing leaves the file alone; one with a
        // change (a stored value the box does not take) rewrites it.
        QCOMPARE(startAndClose(own + foreign, false), own + foreign);
        QVERIFY(own.contains("DelayOn=0\n"));
        QCOMPARE(startAndClose(QByteArray(own).replace("DelayOn=0\n", "DelayOn=7\n") + foreign, false), own);
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
