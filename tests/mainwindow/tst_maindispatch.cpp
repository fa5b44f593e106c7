#include "consoletest.h"

using namespace WindowTest;

// One sender of each kind of the command dispatcher, checked at the far end
// of a socat pty pair and in the log pane. Screens 11 and 21 are selected
// (one row of the 2 x 2 wall), so a range frame runs from 11 to 21.
class TestMainDispatch : public ConsoleTest
{
    Q_OBJECT

    PtyPair pty;

    void fire(const QString &name, const QStringList &entered)
    {
        enter(window, entered);
        if (name == QLatin1String("Multi screen"))
            window->multiScreenAction->trigger();
        else if (name == QLatin1String("Still"))
            window->stillAction->trigger();
        else
            child<QAbstractButton>(window, name)->click();
    }

private slots:
    void initTestCase()
    {
        ConsoleTest::initTestCase();
        VW_REQUIRE_SOCAT();
        QVERIFY(pty.startListening());
    }
    void init()
    {
        writePortConfig({pty.devicePath()});
        build();
        window->openSerial();
        QVERIFY(GlobalObject::linkOpen);
        selectCells(ui->cent_tablewidget, 0, 0, 0, 1);
        pty.clearLog();
        new MessageBoxCatcher(window); // an unexpected message must not block
    }

    void senders_data() { goldenRows(QStringLiteral("dispatch.tsv")); }
    void senders()
    {
        QFETCH(QString, lines);
        if (golden("selected") == QLatin1String("no"))
            ui->cent_tablewidget->clearSelection();
        const qint64 clicked = pty.log().nowNs();
        fire(golden("sender"), goldenList(golden("entered")));
        const qint64 took = (pty.log().nowNs() - clicked) / 1000000;
        QCOMPARE(log(), goldenList(lines));
        const QByteArray bytes = QByteArray::fromHex(lines.remove(QRegularExpression("[>,|]|\\(OK\\)")).toLatin1());
        QTRY_COMPARE(pty.log().bytes(), bytes);
        QTest::qWait(50);
        QCOMPARE(pty.log().bytes(), bytes);
        // The pace is the wait behind each frame: the last frame cannot arrive
        // sooner than the waits ahead of it, and the slot returns after its own.
        const qint64 frames = bytes.size() / 6, pace = golden("pace").toInt();
        const qint64 last = frames ? pty.log().msAfter(clicked, 6).last() : 0;
        QVERIFY2(took >= pace * frames && took < pace * frames + (frames ? 2000 : 500), qPrintable(QString::number(took)));
        QVERIFY2(last >= pace * (frames - 1) && last < pace * frames + 2000, qPrintable(QString::number(last)));
    }

    void logKeepsTenThousandLines()
    {
        for (int i = 0; i < 10005; ++i)
            window->updateTextEditContent(QStringLiteral("C6%1BB").arg(i, 4, 16, QLatin1Char('0')).toUpper(), true, false);
        QCOMPARE(ui->com_textedit->document()->blockCount(), 10000);
        QCOMPARE(log().first() + log().last(), QStringLiteral(">C6,00,05,BB(OK)>C6,27,14,BB(OK)"));
        window->updateTextEditContent(QStringLiteral("3V1."), true, true);
        window->updateTextEditContent(QStringLiteral("3V1."), false, true);
        window->updateTextEditContent(QStringLiteral("C611"), false, false);
        QCOMPARE(log().mid(9997), QStringList({"3V1. (OK)", "3V1. ", ">C6,11"}));
    }
};

VW_TEST_MAIN(TestMainDispatch)
#include "tst_maindispatch.moc"
