#include "globalobject.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPalette>
#include <QPixmap>
#include <QStyle>

#include "picturedecoder.h"

// Every label a logo is shown in fits within this size, on any screen the
// console is shown on: a decode at it serves them all.
static const QSize logoDecodeSize(1024, 576);

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

QString fileIdentity(const QFileInfo &info)
{
    return QStringLiteral("%1\n%2\n%3")
        .arg(info.absoluteFilePath())
        .arg(info.lastModified().toMSecsSinceEpoch())
        .arg(info.size());
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

// The logo is shown several times at each start (the form, the saved
// settings, each resize, the Splice Setting preview, a picture picked there
// and the one in effect again). A file is decoded once a start, at a size no
// label of it is larger than, and each label scales that; it is remembered
// with its time and length, so that a refused one is named in one line,
// until this one changes. The program's own pictures are decoded here, at
// the label's size.
namespace {
struct Decoded
{
    QSize size;
    QImage image;
};
// A few files, each a few MB at most: an operator picks one at a time.
QHash<QString, Decoded> decoded;
} // namespace

static QImage logoPicture(const QString &file, const QSize &shown)
{
    const bool own = file.startsWith(QLatin1Char(':'));
    const QString key = fileIdentity(QFileInfo(file));
    const auto known = decoded.constFind(key);
    QSize size = own ? shown : shown.expandedTo(logoDecodeSize);
    if (known != decoded.constEnd()) {
        // A label that has grown past the size decoded gets the file decoded
        // again rather than an enlarged picture; a refusal stands.
        if (known->image.isNull() || known->size == (own ? shown : known->size.expandedTo(shown)))
            return known->image;
        size = size.expandedTo(own ? shown : known->size);
    }
    if (decoded.size() >= 4)
        decoded.clear();
    QImage image;
    if (own) {
        QImageReader reader(file);
        reader.setScaledSize(size);
        image = reader.read();
    } else {
        QString refusal;
        image = PictureDecoder::decode(file, size, &refusal);
        if (!refusal.isEmpty())
            qWarning("%s", qPrintable(refusal));
    }
    decoded.insert(key, {size, image});
    return image;
}

void GlobalObject::forgetLabelImages()
{
    decoded.clear();
}

void GlobalObject::setLabelImage(QLabel *label, const QString &file)
{
    QImage image;
    const QSize shown = label->size();
    // Only a regular file is read: a FIFO named as the logo would block
    // start-up, a device would never end. Anything else shows no picture,
    // as a missing file does.
    if (fileExists(file) && !shown.isEmpty())
        image = logoPicture(file, shown);
    QPixmap pixmap;
    if (!image.isNull())
        pixmap = QPixmap::fromImage(image.size() == shown
                                        ? image
                                        : image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    label->setScaledContents(true);
    label->setPixmap(pixmap);
}
