#ifndef HOSTILESTART_H
#define HOSTILESTART_H

#include <sys/stat.h>

#include "consoletest.h"
#include "joinsettingwindows.h"
#include "logofiles.h"

// The main window built on a config.ini written by a hostile hand: what the
// build costs in memory and time, the debug output it gave, and what the
// logo's labels show.
class HostileStart : public ConsoleTest
{

protected:
    QString startLogo;
    qint64 peakAtStart = 0; // kB
    QElapsedTimer clock;     // from the start of the build
    static inline QStringList messages; // the debug output of the build

    // Whether the build and what the row then did took no longer than a
    // start of the console may, with room for a busy machine and a sanitized build.
    // A plain start measured here sets the scale: the same row on a busy
    // machine or in a sanitized build gets the room a start takes there.
    // The logo's decode is no part of it: the console never waits for it.
    QString when() const { return clock.elapsed() < 5000 + 2 * plainStartMs ? "at once" : "late"; }
    // Decodes of the logo held by the test from the build on (see build()),
    // so that what the console does meanwhile is seen in its order, not
    // against a clock.
    bool holdDecodes = false;
    qint64 plainStartMs = 0;
    static QString picture(QLabel *label) { return label->pixmap(Qt::ReturnByValue).isNull() ? "none" : "picture"; }

    // Until every decode of the logo has ended (each is bounded by the
    // decoder's own limits; the wait has room for a busy machine).
    static bool decodesEnded() { return QTest::qWaitFor([] { return GlobalObject::labelImagesPending() == 0; }, 120000); }

    // The process's peak resident size in kB since the last reset: Linux
    // starts it anew at the present size on a "5" written to clear_refs, so
    // that each build is measured on its own, not under an earlier peak.
    static bool resetPeak()
    {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
    }
    static qint64 peakKb()
    {
        QFile status(QStringLiteral("/proc/self/status"));
        if (status.open(QIODevice::ReadOnly))
            for (const QByteArray &line : status.readAll().split('\n'))
                if (line.startsWith("VmHWM:")) // "VmHWM:    81234 kB"
                    return line.simplified().split(' ').value(1).toLongLong();
        return -1;
    }

    // While one lives, the debug output goes to messages.
    struct Capture
    {
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { messages += text; });
        ~Capture() { qInstallMessageHandler(previous); }
    };

    // What the logo's two labels show.
    QString bothPictures()
    {
        return picture(ui->show_image) + " and " + picture(child<QLabel>(window->joinSetWindow, "show_image"));
    }

    // Whether the console went on while the test still held the logo's
    // decoder: both windows shown and taking typing, the decode under way
    // and both labels empty.
    QString whileHeld()
    {
        showBothLogos();
        QTest::keyClicks(ui->matrix_bin_le, QStringLiteral("7"));
        const bool atOnce = window->isVisible() && window->joinSetWindow->isVisible() && ui->matrix_bin_le->text() == "7"
                            && GlobalObject::labelImagesPending() == 1 && bothPictures() == QLatin1String("none and none");
        return atOnce ? QStringLiteral("at once") : QStringLiteral("late");
    }

    // The main window up, and the Splice Setting window opened: the logo
    // shown at its last size and in the preview.
    void showBothLogos()
    {
        window->show();
        window->showJoinSetWindow();
    }

    // "%FIFO%" names a FIFO in the folder; an ini of "FIFO" makes config.ini one.
    // "%HUGE%" is a word of 300,000 characters, "%DIGITS%" a number of 100,000
    // digits. A null ini leaves config.ini as it is.
    void build(QByteArray ini)
    {
        userImagePath = startLogo;
        const QByteArray fifo = QDir::current().filePath(QStringLiteral("logo.fifo")).toUtf8();
        QFile::remove(QString::fromUtf8(fifo));
        QVERIFY(::mkfifo(fifo.constData(), 0600) == 0);
        if (ini == "FIFO")
            QVERIFY(::mkfifo(QFile::encodeName(ConfigFile::path()).constData(), 0600) == 0);
        else if (!ini.isNull())
            QVERIFY(WindowTest::writeConfig(ini.replace("%FIFO%", fifo)
                                    .replace("%PORT%", QByteArray::number(bridge.port()))
                                    .replace("%HUGE%", QByteArray(300000, 'x'))
                                    .replace("%DIGITS%", QByteArray(100000, '1'))));
        QVERIFY(resetPeak());
        peakAtStart = peakKb();
        QVERIFY(peakAtStart > 0);
        messages.clear();
        if (holdDecodes)
            QVERIFY(LogoFiles::holdDecoders());
        const Capture capture;
        clock.start();
        ConsoleTest::build();
        if (holdDecodes)
            PictureDecoder::setProgram(QString());
    }

    // A plain start, measured; the window goes again.
    void measurePlainStart()
    {
        QVERIFY(bridge.listen());
        startLogo = userImagePath;
        build("[PortConfig]\n");
        plainStartMs = clock.elapsed();
        WindowTest::endTest(window);
    }

    // What the build left that a row asks for: the rise of the peak, the
    // logo's labels, the debug lines naming the logo; empty for anything else.
    QString shownLogo(const QString &what)
    {
        const QString held = what == QLatin1String("logo and preview") && holdDecodes ? whileHeld() : QString();
        if (holdDecodes && !LogoFiles::letDecodersGo())
            return QStringLiteral("decoders held");
        // A rise of the process's peak since the build began, against the row's bound ("within 60 MB").
        if (what == QLatin1String("peak")) {
            if (!decodesEnded())
                return QStringLiteral("a decode that never ended");
            const int bound = golden("expected").section(QLatin1Char(' '), 1, 1).toInt();
            const qint64 rise = peakKb() - peakAtStart;
            return rise < bound * 1000 ? QStringLiteral("within %1 MB").arg(bound) : QString::number(rise) + " kB";
        }
        const Capture capture; // the lines of the decodes that end from now on
        if (what == QLatin1String("logo"))
            return decodesEnded() ? picture(ui->show_image) : QStringLiteral("a decode that never ended");
        if (what == QLatin1String("logo and preview")) {
            showBothLogos();
            const QString shown = holdDecodes ? held : when();
            if (!decodesEnded())
                return QStringLiteral("a decode that never ended");
            return bothPictures() + ' ' + shown;
        }
        if (what == QLatin1String("debug line"))
            return decodesEnded() ? messages.filter(userImagePath).value(0, QStringLiteral("none")) : QString();
        if (what == QLatin1String("debug lines")) { // all that name the logo, the build's and those of showing both
            decodesEnded();
            showBothLogos();
            if (!decodesEnded())
                return QStringLiteral("a decode that never ended");
            const QStringList lines = messages.filter(userImagePath);
            return lines.isEmpty() ? QStringLiteral("none") : lines.join(QLatin1String(" / "));
        }
        return QString();
    }
};

#endif // HOSTILESTART_H
