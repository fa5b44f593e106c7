#include "globalobject.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

// The embedded skins, translations and images must be registered before
// anything asks for them, and the resources live in a static library whose
// initialiser the linker would otherwise drop.
static int registerResources()
{
    Q_INIT_RESOURCE(staticfile);
    Q_INIT_RESOURCE(translations);
    return 0;
}
static const int resourcesRegistered = registerResources();

// The largest picture decoded whole, in pixels (4000 x 4000): it takes no
// more than 64 MB on its way to the label.
static const qint64 largestPicturePixels = 16 * 1000 * 1000;
// A JPEG is decoded at down to an eighth of its sides while it is read, so
// a camera photo costs a few MB. A progressive one still holds every
// coefficient, some 3 bytes a pixel, until its last scan: its size keeps a
// bound too, four times the other (a 61-megapixel photo is still shown).
static const qint64 largestScaledPicturePixels = 4 * largestPicturePixels;

QString appDirPath;
QString userImagePath = QStringLiteral(":/images/staticfile/images/logo.jpg");
QString userName = QStringLiteral("Large-screen software");
QString permissionText = QStringLiteral("User");
QString portStatusText = QStringLiteral("Closed");
QString appFontFamily = QStringLiteral("Microsoft YaHei");
const int appFontSize = 9;

QTranslator GlobalObject::translatorQt;
QTranslator GlobalObject::translatorApp;
QTranslator GlobalObject::translatorWidgets;
QLocale GlobalObject::locale(QLocale::English);
QList<QString> GlobalObject::targetAddressList;
QList<int> GlobalObject::matrixOutList;
QHash<QString, QString> GlobalObject::instructionHash;
bool GlobalObject::instructionHashReady = GlobalObject::initInstructionHash();

std::atomic<bool> GlobalObject::linkOpen{false};
std::atomic<bool> GlobalObject::wirelessMode{false};
std::atomic<bool> GlobalObject::videoMatrixPortOpen{false};
std::atomic<bool> GlobalObject::rgbMatrixPortOpen{false};

GlobalObject::GlobalObject(QObject *parent)
    : QObject(parent)
{
}

GlobalObject::~GlobalObject() = default;

bool fileExists(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

void GlobalObject::setButtonIcon(QAbstractButton *button, const QString &name)
{
    struct IconName
    {
        const char *name;
        QStyle::StandardPixmap pixmap;
    };
    static const IconName icons[] = {
        {"min", QStyle::SP_TitleBarMinButton},
        {"max", QStyle::SP_TitleBarMaxButton},
        {"normal", QStyle::SP_TitleBarNormalButton},
        {"close", QStyle::SP_TitleBarCloseButton},
    };
    QPixmap pixmap;
    for (const IconName &icon : icons) {
        if (name == QLatin1String(icon.name)) {
            pixmap = QApplication::style()->standardPixmap(icon.pixmap);
            break;
        }
    }
    button->setIcon(pixmap.isNull() ? QIcon() : QIcon(pixmap));
}

void GlobalObject::setStyle(const QString &file)
{
    QFile qss(file);
    if (!qss.open(QFile::ReadOnly))
        return;
    const QByteArray bytes = qss.readAll();
    const int end = bytes.indexOf('\0');
    const QString sheet = QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
    // Every skin starts with "QPalette{background:#RRGGBB;}": the palette
    // colour sits at characters 20..26.
    const QPalette palette(QColor(sheet.mid(20, 7)));
    // The sheet repolishes every widget with a palette of its own, taken
    // from the application palette of that moment: the new palette must be
    // in place first, or a switch back leaves the old skin's colours behind.
    qApp->setPalette(palette);
    qApp->setStyleSheet(sheet);
    qApp->setPalette(palette);
    qss.close();
}

bool GlobalObject::loadChineseTranslators()
{
    locale = QLocale(QLocale::Chinese);
    translatorQt.load(QStringLiteral(":/translate/staticfile/qm/qt_zh_CN.qm"));
    translatorApp.load(QStringLiteral(":/translate/staticfile/qm/Translate_CN.qm"));
    translatorWidgets.load(QStringLiteral(":/translate/staticfile/qm/widgets.qm"));
    QCoreApplication::installTranslator(&translatorQt);
    QCoreApplication::installTranslator(&translatorApp);
    return QCoreApplication::installTranslator(&translatorWidgets);
}

void GlobalObject::setLabelImage(QLabel *label, const QString &file)
{
    QImage image;
    const QSize shown = label->size();
    // Only a regular file is read: a FIFO named as the logo would block
    // start-up, a device would never end. Anything else shows no picture,
    // as a missing file does.
    if (fileExists(file) && !shown.isEmpty()) {
        // The size from the header first: a small file can claim a picture
        // of gigabytes. One too large to decode sensibly is not shown; the
        // others are decoded to the label's size. The PNG reader also takes
        // a scaled size but decodes the whole picture first, so only a JPEG
        // (by its content) counts as decoded scaled while it is read.
        QImageReader reader(file);
        const QSize size = reader.size();
        const bool scaledWhileRead =
            reader.format() == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize);
        const qint64 largest = scaledWhileRead ? largestScaledPicturePixels : largestPicturePixels;
        if (size.isValid() && qint64(size.width()) * size.height() <= largest) {
            reader.setScaledSize(shown);
            image = reader.read();
        } else if (size.isValid()) {
            qWarning("Picture not shown, %d x %d pixels are too many to decode: %s", size.width(), size.height(),
                     qPrintable(file));
        }
    }
    QPixmap pixmap;
    if (!image.isNull())
        pixmap = QPixmap::fromImage(image.size() == shown
                                        ? image
                                        : image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    label->setScaledContents(true);
    label->setPixmap(pixmap);
}
