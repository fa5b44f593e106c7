#ifndef ABOUTDIALOG_H
#define ABOUTDIALOG_H

#include <QDialog>

#include <memory>

namespace Ui {
class AboutDialog;
}

// Product title and version, and the controllers' version query. Nothing is
// read back: the query's only trace is its frame in the main window's log.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
    ~AboutDialog() override;

public slots:
    void sendInstructionOperation();

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();

    std::unique_ptr<Ui::AboutDialog> ui;
};

#endif // ABOUTDIALOG_H
