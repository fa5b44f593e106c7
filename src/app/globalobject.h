#ifndef GLOBALOBJECT_H
#define GLOBALOBJECT_H

#include <QHash>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>
#include <QTranslator>

#include <atomic>

class QAbstractButton;
class QFileInfo;
class QLabel;

// Application-wide state. No instance is ever created: the class is only the
// scope of the statics below and of a few helpers every window shares.
class GlobalObject : public QObject
{
    Q_OBJECT

public:
    explicit GlobalObject(QObject *parent = nullptr);
    ~GlobalObject() override;

    // Instruction or parameter name to its two-hex-digit code. Read with the
    // inserting subscript: an unknown name reads empty and leaves an empty row.
    static QHash<QString, QString> instructionHash;
    static bool instructionHashReady;

    // Selected-screen addresses ("11" = column 1, row 1) and the matrix output
    // that feeds each of them (0: no output).
    static QList<QString> targetAddressList;
    static QList<int> matrixOutList;

    // Written by the GUI thread when links open and close; the tour worker
    // reads rgbMatrixPortOpen from its own thread, hence atomics.
    static std::atomic<bool> linkOpen;
    static std::atomic<bool> wirelessMode;
    static std::atomic<bool> videoMatrixPortOpen;
    static std::atomic<bool> rgbMatrixPortOpen;

    static QLocale locale;
    static QTranslator translatorQt;
    static QTranslator translatorApp;
    static QTranslator translatorWidgets;

    static bool initInstructionHash();

    static void setButtonIcon(QAbstractButton *button, const QString &name);
    static void setStyle(const QString &file);
    static bool loadChineseTranslators();
    // The picture in file, scaled to the label. An operator's file is
    // decoded in a process of its own, once a start (see PictureDecode):
    // the label shows it when that decode has ended, never waiting for it.
    static void setLabelImage(QLabel *label, const QString &file);
    // A file picked again is decoded again: it may have changed since.
    static void forgetLabelImage(const QString &file);
    // As at a new start: every file is decoded and judged again.
    static void forgetLabelImages();
    // The decodes still under way.
    static int labelImagesPending();
};

// Global state strings.
extern QString appDirPath;
extern QString userImagePath;
extern QString userName;
extern QString permissionText;
extern QString portStatusText;
extern QString appFontFamily;
extern const int appFontSize;

// True only for an existing regular file (a directory is not one).
bool fileExists(const QString &path);

// A file as it stands now: its path, time and length, which change when
// another file takes its place or it is written again.
QString fileIdentity(const QFileInfo &info);

// The system's words for an error number ("Read-only file system").
QString systemReason(int error);

// Why the effective user may not write path (a file, or a folder to make
// files in), in the system's words; empty when it may.
QString whyNotWritable(const QString &path);

#endif // GLOBALOBJECT_H
