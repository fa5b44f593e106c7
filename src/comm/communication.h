#ifndef COMMUNICATION_H
#define COMMUNICATION_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include "linkrecords.h"
#include "pacedwait.h"

class QHostAddress;
class QSerialPort;
class QTcpSocket;

// The address of four dot-separated decimal parts of 0 to 255, leading
// zeros read as decimal; a null address for any other text.
QHostAddress dottedDecimalAddress(const QString &text);

// Value of one hex digit character: 0..15, or -1 for anything else.
int hexDigitValue(char c);

// The device link: one serial port and one TCP socket, the command builders
// and the paced sender. Nothing is ever read back from a device: what one
// sends is dropped as it arrives.
class Communication : public QObject
{
    Q_OBJECT

public:
    explicit Communication(QObject *parent = nullptr);
    ~Communication() override;

    bool openSerialPort(PortSettingRecord settings, const QString &portName);
    void closeSerialPort();
    // Dials the bridge at a dotted decimal address (never a host name); no
    // address or port 0 fails without an attempt.
    bool connectTcp(const QString &host, quint16 port);
    void closeTcp();

    void sendRaw(QByteArray bytes);
    // True when the link took every frame of the command. A command whose
    // guard says no sends no further frame and ends its wait.
    bool sendData(const QList<QByteArray> &frames, int interval, bool matrix, const SendGuard &goOn = {});
    void sendMatrixData(const QList<QByteArray> &frames, const QList<QString> &texts, int interval,
                        const SendGuard &goOn = {});

    // Text encodings and checksums: pure, callable from any thread.
    QByteArray hexToBytes(const QString &text);
    QList<QByteArray> hexListToBytes(const QList<QString> &texts);
    QList<QByteArray> asciiListToBytes(const QList<QString> &texts);
    QList<QByteArray> mixedListToBytes(const QList<QString> &texts);
    QString checksumText(QString text, int mode, int mask);
    static int signalTypeIndex(const QString &name);

    // LCD controller frames "C6" from to code param "BB".
    QList<QByteArray> makeCommand(const QString &code, const QString &param, bool perScreen, int target);

    // Matrix switching and scene commands.
    QList<QByteArray> switchCommand(InstructionRecord rec);
    QList<QByteArray> sceneCommand(InstructionRecord rec, int scene, int mode);

    QSerialPort *serial = nullptr;
    QTcpSocket *socket = nullptr;
    QList<QString> lcdTexts;
    QList<QString> matrixTexts;
    int signalType = 0;

signals:
    void sendComData(QString command, bool result, bool matrix);
    void sendDebug(bool result);
    void delayWaiting();
    // The open serial port or TCP connection failed under us (adapter pulled,
    // bridge gone). Emitted once per failure with the port name or the
    // bridge's host:port.
    void linkFailed(QString message);

private:
    bool writeFrame(const QByteArray &frame);
    bool sendFrames(const QList<QByteArray> &frames, const QList<QString> &texts, int interval, bool matrix,
                    const SendGuard &goOn);

    // What linkFailed names, and whether an open link is still watched: set
    // when it opens, cleared by a deliberate close or by the one report of
    // its failure.
    QString serialName;
    QString tcpPeer;
    bool serialWatched = false;
    bool tcpWatched = false;
    // Counts the link's openings and failures. A command sends only while it
    // is the one it began with: after a failure none of its frames goes out,
    // nor on a link opened again in the meantime.
    quint64 linkSession = 0;
};

extern Communication lcdCommunication;
extern Communication videoMatrixCommunication;
extern Communication rgbMatrixCommunication;

// The pause the controllers need after each frame of a command.
constexpr int lcdFrameIntervalMs = 50;

// One controller command: its frames built on the main link and sent there,
// each followed by the interval, with the echo to the log. An empty code or
// parameter (a name the instruction table lacks) sends nothing: a frame
// without them is no command the controllers know. True when the link took
// every frame.
bool sendLcdCommand(const QString &code, const QString &param, bool perScreen, int target,
                    int interval = lcdFrameIntervalMs, const SendGuard &goOn = {});

#endif // COMMUNICATION_H
