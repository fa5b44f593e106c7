#ifndef PORTSETTINGWINDOWS_H
#define PORTSETTINGWINDOWS_H

#include <QStringList>
#include <QWidget>

#include <memory>

#include "linkrecords.h"

namespace ConfigFile {
class Settings;
}

namespace Ui {
class PortSettingWindows;
}

// How the console reaches the wall: the serial ports (the LCD control port
// and, optionally, own ports for the video and RGB matrices) or the TCP
// connection to a wireless serial bridge. It opens nothing itself; it keeps
// the choice in its widgets and in the "PortConfig" group and hands it out.
class PortSettingWindows : public QWidget
{
    Q_OBJECT

public:
    explicit PortSettingWindows(QWidget *parent = nullptr);
    ~PortSettingWindows() override;

    bool isAutoOpen() const;
    PortSettingRecord getPortSetting();
    // "WIRELESS ", or the ports in use each followed by a blank.
    QString getPortDescription() const;

signals:
    void comSelectChange();

public slots:
    void conn_type_choice();
    void updataComList();
    void sendSignal();
    void CheckStatus(int status);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

    // Names of the serial ports the system reports, in its own order.
    virtual QStringList availablePortNames() const;

private:
    void initForm();
    void initConnect();
    void initValidator();
    void loadConfig();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);
    void setWireless(bool wireless);
    void fillPortBoxes();

    std::unique_ptr<Ui::PortSettingWindows> ui;
    PortSettingRecord portSetting;
    QStringList comList; // the list the three port boxes share
};

#endif // PORTSETTINGWINDOWS_H
