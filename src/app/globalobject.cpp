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
#include <QPointer>
#include <QStyle>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString whyNotWritable(const QString &path)
{
#ifdef Q_OS_UNIX
    if (::eaccess(QFile::encodeName(path).constData(), W_OK) != 0)
        return systemReason(errno);
#else
    Q_UNUSED(path)
#endif
    return QString();
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
// and the one in effect again). An operator's file is decoded once a start,
// in a process of its own and while the console goes on, at a size no label
// of it is larger than; each label asking for it gets the picture when the
// decode has ended, scaled to its size of that moment. A refused file is
// named in one line. The program's own pictures are decoded here, at the
// label's size.
namespace {

struct Logo
{
    QSize size;                        // decoded, or being decoded, at this size
    QImage image;                      // null until decoded, or when refused
    bool answered = false;             // a decode of it has ended
    PictureDecode *decoding = nullptr; // while a decoder works on it
    QList<QPointer<QLabel>> waiting;   // the labels that asked meanwhile
};
// A few files, each a few MB at most: an operator picks one at a time.
QHash<QString, Logo> logos;
QHash<QString, QImage> ownPictures;

// The file a label asked for last: a decode that ends after the label has
// been given another file leaves it alone.
const char askedFor[] = "logoFile";

void showIn(QLabel *label, const QImage &image)
{
    const QSize shown = label->size();
    QPixmap pixmap;
    if (!image.isNull() && !shown.isEmpty())
        pixmap = QPixmap::fromImage(image.size() == shown
                                        ? image
                                        : image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    label->setScaledContents(true);
    label->setPixmap(pixmap);
}

QImage ownPicture(const QString &file, const QSize &shown)
{
    const QString key = QStringLiteral("%1\n%2x%3").arg(file).arg(shown.width()).arg(shown.height());
    const auto known = ownPictures.constFind(key);
    if (known != ownPictures.constEnd())
        return *known;
    if (ownPictures.size() >= 4)
        ownPictures.clear();
    QImageReader reader(file);
    reader.setScaledSize(shown);
    return *ownPictures.insert(key, reader.read());
}

void decoded(PictureDecode *decode)
{
    decode->deleteLater();
    const auto logo = logos.find(decode->file());
    if (logo == logos.end() || logo->decoding != decode)
        return;
    logo->decoding = nullptr;
    logo->answered = true;
    if (!decode->refusal().isEmpty())
        qWarning("%s", qPrintable(decode->refusal()));
    // A picture at a smaller size than asked stays until a larger one comes.
    if (!decode->image().isNull() || logo->image.isNull())
        logo->image = decode->image();
    const QList<QPointer<QLabel>> waiting = std::exchange(logo->waiting, {});
    for (const QPointer<QLabel> &label : waiting)
        if (label && label->property(askedFor).toString() == decode->file())
            showIn(label, logo->image);
}

void decode(Logo &logo, const QString &file, const QSize &size)
{
    logo.size = size;
    logo.decoding = new PictureDecode(file, size);
    QObject::connect(logo.decoding, &PictureDecode::finished, logo.decoding,
                     [decode = logo.decoding] { decoded(decode); });
    logo.decoding->start();
}

// A label given another file no longer waits for its earlier one: when no
// other label does, that decode is given up (its decoder killed and reaped
// when it has ended, never waited for), so that quick picks of one file
// after another leave one decoder at work, not one for each pick.
void stopWaiting(QLabel *label, const QString &file)
{
    const auto logo = logos.find(file);
    if (logo == logos.end() || !logo->decoding)
        return;
    QList<QPointer<QLabel>> &waiting = logo->waiting;
    waiting.erase(std::remove_if(waiting.begin(), waiting.end(),
                                 [&](const QPointer<QLabel> &other) {
                                     return !other || other == label || other->property(askedFor).toString() != file;
                                 }),
                  waiting.end());
    if (!waiting.isEmpty())
        return;
    delete logo->decoding;
    logos.erase(logo);
}

void dropAnswered()
{
    for (auto logo = logos.begin(); logo != logos.end();)
        logo = logo->decoding ? std::next(logo) : logos.erase(logo);
}

} // namespace

void GlobalObject::forgetLabelImages()
{
    for (const Logo &logo : qAsConst(logos))
        delete logo.decoding;
    logos.clear();
    ownPictures.clear();
}

void GlobalObject::forgetLabelImage(const QString &file)
{
    const auto logo = logos.constFind(file);
    if (logo != logos.constEnd() && !logo->decoding)
        logos.erase(logo);
}

int GlobalObject::labelImagesPending()
{
    return int(std::count_if(logos.cbegin(), logos.cend(), [](const Logo &logo) { return logo.decoding; }));
}

void GlobalObject::setLabelImage(QLabel *label, const QString &file)
{
    const QString earlier = label->property(askedFor).toString();
    label->setProperty(askedFor, file);
    if (earlier != file)
        stopWaiting(label, earlier);
    const QSize shown = label->size();
    if (shown.isEmpty() || file.isEmpty()) {
        showIn(label, QImage());
        return;
    }
    if (file.startsWith(QLatin1Char(':'))) {
        showIn(label, ownPicture(file, shown));
        return;
    }
    if (!logos.contains(file) && logos.size() >= 4)
        dropAnswered();
    Logo &logo = logos[file];
    const QSize size = shown.expandedTo(logoDecodeSize).expandedTo(logo.size);
    // A label that has grown past the size decoded gets the file decoded
    // again rather than an enlarged picture; a refusal stands.
    const bool covered = logo.answered && (logo.image.isNull() || logo.size == size);
    if (!covered && !logo.decoding)
        decode(logo, file, size);
    if (logo.decoding && !logo.waiting.contains(label))
        logo.waiting.append(label);
    showIn(label, logo.image);
}
