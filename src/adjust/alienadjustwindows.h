#ifndef ALIENADJUSTWINDOWS_H
#define ALIENADJUSTWINDOWS_H

#include <QList>
#include <QString>
#include <QWidget>

#include <memory>

namespace ConfigFile {
class Settings;
}

namespace Ui {
class AlienAdjustWindows;
}

// Special-shaped splicing: from the source resolution and the wall's lengths
// it works out where a screen's share of the picture starts and how large it
// is, in source pixels, and sends each number as a pair of frames (high
// byte, then low byte).
class AlienAdjustWindows : public QWidget
{
    Q_OBJECT

public:
    explicit AlienAdjustWindows(QWidget *parent = nullptr);
    ~AlienAdjustWindows() override;

    // Share of a source size for a length of a total: size * part / total,
    // truncated toward zero. Empty when there is no such pixel count (a zero
    // total, a negative or an unrepresentable result).
    static QString shareText(double size, int part, int total);

public slots:
    void changeEnabled(int status);
    void sendInstructionOperation();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct Pair
    {
        const char *high;
        const char *low;
        int value;
    };

    void calculateAdjustValue();
    void initForm();
    void initConnect();
    void initValidator();
    void loadConfig();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);
    void sendPair(const Pair &pair);

    std::unique_ptr<Ui::AlienAdjustWindows> ui;
    // A pair asked for while another is on its way waits here, so the
    // controllers never get the high byte of one value and the low byte of
    // another.
    QList<Pair> pendingPairs;
    bool sendingPair = false;
};

#endif // ALIENADJUSTWINDOWS_H
