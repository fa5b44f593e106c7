#ifndef VELMAR_WINDOWS_H
#define VELMAR_WINDOWS_H

#include <QWidget>

class Ui_Velmar_Windows;

// The operator console: a frameless main window with its own title bar.
class Velmar_Windows : public QWidget
{
    Q_OBJECT

public:
    explicit Velmar_Windows(QWidget *parent = nullptr);
    ~Velmar_Windows() override;

    // The port window's auto-open box as saved: main opens the links at once.
    bool autoOpen = false;

public slots:
    void openSerial();
    void maxBottonClick();

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();

    Ui_Velmar_Windows *ui;
};

#endif // VELMAR_WINDOWS_H
