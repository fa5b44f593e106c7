#ifndef TIMINGSETWINDOWS_H
#define TIMINGSETWINDOWS_H

#include <QDateTime>
#include <QWidget>

#include <functional>
#include <memory>

namespace ConfigFile {
class Settings;
}

namespace Ui {
class TimingSetWindows;
}

// Powers the whole wall on and off by the wall clock, every day or for one
// on/off pair. The schedule runs from "OK" on a one-second timer, also while
// the window is hidden; each tick reads the times the fields hold then.
// Settings live in the "TimingConfig" group, written at every close.
class TimingSetWindows : public QWidget
{
    Q_OBJECT

public:
    explicit TimingSetWindows(QWidget *parent = nullptr);
    ~TimingSetWindows() override;

    // The only place the schedule reads the time from; a test drives it
    // through midnight and across seconds without waiting.
    using Clock = std::function<QDateTime()>;
    void setClock(Clock clock);

protected:
    void timerEvent(QTimerEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();
    void loadConfig();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);
    void applyTiming();
    void changeEnabled(int state);
    void scheduleTick();
    // Whether an event set to hour:minute falls due now: the first tick of
    // that minute, whatever the second. It remembers the date, hour and
    // minute it last fired at: two ticks in one minute or a clock set back to
    // that minute send once, while a time moved later the same day fires.
    static bool falls(const QDateTime &now, int hour, int minute, QDateTime &lastFired);
    // Sends one power frame to the whole wall; true when it was written.
    bool sendPower(const char *param);

    std::unique_ptr<Ui::TimingSetWindows> ui;
    int timerId = 0;
    bool onSent = false;
    bool offSent = false;
    QDateTime onFiredAt;
    QDateTime offFiredAt;
    Clock clock;

    friend class TestPowerSchedule;
};

#endif // TIMINGSETWINDOWS_H
