#include "childprocess.h"
#include "goldenrows.h"
#include "tcpcaptureserver.h"
#include "testmain.h"

// The built console itself, started as the operator starts it: a copy of
// the executable alone in a folder, with config.ini beside it, against a
// local stand-in for the wireless bridge.
class TestMainStart : public QObject
{
    Q_OBJECT

    // How long the console took from its database to dialling the bridge,
    // in the row that dials; the row that must not dial waits a multiple.
    qint64 dialMs = 0;

private slots:
    void savedAutoOpenDecidesTheLinkAtStart_data() { goldenRows(QStringLiteral("mainstart.tsv")); }
    void savedAutoOpenDecidesTheLinkAtStart()
    {
        TcpCaptureServer bridge;
        QVERIFY(bridge.listen());
        QTemporaryDir folder;
        const QString program = folder.filePath(QFileInfo(QStringLiteral(VW_CONSOLE)).fileName());
        QVERIFY(folder.isValid() && QFile::copy(QStringLiteral(VW_CONSOLE), program));
        QFile ini(folder.filePath(QStringLiteral("config.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly)
                && ini.write(QStringLiteral("[PortConfig]\nConMethod=1\nAddr=127.0.0.1\nPort=%1\nAutoOpen=%2\n")
                                 .arg(bridge.port())
                                 .arg(golden("AutoOpen"))
                                 .toLatin1())
                       > 0);
        ini.close();

        ChildProcess console;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        console.setProcessEnvironment(environment);
        console.setWorkingDirectory(folder.path());
        console.setStandardOutputFile(QProcess::nullDevice());
        console.setStandardErrorFile(QProcess::nullDevice());
        console.start(program, QStringList());
        QVERIFY2(console.waitForStarted(30000), qPrintable(console.errorString()));
        // It makes its account database in its working directory as it
        // builds its windows, before it shows them.
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(folder.filePath(QStringLiteral("database.db"))), 60000);
        QElapsedTimer sinceDatabase;
        sinceDatabase.start();
        if (golden("dialled") == QLatin1String("yes")) {
            QTRY_COMPARE_WITH_TIMEOUT(bridge.connectionCount(), 1, 30000);
            dialMs = sinceDatabase.elapsed();
        } else {
            // Several times what dialling took (or, run alone, a few seconds).
            QTest::qWait(int(qMax<qint64>(3000, 4 * dialMs)));
            QCOMPARE(bridge.connectionCount(), 0);
        }
        QCOMPARE(console.state(), QProcess::Running);
    }

    // Started under a file size limit of one byte with its messages going to
    // a file, the console's first message (Qt's, before any of its own code
    // runs) fails with EFBIG instead of ending it: it builds its windows and
    // runs on.
    void startsUnderAFileSizeLimit()
    {
        QTemporaryDir folder;
        const QString program = folder.filePath(QFileInfo(QStringLiteral(VW_CONSOLE)).fileName());
        QVERIFY(folder.isValid() && QFile::copy(QStringLiteral(VW_CONSOLE), program));
        ChildProcess console;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR")); // Qt warns of it as it starts
        console.setProcessEnvironment(environment);
        console.setWorkingDirectory(folder.path());
        console.setStandardOutputFile(folder.filePath(QStringLiteral("messages")));
        console.setStandardErrorFile(folder.filePath(QStringLiteral("messages")));
        console.start(QStringLiteral("prlimit"), {QStringLiteral("--fsize=1"), QStringLiteral("--"), program});
        QVERIFY2(console.waitForStarted(30000), qPrintable(console.errorString()));
        const QString messages = folder.filePath(QStringLiteral("messages"));
        QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(messages).size(), 1, 30000);
        // It gave its first message; it now builds its windows, whose
        // database cannot grow past one byte: whatever it says of that, it
        // runs on.
        QTest::qWait(2000);
        QCOMPARE(console.state(), QProcess::Running);
        QCOMPARE(QFileInfo(messages).size(), 1);
    }
};

VW_TEST_MAIN(TestMainStart)
#include "tst_mainstart.moc"
