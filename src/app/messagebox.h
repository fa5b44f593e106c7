#ifndef MESSAGEBOX_H
#define MESSAGEBOX_H

#include <QDialog>

class Ui_MessageBox;

// The program's own modal prompt: a frameless dialog with a title, a text and
// one OK button. Callers create it on the stack, setMessage(), exec().
class MessageBox : public QDialog
{
    Q_OBJECT

public:
    explicit MessageBox(QWidget *parent = nullptr);
    ~MessageBox() override;

    void setMessage(const QString &title, const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();

    Ui_MessageBox *ui;
};

#endif // MESSAGEBOX_H
