#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QImage>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QTimer>

#include "configfile.h"
#include "fontsetwindows.h"
#include "playbacktest.h"
#include "rollcaptionwindows.h"
#include "testmain.h"

using namespace PlaybackTest;

namespace {

// Answers the next modal dialog of that kind as soon as it shows.
template <typename Dialog, typename Step>
void answer(Step step)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            step(dialog);
        }
    });
    poll->start(20);
}

QList<RollCaptionWindows *> captions()
{
    QList<RollCaptionWindows *> list;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *caption = qobject_cast<RollCaptionWindows *>(widget))
            list.append(caption);
    }
    return list;
}

// Leftmost column of the caption that shows red text, -1 for none.
int redTextLeft(QWidget *caption)
{
    const QImage image = caption->grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                return x;
        }
    }
    return -1;
}

} // namespace

class TestRollCaption : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        for (RollCaptionWindows *caption : captions())
            delete caption;
        QFile::remove(ConfigFile::path());
    }

    void captionsTakeTheChosenLook()
    {
        FontSetWindows window;
        child<QPushButton>(&window, "addfont_btn")->click();
        QCOMPARE(captions().size(), 0); // no text, no caption
        child<QTextEdit>(&window, "fonttext_te")->setPlainText(QStringLiteral("Line"));
        child<QComboBox>(&window, "colorlist_cb")->setCurrentIndex(QColor::colorNames().indexOf("gold"));
        QFont chosen;
        answer<QFontDialog>([&chosen](QFontDialog *dialog) {
            dialog->setCurrentFont(QFont(QFontDatabase().families().constLast(), 20));
            chosen = dialog->currentFont();
            dialog->accept();
        });
        child<QPushButton>(&window, "setfont_btn")->click();
        QColor opensOn;
        answer<QColorDialog>([&opensOn](QColorDialog *dialog) {
            opensOn = dialog->currentColor();
            dialog->setCurrentColor(Qt::red);
            dialog->accept();
        });
        child<QPushButton>(&window, "setcolor_btn")->click();
        QCOMPARE(opensOn, QColor(Qt::black));
        child<QSpinBox>(&window, "msvalue_sp")->setValue(0);
        child<QPushButton>(&window, "addfont_btn")->click();
        child<QSpinBox>(&window, "msvalue_sp")->setValue(5);
        child<QCheckBox>(&window, "transparent_cb")->setChecked(true);
        child<QPushButton>(&window, "addfont_btn")->click();

        const QList<RollCaptionWindows *> shown = captions();
        QCOMPARE(shown.size(), 2);
        const bool firstRolls = shown.at(0)->testAttribute(Qt::WA_TranslucentBackground);
        RollCaptionWindows *standing = shown.at(firstRolls ? 1 : 0);
        RollCaptionWindows *rolling = shown.at(firstRolls ? 0 : 1);
        for (RollCaptionWindows *caption : shown) {
            QVERIFY(caption->isVisible());
            QVERIFY(caption->windowFlags().testFlag(Qt::FramelessWindowHint));
            QVERIFY(caption->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QCOMPARE(caption->font().family(), chosen.family());
            QCOMPARE(caption->font().pointSize(), 20);
        }
        QCOMPARE(standing->grab().toImage().pixelColor(2, 2), QColor("gold"));
        QVERIFY(rolling->testAttribute(Qt::WA_TranslucentBackground));
        // Interval 0 stands at x 30; interval 5 moves a pixel every 5 ms.
        QTRY_VERIFY(redTextLeft(standing) >= 30 && redTextLeft(standing) <= 33);
        QTRY_VERIFY_WITH_TIMEOUT(redTextLeft(rolling) >= 0 && redTextLeft(rolling) < 300, 10000);

        child<QPushButton>(rolling, "font_close_pbtn")->click();
        QTRY_COMPARE(captions().size(), 1);
        QVERIFY(standing->isVisible());
    }

    void settingsRoundTrip()
    {
        {
            FontSetWindows window;
            window.show();
            child<QTextEdit>(&window, "fonttext_te")->setPlainText(QStringLiteral("Two\nlines"));
            child<QSpinBox>(&window, "msvalue_sp")->setValue(42);
            child<QCheckBox>(&window, "transparent_cb")->setChecked(true);
            child<QComboBox>(&window, "colorlist_cb")->setCurrentIndex(5);
            child<QPushButton>(&window, "close_btn")->click();
        }
        FontSetWindows again;
        QCOMPARE(child<QTextEdit>(&again, "fonttext_te")->toPlainText(), QStringLiteral("Two\nlines"));
        QCOMPARE(child<QSpinBox>(&again, "msvalue_sp")->value(), 42);
        QVERIFY(child<QCheckBox>(&again, "transparent_cb")->isChecked());
        QCOMPARE(child<QComboBox>(&again, "colorlist_cb")->currentIndex(), 5);
    }

    void storedColourOutsideTheListFallsBackToTheFirst()
    {
        const auto settings = ConfigFile::open();
        settings->setValue(QStringLiteral("FontSetting/Text"), QStringLiteral("Hello"));
        settings->setValue(QStringLiteral("FontSetting/TDelay"), 150);
        settings->setValue(QStringLiteral("FontSetting/BgColorIndex"), 100000);
        settings->sync();
        FontSetWindows window;
        QCOMPARE(child<QSpinBox>(&window, "msvalue_sp")->value(), 99);
        child<QPushButton>(&window, "addfont_btn")->click();
        QCOMPARE(captions().size(), 1);
        QCOMPARE(captions().at(0)->grab().toImage().pixelColor(2, 2), QColor(QColor::colorNames().first()));
    }
};

VW_TEST_MAIN(TestRollCaption)
#include "tst_rollcaption.moc"
