#ifndef LINKRECORDS_H
#define LINKRECORDS_H

#include <QString>

// Connection settings, produced by the port window each time the links open.
struct PortSettingRecord
{
    int wireless = 0; // 1: the main link is the TCP bridge, 0: serial
    int baudRate = 0;
    int dataBitsIndex = 0;
    int parityIndex = 0;
    int stopBitsIndex = 0;
    int flowControlIndex = 0;
    quint16 tcpPort = 0;
    QString lcdPortName;
    QString videoPortName;
    QString rgbPortName;
    QString ipAddress;
    bool videoLink = false;
    bool rgbLink = false;
};

// Matrix context of one matrix command, produced by the matrix window.
struct InstructionRecord
{
    QString signalType;
    QString model;
    QString videoId;
    QString dviId;
    QString vgaId;
    QString hdmiId;
    int value = 0;
    int responseTime = 0;
    int intervalTime = 0;
    bool matrixFirst = false;
};

#endif // LINKRECORDS_H
