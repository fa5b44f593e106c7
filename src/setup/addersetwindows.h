#ifndef ADDERSETWINDOWS_H
#define ADDERSETWINDOWS_H

#include <QWidget>

#include <memory>

namespace Ui {
class AdderSetWindows;
}

// Gives the wall's controllers their addresses: asks for sequence numbers
// and addresses, sets the row and column address of one controller and locks
// or unlocks the addresses of the selected screens. Keeps nothing between
// clicks; every click reads the fields anew.
class AdderSetWindows : public QWidget
{
    Q_OBJECT

public:
    explicit AdderSetWindows(QWidget *parent = nullptr);
    ~AdderSetWindows() override;

    void showWindow();

public slots:
    void sendInstructionOperation();

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();
    void initValidator();

    std::unique_ptr<Ui::AdderSetWindows> ui;
};

#endif // ADDERSETWINDOWS_H
