#include <QtTest>
#include <QtWidgets>

#include "configfile.h"
#include "fontsetwindows.h"
#include "remotecontrolwindows.h"
#include "rollcaptionwindows.h"
#include "testmain.h"

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

// The captions and the remote's close button.
class TestPlaybackWindows : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        qDeleteAll(captions());
        QFile::remove(ConfigFile::path());
    }

    void captionsTakeTheChosenLook()
    {
        FontSetWindows window;
        auto *add = window.findChild<QPushButton *>("addfont_btn");
        auto *interval = window.findChild<QSpinBox *>("msvalue_sp");
        add->click();
        QCOMPARE(captions().size(), 0); // no text, no caption
        window.findChild<QTextEdit *>("fonttext_te")->setPlainText(QStringLiteral("Line"));
        window.findChild<QComboBox *>("colorlist_cb")->setCurrentIndex(QColor::colorNames().indexOf("gold"));
        QFont chosen;
        answer<QFontDialog>([&chosen](QFontDialog *dialog) {
            dialog->setCurrentFont(QFont(QFontDatabase().families().constLast(), 20));
            chosen = dialog->currentFont();
            dialog->accept();
        });
        window.findChild<QPushButton *>("setfont_btn")->click();
        QColor opensOn;
        answer<QColorDialog>([&opensOn](QColorDialog *dialog) {
            opensOn = dialog->currentColor();
            dialog->setCurrentColor(Qt::red);
            dialog->accept();
        });
        window.findChild<QPushButton *>("setcolor_btn")->click();
        QCOMPARE(opensOn, QColor(Qt::black));
        interval->setValue(0);
        add->click();
        interval->setValue(5);
        window.findChild<QCheckBox *>("transparent_cb")->setChecked(true);
        add->click();

        const QList<RollCaptionWindows *> shown = captions();
        QCOMPARE(shown.size(), 2);
        const bool firstRolls = shown.at(0)->testAttribute(Qt::WA_TranslucentBackground);
        RollCaptionWindows *standing = shown.at(firstRolls ? 1 : 0);
        RollCaptionWindows *rolling = shown.at(firstRolls ? 0 : 1);
        for (RollCaptionWindows *caption : shown) {
            QVERIFY(caption->isVisible());
            QVERIFY(caption->windowFlags() & Qt::FramelessWindowHint);
            QVERIFY(caption->windowFlags() & Qt::WindowStaysOnTopHint);
            QCOMPARE(caption->font().family(), chosen.family());
            QCOMPARE(caption->font().pointSize(), 20);
        }
        QCOMPARE(standing->grab().toImage().pixelColor(2, 2), QColor("gold"));
        QVERIFY(rolling->testAttribute(Qt::WA_TranslucentBackground));
        // Interval 0 stands at x 30; interval 5 moves a pixel every 5 ms.
        QTRY_VERIFY(redTextLeft(standing) >= 30 && redTextLeft(standing) <= 33);
        QTRY_VERIFY_WITH_TIMEOUT(redTextLeft(rolling) >= 0 && redTextLeft(rolling) < 300, 10000);
        rolling->findChild<QPushButton *>("font_close_pbtn")->click();
        QTRY_COMPARE(captions().size(), 1);
        QVERIFY(standing->isVisible());
    }

    void rightEdgeDragWidensTheCaption()
    {
        FontSetWindows window;
        window.findChild<QTextEdit *>("fonttext_te")->setPlainText(QStringLiteral("Wide"));
        window.findChild<QPushButton *>("addfont_btn")->click();
        RollCaptionWindows *caption = captions().value(0);
        QVERIFY(caption);
        const QRect before = caption->geometry();
        const QPoint edge(before.width() - 2, before.height() / 2);
        const auto send = [caption](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, caption->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(caption, &event);
        };
        send(QEvent::MouseMove, edge, Qt::NoButton);
        send(QEvent::MouseButtonPress, edge, Qt::LeftButton);
        send(QEvent::MouseMove, edge + QPoint(20, 0), Qt::LeftButton);
        send(QEvent::MouseButtonRelease, edge + QPoint(20, 0), Qt::NoButton);
        QCOMPARE(caption->geometry(), before.adjusted(0, 0, 20, 0));
    }

    void remoteCloseButtonCloses()
    {
        RemoteControlWindows window;
        window.show();
        window.findChild<QPushButton *>("close_pbtn")->click();
        QVERIFY(!window.isVisible());
    }

    void settingsRoundTrip()
    {
        {
            FontSetWindows window;
            window.show();
            window.findChild<QTextEdit *>("fonttext_te")->setPlainText(QStringLiteral("Two\nlines"));
            window.findChild<QSpinBox *>("msvalue_sp")->setValue(42);
            window.findChild<QCheckBox *>("transparent_cb")->setChecked(true);
            window.findChild<QComboBox *>("colorlist_cb")->setCurrentIndex(5);
            window.findChild<QPushButton *>("close_btn")->click();
        }
        FontSetWindows again;
        QCOMPARE(again.findChild<QTextEdit *>("fonttext_te")->toPlainText(), QStringLiteral("Two\nlines"));
        QCOMPARE(again.findChild<QSpinBox *>("msvalue_sp")->value(), 42);
        QVERIFY(again.findChild<QCheckBox *>("transparent_cb")->isChecked());
        QCOMPARE(again.findChild<QComboBox *>("colorlist_cb")->currentIndex(), 5);
    }

    void storedColourOutsideTheListFallsBackToTheFirst()
    {
        QFile ini(ConfigFile::path());
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[FontSetting]\nText=Hello\nTDelay=150\nBgColorIndex=100000\n") > 0);
        ini.close();
        FontSetWindows window;
        QCOMPARE(window.findChild<QSpinBox *>("msvalue_sp")->value(), 99);
        window.findChild<QPushButton *>("addfont_btn")->click();
        QCOMPARE(captions().size(), 1);
        QCOMPARE(captions().at(0)->grab().toImage().pixelColor(2, 2), QColor(QColor::colorNames().first()));
    }
};

VW_TEST_MAIN(TestPlaybackWindows)
#include "tst_playbackwindows.moc"
