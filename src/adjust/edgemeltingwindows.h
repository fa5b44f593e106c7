#ifndef EDGEMELTINGWINDOWS_H
#define EDGEMELTINGWINDOWS_H

#include <QWidget>

#include <memory>

namespace ConfigFile {
class Settings;
}

namespace Ui {
class EdgeMeltingWindows;
}

// Edge fusion of the selected screens: a horizontal and a vertical amount,
// 0 to 100, each shown on a slider and a spin box that follow each other.
class EdgeMeltingWindows : public QWidget
{
    Q_OBJECT

public:
    explicit EdgeMeltingWindows(QWidget *parent = nullptr);
    ~EdgeMeltingWindows() override;

public slots:
    void changeEnable(int status);
    void updateSbValue(int value);
    void updateSdValue(int value);
    void sendInstructionOperation();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);
    void loadConfig();

    std::unique_ptr<Ui::EdgeMeltingWindows> ui;
};

#endif // EDGEMELTINGWINDOWS_H
