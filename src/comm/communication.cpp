#include "communication.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QMetaType>
#include <QSerialPort>
#include <QTcpSocket>

#include <algorithm>
#include <initializer_list>
#include <iterator>

#include "globalobject.h"
#include "matrixcommands.h"
#include "pacedwait.h"
#include "portname.h"

// Built at static initialisation, before the application object exists, in
// this order; destroyed in the reverse order after main has returned.
Communication lcdCommunication;
Communication videoMatrixCommunication;
Communication rgbMatrixCommunication;

bool sendLcdCommand(const QString &code, const QString &param, bool perScreen, int target, int interval,
                    const SendGuard &goOn)
{
    if (code.isEmpty() || param.isEmpty())
        return false;
    return lcdCommunication.sendData(lcdCommunication.makeCommand(code, param, perScreen, target), interval, false,
                                     goOn);
}

namespace {

// Serial line settings by the index the port window stores. An index outside
// a table leaves that setting of the port as it was.
const QSerialPort::DataBits dataBitsByIndex[] = {
    QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8};
const QSerialPort::Parity parityByIndex[] = {QSerialPort::NoParity};
const QSerialPort::StopBits stopBitsByIndex[] = {QSerialPort::OneStop, QSerialPort::TwoStop};
const QSerialPort::FlowControl flowControlByIndex[] = {QSerialPort::NoFlowControl};

template <typename T, std::size_t N>
void applySetting(QSerialPort *port, bool (QSerialPort::*set)(T), const T (&table)[N], int index)
{
    if (index >= 0 && index < int(N))
        (port->*set)(table[index]);
}

// Serial errors that mean the open device is gone or refuses us. The others
// (a timeout, an unsupported setting, a failed open) leave an open link
// usable or happen while it is not open at all.
const QSerialPort::SerialPortError deviceLossErrors[] = {
    QSerialPort::DeviceNotFoundError, QSerialPort::PermissionError, QSerialPort::ReadError,
    QSerialPort::WriteError, QSerialPort::ResourceError};

bool isDeviceLoss(QSerialPort::SerialPortError error)
{
    return std::find(std::begin(deviceLossErrors), std::end(deviceLossErrors), error)
           != std::end(deviceLossErrors);
}

// Addressing of the controller frames: the fixed from/to pairs. Any other
// target addresses the selected screens.
struct FixedTarget
{
    int target;
    const char *from;
    const char *to;
};

const FixedTarget fixedTargets[] = {
    {1, "11", "FF"}, {2, "00", "FF"}, {3, "FF", "22"}, {4, "FF", "24"},
    {5, "FF", "20"}, {6, "FF", "21"}, {7, "FF", "23"}, {8, "FF", "08"},
};

const FixedTarget *fixedTarget(int target)
{
    for (const FixedTarget &fixed : fixedTargets) {
        if (fixed.target == target)
            return &fixed;
    }
    return nullptr;
}

// The index the matrix builders switch on; any other name gives 6.
struct SignalTypeName
{
    const char *name;
    int index;
};

const SignalTypeName signalTypeNames[] = {
    {"DVI", 0}, {"HDMI", 1}, {"VGA", 2}, {"VIDEO", 3}, {"VIDEO2", 4}, {"SDI", 5},
};
const int unknownSignalType = 6;

// A character outside Latin-1 reads as 0, which is no hex digit.
int digitAt(const QString &text, int i)
{
    return i >= 0 && i < text.size() ? hexDigitValue(text.at(i).toLatin1()) : -1;
}

// One byte from the pair at position i. A bad or missing digit counts as -1
// and still yields a byte: some device tables rely on what that gives.
char pairByte(const QString &text, int i)
{
    return char((16 * digitAt(text, i) + digitAt(text, i + 1)) & 0xFF);
}

QString frameText(const QString &from, const QString &to, const QString &code, const QString &param)
{
    return QStringLiteral("C6") + from + to + code + param + QStringLiteral("BB");
}

} // namespace

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

