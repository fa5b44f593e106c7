#ifndef REMOTECONTROLWINDOWS_H
#define REMOTECONTROLWINDOWS_H

#include <QWidget>

#include <memory>

class Ui_RemoteControl;

// A hand-held remote on the desktop: ON powers the whole wall, every other
// key sends its remote key code to the selected screens. Keeps no state.
class RemoteControlWindows : public QWidget
{
    Q_OBJECT

public:
    explicit RemoteControlWindows(QWidget *parent = nullptr);
    ~RemoteControlWindows() override;

public slots:
    void sendInstructionOperation();

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();

    std::unique_ptr<Ui_RemoteControl> ui;
};

#endif // REMOTECONTROLWINDOWS_H
