#ifndef PLAYSETWINDOWS_H
#define PLAYSETWINDOWS_H

#include <QWidget>

#include <memory>

namespace Ui {
class PlaySetWindows;
}

// Boot playback settings and the keys of the controllers' built-in player.
// Every button sends one frame to the selected screens; the radio marks only
// show the last choice sent from here and are never saved.
class PlaySetWindows : public QWidget
{
    Q_OBJECT

public:
    explicit PlaySetWindows(QWidget *parent = nullptr);
    ~PlaySetWindows() override;

public slots:
    void sendInstructionOperation();

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();

    std::unique_ptr<Ui::PlaySetWindows> ui;
};

#endif // PLAYSETWINDOWS_H