Communication::Communication(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<QList<QString>>("QList<QString>");

    // The three global links are built at static initialisation, before any
    // application object. Constructing a QSerialPort or QTcpSocket then is
    // safe: neither touches the event dispatcher until it is opened, which
    // happens only once the event loop exists. So both are made here and the
    // public pointers are valid for the whole life of the object.
    serial = new QSerialPort;
    socket = new QTcpSocket;

    // Unread bytes would pile up in the read buffers without bound while a
    // device or bridge talks or floods.
    for (QIODevice *device : std::initializer_list<QIODevice *>{serial, socket})
        connect(device, &QIODevice::readyRead, this, [device] { device->readAll(); });

    connect(serial, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
        if (!serialWatched || !isDeviceLoss(error))
            return;
        serialWatched = false;
        ++linkSession;
        // A vanished device keeps the read notifier firing errors; closing
        // the port stops that and makes every later write report false.
        serial->close();
        emit linkFailed(serialName);
    });

    const auto tcpLost = [this] {
        if (!tcpWatched)
            return;
        tcpWatched = false;
        ++linkSession;
        emit linkFailed(tcpPeer);
    };
    connect(socket, &QTcpSocket::disconnected, this, tcpLost);
    connect(socket, &QAbstractSocket::errorOccurred, this, tcpLost);
}

Communication::~Communication()
{
    // The global links die after the application object, when tearing down
    // a port or a socket could reach an event dispatcher that is gone; the
    // process exit releases them. A link object that dies while the
    // application runs releases its own.
    if (QCoreApplication::instance()) {
        disconnect(serial, nullptr, this, nullptr);
        disconnect(socket, nullptr, this, nullptr);
        delete serial;
        delete socket;
    }
}

bool Communication::openSerialPort(PortSettingRecord settings, const QString &portName)
{
    ++linkSession;
    serial->setPortName(serialDeviceName(portName));
    if (!serial->open(QIODevice::ReadWrite))
        return false;

    // Settings a port does not support are not an error of the link: the
    // port stays open as it is.
    serial->setBaudRate(settings.baudRate, QSerialPort::AllDirections);
    applySetting(serial, &QSerialPort::setDataBits, dataBitsByIndex, settings.dataBitsIndex);
    applySetting(serial, &QSerialPort::setParity, parityByIndex, settings.parityIndex);
    applySetting(serial, &QSerialPort::setStopBits, stopBitsByIndex, settings.stopBitsIndex);
    applySetting(serial, &QSerialPort::setFlowControl, flowControlByIndex, settings.flowControlIndex);

    serialName = portName;
    serialWatched = true;
    return true;
}

void Communication::closeSerialPort()
{
    // A deliberate close is no failure.
    serialWatched = false;
    if (serial->isOpen())
        serial->close();
}

QHostAddress dottedDecimalAddress(const QString &text)
{
    // Qt and the C library read a part with a leading zero as octal ("010"
    // is 8, "08" is no number and goes to the name resolver); the operator
    // means decimal.
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return {};
    quint32 address = 0;
    for (const QString &part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return {};
        uint value = 0;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
            value = value * 10 + (c.unicode() - '0');
        }
        if (value > 255)
            return {};
        address = address << 8 | value;
    }
    return QHostAddress(address);
}

bool Communication::connectTcp(const QString &host, quint16 port)
{
    tcpWatched = false;
    ++linkSession;
    socket->abort();
    // Only an address is dialled, never a name a resolver could answer for,
    // and never port 0: either fails at once without a connection attempt.
    const QHostAddress address = dottedDecimalAddress(host);
    if (address.isNull() || port == 0)
        return false;
    socket->connectToHost(address, port, QIODevice::ReadWrite);
    // Blocks the GUI thread for at most a second, no events processed.
    if (!socket->waitForConnected(1000)) {
        // Drop the attempt so that a late connection cannot appear unwatched.
        socket->abort();
        return false;
    }
    // Frames of a few bytes each, paced by the sender: the bridge must get
    // each one when it is written, not when the previous one is acknowledged.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    tcpPeer = QStringLiteral("%1:%2").arg(address.toString()).arg(port);
    tcpWatched = true;
    return true;
}

void Communication::closeTcp()
{
    tcpWatched = false;
    socket->close();
}

bool Communication::writeFrame(const QByteArray &frame)
{
    // The bytes are queued whole and leave as soon as events are processed,
    // which the paced wait right after does. Flushing here would turn a full
    // transmit buffer into a reported device error.
    if (GlobalObject::wirelessMode)
        return socket->state() == QAbstractSocket::ConnectedState && socket->write(frame) == frame.size();
    return serial->isOpen() && serial->write(frame) == frame.size();
}

