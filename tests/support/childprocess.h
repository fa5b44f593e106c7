#ifndef CHILDPROCESS_H
#define CHILDPROCESS_H

#include <QProcess>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>
#endif

// A program a test starts that the kernel kills when the test process ends,
// however it ends (a crash, a sanitizer's abort, a SIGKILL): no console,
// socat or X server outlives its test. The kill comes when the thread that
// started the program ends, so a test starts it from the thread that lives
// as long as the test (the main thread).
class ChildProcess : public QProcess
{
public:
    // Asked to end when the object goes, and killed when it does not.
    ~ChildProcess() override
    {
        if (state() == QProcess::NotRunning)
            return;
        terminate();
        if (!waitForFinished(10000))
            kill();
        waitForFinished(10000);
    }

protected:
    // Runs in the child between fork and exec.
    void setupChildProcess() override
    {
#ifdef Q_OS_LINUX
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The test may have died before the request took hold: then the
        // child has been handed to another parent already and no death of
        // ours is left to wait for.
        if (::getppid() != m_parent)
            ::_exit(127);
#endif
    }

private:
#ifdef Q_OS_LINUX
    const pid_t m_parent = ::getpid();
#endif
};

#ifdef Q_OS_LINUX
// Sends a signal to a program while it runs. One that has ended has no pid
// (0), and a signal to pid 0 goes to the test's own process group: the test,
// ctest and whatever runs them.
inline bool signalProgram(const QProcess &program, int signal)
{
    const qint64 pid = program.processId();
    return pid > 0 && ::kill(pid_t(pid), signal) == 0;
}
#endif

// A process id that was in use a moment ago and is no longer, 0 when no
// process could be started: what a lock of a console that is gone names.
inline qint64 endedProcessId()
{
    ChildProcess process;
    process.start(QStringLiteral("true"), QStringList());
    if (!process.waitForStarted())
        return 0;
    const qint64 pid = process.processId(); // 0 once the end is seen
    return process.waitForFinished() ? pid : 0;
}

#endif // CHILDPROCESS_H
