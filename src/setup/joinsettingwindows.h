#ifndef JOINSETTINGWINDOWS_H
#define JOINSETTINGWINDOWS_H

#include <QHash>
#include <QString>
#include <QWidget>

#include <memory>

class QComboBox;
class QCompleter;

namespace Ui {
class JoinSettingWindows;
}

// The wall's shape (rows and columns), the user name and the user logo. It
// keeps nothing of its own: "OK" commits the name and the logo to the global
// state strings and hands the size out through senddata().
class JoinSettingWindows : public QWidget
{
    Q_OBJECT

public:
    explicit JoinSettingWindows(QWidget *parent = nullptr);
    ~JoinSettingWindows() override;

    // A size outside 1..15 is ignored and the previous one stays.
    void setRowColumn(int row, int column);
    void setUserName(const QString &name);

signals:
    // "joinrow" and "joincolumn", each a decimal text of 1 to 15.
    void senddata(QHash<QString, QString> data);

public slots:
    void pictureImport();
    void confirmButton();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

    // The picture file the operator picks; empty when the dialog is cancelled.
    virtual QString chooseImageFile();

private:
    void initForm();
    void initConnect();
    void showPreview();
    static int acceptedCount(QComboBox *box, int previous);

    std::unique_ptr<Ui::JoinSettingWindows> ui;
    QCompleter *rowCompleter = nullptr;
    QCompleter *columnCompleter = nullptr;
    QString imagePath; // the logo that "OK" will commit
    int rows = 3;
    int columns = 3;
};

#endif // JOINSETTINGWINDOWS_H
