#ifndef DEBUGWINDOWS_H
#define DEBUGWINDOWS_H

#include <QWidget>

#include <memory>

namespace Ui {
class DebugWindows;
}

// Service window: sends typed hexadecimal bytes unchanged on the main link,
// with no framing, and shows whether the link took them.
class DebugWindows : public QWidget
{
    Q_OBJECT

public:
    explicit DebugWindows(QWidget *parent = nullptr);
    ~DebugWindows() override;

    void showWindow();
    void showResult(bool ok);

public slots:
    void debugSend();

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();

    std::unique_ptr<Ui::DebugWindows> ui;
};

#endif // DEBUGWINDOWS_H