void Communication::sendRaw(QByteArray bytes)
{
    emit sendDebug(GlobalObject::linkOpen && writeFrame(bytes));
}

bool Communication::sendData(const QList<QByteArray> &frames, int interval, bool matrix, const SendGuard &goOn)
{
    return sendFrames(frames, matrix ? matrixTexts : lcdTexts, interval, matrix, goOn);
}

void Communication::sendMatrixData(const QList<QByteArray> &frames, const QList<QString> &texts, int interval,
                                   const SendGuard &goOn)
{
    sendFrames(frames, texts, interval, true, goOn);
}

bool Communication::sendFrames(const QList<QByteArray> &frames, const QList<QString> &texts, int interval, bool matrix,
                               const SendGuard &goOn)
{
    if (frames.isEmpty())
        return false;

    // Taken now: a command started during one of our waits rebuilds the
    // object's text lists, and our later echoes must keep our own texts.
    const QList<QByteArray> sending = frames;
    const QList<QString> echoTexts = texts;
    // Read once: the result of every frame of this command rests on it.
    const bool linkOpen = GlobalObject::linkOpen;
    const quint64 session = linkSession;

    bool allWritten = true;
    for (int i = 0; i < sending.size(); ++i) {
        if (linkSession != session || (goOn && !goOn()))
            return false;
        const QByteArray &frame = sending.at(i);
        const bool written = linkOpen && writeFrame(frame);
        allWritten = allWritten && written;
        const QString text = i < echoTexts.size() ? echoTexts.at(i)
                                                  : QString::fromLatin1(frame.toHex().toUpper());
        emit sendComData(text, written, matrix);
        pacedWait(interval, goOn);
    }
    return allWritten;
}

QByteArray Communication::hexToBytes(const QString &text)
{
    const int n = text.size();
    QByteArray bytes;
    bytes.reserve(n / 2);
    int i = 0;
    while (i < n) {
        // A space is skipped only where a pair begins; in the second place
        // it is a bad digit.
        if (text.at(i) == QLatin1Char(' ')) {
            ++i;
            continue;
        }
        if (i + 1 >= n)
            break; // a lone last digit is dropped
        bytes.append(pairByte(text, i));
        i += 2;
    }
    return bytes;
}

QList<QByteArray> Communication::hexListToBytes(const QList<QString> &texts)
{
    QList<QByteArray> frames;
    for (const QString &text : texts)
        frames.append(hexToBytes(text));
    return frames;
}

QList<QByteArray> Communication::asciiListToBytes(const QList<QString> &texts)
{
    QList<QByteArray> frames;
    for (const QString &text : texts)
        frames.append(text.toLatin1());
    return frames;
}

QList<QByteArray> Communication::mixedListToBytes(const QList<QString> &texts)
{
    // Head and tail bytes in hex, the middle as plain text: "02ABC03" is
    // 02 'A' 'B' 'C' 03.
    QList<QByteArray> frames;
    for (const QString &text : texts) {
        const int n = text.size();
        QByteArray frame;
        frame.append(pairByte(text, 0));
        frame.append(text.mid(2, n >= 4 ? n - 4 : -1).toLatin1());
        frame.append(pairByte(text, n >= 2 ? n - 2 : 0));
        frames.append(frame);
    }
    return frames;
}

QString Communication::checksumText(QString text, int mode, int mask)
{
    return MatrixCommands::checksumText(text, mode, mask);
}

int Communication::signalTypeIndex(const QString &name)
{
    for (const SignalTypeName &type : signalTypeNames) {
        if (name == QLatin1String(type.name))
            return type.index;
    }
    return unknownSignalType;
}

QList<QByteArray> Communication::makeCommand(const QString &code, const QString &param, bool perScreen, int target)
{
    lcdTexts.clear();
    const QList<QString> screens = GlobalObject::targetAddressList;

    if (const FixedTarget *fixed = fixedTarget(target)) {
        lcdTexts.append(frameText(QLatin1String(fixed->from), QLatin1String(fixed->to), code, param));
    } else if (perScreen) {
        for (const QString &screen : screens)
            lcdTexts.append(frameText(screen, screen, code, param));
    } else if (!screens.isEmpty()) {
        // One frame over the range: first and last in selection order. With
        // nothing selected there is no range and nothing to send.
        lcdTexts.append(frameText(screens.first(), screens.last(), code, param));
    }
    return hexListToBytes(lcdTexts);
}
