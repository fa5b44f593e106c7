#ifndef CHILDPROCESS_H
#define CHILDPROCESS_H

#include <QProcess>
#include <QStringList>

// A program the test starts, such as the built console: it is asked to end
// when the object goes, and killed when it does not; started through
// startWithParent, it also dies when the test ends any other way.
struct ChildProcess
{
    QProcess process;

    ~ChildProcess()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(10000))
            process.kill();
        process.waitForFinished(10000);
    }

    // setpriv asks the kernel to kill the program when its parent, this
    // process, ends, and then becomes the program (same process id).
    static void startWithParent(QProcess &process, const QStringList &command)
    {
        process.start(QStringLiteral("setpriv"), QStringList{"--pdeathsig", "KILL", "--"} + command);
    }
};

#endif // CHILDPROCESS_H
