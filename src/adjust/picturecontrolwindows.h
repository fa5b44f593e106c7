#ifndef PICTURECONTROLWINDOWS_H
#define PICTURECONTROLWINDOWS_H

#include <QHash>
#include <QObjectList>
#include <QString>
#include <QWidget>

#include <memory>

namespace ConfigFile {
class Settings;
}

namespace Ui {
class PictureControlWindows;
}

// Picture, position, ADC, colour temperature and palette adjustment of the
// screens selected in the main window. Every click becomes controller frames
// for the whole selected range; nothing is read back.
class PictureControlWindows : public QWidget
{
    Q_OBJECT

public:
    explicit PictureControlWindows(QWidget *parent = nullptr);
    ~PictureControlWindows() override;

    // First and last selected screen, two hex digits each: column, row.
    void setAdjustRange(const QString &first, const QString &last);
    // The reset command only goes out while the link is open.
    void setResetEnabled(bool enabled);

public slots:
    void pageTurning();
    void sendInstructionOperation();
    void colorInstructionOperation();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();
    void connectAllButtons();
    void connectButtons(const QObjectList &children);
    void initColorButtons();
    void loadConfig();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);

    bool expanded = false;
    int baseWidth = 0;
    std::unique_ptr<Ui::PictureControlWindows> ui;
    // Swatch object name to the index its frames carry (plus 110).
    QHash<QString, int> colorIndexHash;
};

#endif // PICTURECONTROLWINDOWS_H
