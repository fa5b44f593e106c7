#ifndef CHANGENAMEWINDOWS_H
#define CHANGENAMEWINDOWS_H

#include <QWidget>

#include <memory>

#include "heldtext.h"

namespace Ui {
class ChangeNameWindows;
}

// Asks for a new name of something the main window names in a list (a scene,
// a matrix input); it knows nothing of what the name belongs to.
class ChangeNameWindows : public QWidget
{
    Q_OBJECT

public:
    explicit ChangeNameWindows(QWidget *parent = nullptr);
    ~ChangeNameWindows() override;

    // Call before showing: the field takes the name, selected, with the focus.
    void setCurrentName(const QString &name);

    // The longest name the field takes; names read back from config.ini are
    // held to it as well.
    static const int maxNameLength = HeldText::maxNameLength;

signals:
    void setname(QString name);

public slots:
    void modifyOk();

protected:
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();

    std::unique_ptr<Ui::ChangeNameWindows> ui;
};

#endif // CHANGENAMEWINDOWS_H
