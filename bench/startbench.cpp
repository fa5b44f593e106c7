// Starts a bare Qt window and the console's start-up, each many times in a
// fresh working folder, offscreen and under Xvfb, and compares the median
// wall time from process start to exit and the median peak memory.
//
// Usage: startbench [runs] [config.ini]   (15 runs by default; each starts
// with a copy of the config.ini given, a first start without one). The two
// child programs are taken from the folder of this program.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include "benchkit.h"

namespace {

const double maxWallRatio = 3.0;
const double maxExtraMb = 30.0;
const int childTimeoutMs = 60000;

QTextStream out(stdout);

struct Sample
{
    double wallMs = 0;
    double peakMb = 0;
};

struct Platform
{
    QString name;
    QProcessEnvironment environment;
};

// The config.ini each run starts with (none: a first start).
QString startConfig;

// One start of program in a fresh working folder; false when it did not end
// well or did not report its memory.
bool runOnce(const QString &program, const QProcessEnvironment &environment, Sample &sample)
{
    QTemporaryDir folder;
    if (!folder.isValid())
        return false;
    if (!startConfig.isEmpty() && !QFile::copy(startConfig, folder.filePath(QStringLiteral("config.ini"))))
        return false;
    QProcess child;
    child.setProgram(program);
    child.setWorkingDirectory(folder.path());
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);

    QElapsedTimer clock;
    clock.start();
    child.start();
    if (!child.waitForFinished(childTimeoutMs)) {
        child.kill();
        child.waitForFinished();
        return false;
    }
    sample.wallMs = clock.nsecsElapsed() / 1e6;
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;

    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        const QList<QByteArray> words = line.simplified().split(' ');
        if (words.size() == 2 && words.at(0) == "peak_rss_kb") {
            bool ok = false;
            const qint64 kb = words.at(1).toLongLong(&ok);
            sample.peakMb = kb / 1024.0;
            return ok && kb > 0;
        }
    }
    return false;
}

struct Figures
{
    double wallMs;
    double peakMb;
};

// Runs both programs alternately, after one start of each that is not
// counted (it fills the file cache); false when any start failed.
bool measure(const QString &bare, const QString &console, const QProcessEnvironment &environment, int runs,
             Figures &bareFigures, Figures &consoleFigures)
{
    Sample sample;
    if (!runOnce(bare, environment, sample) || !runOnce(console, environment, sample))
        return false;
    std::vector<double> wall[2];
    std::vector<double> peak[2];
    const QString programs[2] = {bare, console};
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < 2; ++i) {
            if (!runOnce(programs[i], environment, sample))
                return false;
            wall[i].push_back(sample.wallMs);
            peak[i].push_back(sample.peakMb);
        }
    }
    bareFigures = {median(wall[0]), median(peak[0])};
    consoleFigures = {median(wall[1]), median(peak[1])};
    return true;
}

// An X server of our own on a display number it picks itself; the number
// comes back on its standard output.
bool startXvfb(QProcess &server, QString &display)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (program.isEmpty())
        return false;
    server.setProgram(program);
    server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp")});
    server.start();
    QElapsedTimer clock;
    clock.start();
    while (!server.canReadLine() && clock.elapsed() < 10000) {
        if (!server.waitForReadyRead(int(10000 - clock.elapsed())))
            break;
    }
    const QString number = QString::fromLatin1(server.readLine()).trimmed();
    if (number.isEmpty()) {
        server.kill();
        server.waitForFinished();
        return false;
    }
    display = QLatin1Char(':') + number;
    return true;
}

bool report(const QString &platform, const Figures &bare, const Figures &console, int runs)
{
    const double ratio = console.wallMs / bare.wallMs;
    const double extraMb = console.peakMb - bare.peakMb;
    out << QString::asprintf("%-9s bare     median %7.1f ms  peak RSS %6.1f MB  (%d runs)\n",
                             qPrintable(platform), bare.wallMs, bare.peakMb, runs);
    out << QString::asprintf("%-9s console  median %7.1f ms  peak RSS %6.1f MB  (%d runs)\n",
                             qPrintable(platform), console.wallMs, console.peakMb, runs);
    out << QString::asprintf("%-9s console/bare wall %.2fx  RSS %+.1f MB\n", qPrintable(platform), ratio, extraMb);
    out.flush();
    return ratio <= maxWallRatio && extraMb <= maxExtraMb;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const int runs = arguments.size() > 1 ? qMax(1, arguments.at(1).toInt()) : 15;
    startConfig = arguments.value(2);

    const QStringList here = {QCoreApplication::applicationDirPath()};
    const QString bare = QStandardPaths::findExecutable(QStringLiteral("barewindow"), here);
    const QString console = QStandardPaths::findExecutable(QStringLiteral("consolestart"), here);
    if (bare.isEmpty() || console.isEmpty()) {
        out << "barewindow and consolestart must be built beside startbench\n";
        return 1;
    }

    QList<Platform> platforms;
    QProcessEnvironment offscreen = QProcessEnvironment::systemEnvironment();
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    platforms.append({QStringLiteral("offscreen"), offscreen});

    QProcess xvfb;
    QString display;
    if (startXvfb(xvfb, display)) {
        QProcessEnvironment x11 = QProcessEnvironment::systemEnvironment();
        x11.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        x11.insert(QStringLiteral("DISPLAY"), display);
        platforms.append({QStringLiteral("xvfb"), x11});
    } else {
        out << "xvfb: skipped (Xvfb not found or did not start; install package xvfb)\n";
    }

    bool met = true;
    for (const Platform &platform : qAsConst(platforms)) {
        Figures bareFigures;
        Figures consoleFigures;
        if (!measure(bare, console, platform.environment, runs, bareFigures, consoleFigures)) {
            out << platform.name << ": a start failed or reported no memory\n";
            met = false;
            continue;
        }
        met = report(platform.name, bareFigures, consoleFigures, runs) && met;
    }

    if (xvfb.state() != QProcess::NotRunning) {
        xvfb.terminate();
        if (!xvfb.waitForFinished(5000)) {
            xvfb.kill();
            xvfb.waitForFinished();
        }
    }

    out << QString::asprintf("targets (console wall <= %.0fx bare, peak RSS <= bare + %.0f MB): %s\n",
                             maxWallRatio, maxExtraMb, met ? "met" : "MISSED");
    out.flush();
    return met ? 0 : 1;
}
