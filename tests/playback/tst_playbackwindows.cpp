#include "configfile.h"
#include "savedconfig.h"
#include "globalobject.h"
#include "goldenrows.h"
#include "captiontextedit.h"
#include "fontsetwindows.h"
#include "formfields.h"
#include "openwatch.h"
#include "rollcaptionwindows.h"
#include "tcpcaptureserver.h"
#include "testmain.h"
#include "timingsetwindows.h"

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
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *caption = qobject_cast<RollCaptionWindows *>(widget))
            list.append(caption);
    return list;
}

// A picture's columns left to right: '#' where one shows red text, '.' elsewhere.
QString redColumns(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QString columns(image.width(), QLatin1Char('.'));
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qRed(line[x]) > 200 && qGreen(line[x]) < 60 && qBlue(line[x]) < 60)
                columns[x] = QLatin1Char('#');
    }
    return columns;
}

// Leftmost column of the caption that shows red text, -1 for none.
int redTextLeft(QWidget *caption)
{
    return redColumns(caption->grab().toImage()).indexOf(QLatin1Char('#'));
}

// "a2000Qb1999": 2000 a's, a Q, 1999 b's; a character without a count stands once.
QString spelled(const QString &written)
{
    // "\u{1F600}" stands for that character.
    QString runs = written;
    QRegularExpressionMatch escape;
    while ((escape = QRegularExpression(QStringLiteral("\\\\u\\{([0-9A-Fa-f]+)\\}")).match(runs)).hasMatch()) {
        const char32_t code = escape.captured(1).toUInt(nullptr, 16);
        runs.replace(escape.capturedStart(), escape.capturedLength(), QString::fromUcs4(&code, 1));
    }
    QString text;
    QRegularExpressionMatchIterator run = QRegularExpression(QStringLiteral("(\\D)(\\d*)")).globalMatch(runs);
    while (run.hasNext()) {
        const QRegularExpressionMatch match = run.next();
        text += match.captured(1).repeated(match.captured(2).isEmpty() ? 1 : match.captured(2).toInt());
    }
    return text;
}

// The same notation read back from a text: a run of two or more carries its count.
QString runs(const QString &text)
{
    QString written;
    for (int i = 0; i < text.size();) {
        int end = i;
        while (end < text.size() && text.at(end) == text.at(i))
            ++end;
        written += text.at(i) + (end - i > 1 ? QString::number(end - i) : QString());
        i = end;
    }
    return written;
}

} // namespace

// The captions and the power schedule on a clock
// of the test's own: each tick is one time of day.
// Named as the schedule window befriends it, for its timer.
class TestPowerSchedule : public QObject
{
    Q_OBJECT

    TcpCaptureServer bridge;
    QDateTime now;

private slots:
    void initTestCase()
    {
        QVERIFY(bridge.openMainLink());
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(QStringLiteral("picture.png")));
    }

    void cleanup()
    {
        qDeleteAll(captions());
        QFile::remove(ConfigFile::path()); ConfigFile::readAgain();
    }

    void captionsTakeTheChosenLook()
    {
        FontSetWindows window;
        // The background list has no names: each swatch shows its colour.
        const QStringList names = QColor::colorNames();
        auto *list = child<QComboBox>(&window, "colorlist_cb");
        QCOMPARE(list->count(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QVERIFY2(list->itemIcon(i).pixmap(70, 20).toImage().pixel(35, 10) == QColor(names.at(i)).rgba(),
                     qPrintable(names.at(i)));
        auto *add = child<QPushButton>(&window, "addfont_btn");
        add->click();
        QCOMPARE(captions().size(), 0); // no text, no caption
        enter(&window, {"fonttext_te=Line", "colorlist_cb=" + QString::number(QColor::colorNames().indexOf("gold"))});
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
        enter(&window, {"msvalue_sp=0"});
        add->click();
        enter(&window, {"msvalue_sp=5", "transparent_cb=1"});
        add->click();

        const QList<RollCaptionWindows *> shown = captions();
        QCOMPARE(shown.size(), 2);
        const bool firstRolls = shown.at(0)->testAttribute(Qt::WA_TranslucentBackground);
        RollCaptionWindows *standing = shown.at(firstRolls ? 1 : 0);
        RollCaptionWindows *rolling = shown.at(firstRolls ? 0 : 1);
        for (RollCaptionWindows *caption : shown) {
            QVERIFY(caption->isVisible() && caption->windowFlags().testFlag(Qt::FramelessWindowHint)
                    && caption->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
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

    void dragResizesOrMovesTheCaption_data() { goldenRows(QStringLiteral("captiondrag.tsv")); }
    void dragResizesOrMovesTheCaption()
    {
        FontSetWindows window;
        enter(&window, {"fonttext_te=Wide"});
        child<QPushButton>(&window, "addfont_btn")->click();
        RollCaptionWindows *caption = captions().value(0);
        QVERIFY(caption);
        const QRect before = caption->geometry();
        const auto send = [caption](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, caption->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
            QCoreApplication::sendEvent(caption, &event);
        };
        // Each drag grabs the caption where it is at that moment, at the
        // row's grab point or at the one after its "@".
        for (const QString &token : golden("by").split(' ')) {
            const QString drag = token.section('@', 0, 0);
            const QString grab = token.contains('@') ? token.section('@', 1).replace('-', ' ') : golden("grab");
            const bool left = grab.endsWith(QLatin1String("left")), right = grab.endsWith(QLatin1String("right"));
            const bool upper = grab.startsWith(QLatin1String("upper")), lower = grab.startsWith(QLatin1String("lower"));
            const QSize size = caption->size();
            const QPoint edge(left ? 1 : right ? size.width() - 2 : size.width() / 2,
                              upper ? 1 : lower ? size.height() - 2 : size.height() / 2);
            const QStringList by = drag.split(',');
            const QPoint to = edge + QPoint(by.value(0).toInt(), by.value(1).toInt());
            const QPoint grabbedAt = caption->mapToGlobal(edge);
            send(QEvent::MouseMove, edge, Qt::NoButton);
            if (!token.contains('@'))
                QCOMPARE(QString::fromLatin1(QMetaEnum::fromType<Qt::CursorShape>().valueToKey(caption->cursor().shape())),
                         golden("cursor"));
            send(QEvent::MouseButtonPress, edge, Qt::LeftButton);
            send(QEvent::MouseMove, to, Qt::LeftButton);
            // "back": the pointer returns to where it grabbed before the release.
            const QPoint end = golden("back") == QLatin1String("yes") ? caption->mapFromGlobal(grabbedAt) : to;
            if (end != to)
                send(QEvent::MouseMove, end, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, end, Qt::NoButton);
        }
        const QStringList change = golden("change").split(',');
        QCOMPARE(caption->geometry(), before.adjusted(change.value(0).toInt(), change.value(1).toInt(),
                                                      change.value(2).toInt(), change.value(3).toInt()));
    }

    // Tick by tick the text comes in at the right edge, slides a pixel to
    // the left, leaves by the left edge entirely, and only then comes in at
    // the right again.
    void textLeavesTheLeftEdgeBeforeItComesBack_data() { goldenRows(QStringLiteral("captionroll.tsv")); }
    void textLeavesTheLeftEdgeBeforeItComesBack()
    {
        auto *caption = new RollCaptionWindows;
        caption->setTextColor(Qt::red);
        caption->setInterval(std::numeric_limits<int>::max()); // the ticks come from the test alone
        const QString text = spelled(golden("text"));
        caption->setText(text);
        caption->setBackgroundColor(Qt::white);
        caption->show();
        QVERIFY(QTest::qWaitForWindowExposed(caption));
        const auto timers = QAbstractEventDispatcher::instance()->registeredTimers(caption);
        QCOMPARE(timers.size(), 1);
        QTimerEvent tick(timers.first().timerId);
        // Bounds the run only: two passes take far fewer ticks.
        const int enough = 3 * (caption->width() + caption->fontMetrics().horizontalAdvance(text));
        // The screen shows what the caption has painted, not what it would paint now.
        const auto shown = [caption] { return redColumns(caption->screen()->grabWindow(caption->winId()).toImage()); };
        QStringList seen; // "in": came in at the right edge, "out": gone by the left edge
        QString was = shown();
        for (int ticks = 1; seen.size() < 4 && ticks < enough; ++ticks) {
            QCoreApplication::sendEvent(caption, &tick);
            QCoreApplication::processEvents(); // the repaint the tick asked for
            const QString now = shown();
            // A pixel to the left; only the right edge brings in new columns.
            QVERIFY2(now.chopped(1) == was.mid(1),
                     qPrintable(QStringLiteral("tick %1: red from x %2 to %3, before from %4 to %5")
                                    .arg(ticks)
                                    .arg(now.indexOf('#')).arg(now.lastIndexOf('#'))
                                    .arg(was.indexOf('#')).arg(was.lastIndexOf('#'))));
            if (now.contains('#') != was.contains('#'))
                seen.append(now.contains('#') ? QStringLiteral("in") : QStringLiteral("out"));
            was = now;
        }
        QCOMPARE(seen.join(QLatin1Char(' ')), QStringLiteral("in out in out"));
    }

    // A hidden caption stops rolling, and each showing rolls it by one
    // timer: the timers registered on it after each step.
    void hiddenCaptionStopsRolling()
    {
        auto *caption = new RollCaptionWindows;
        caption->setText(QStringLiteral("Line"));
        caption->setInterval(10);
        QList<int> timers;
        for (const bool shown : {true, false, true, false, true}) {
            caption->setVisible(shown);
            timers << QAbstractEventDispatcher::instance()->registeredTimers(caption).size();
        }
        QCOMPARE(timers, QList<int>({1, 0, 1, 0, 1}));
    }

    // The close button shows only while the pointer is over the caption; a
    // transparent caption is tinted meanwhile, so its extent can be seen.
    void closeButtonShowsWhileThePointerIsOver_data() { goldenRows(QStringLiteral("captionhover.tsv")); }
    void closeButtonShowsWhileThePointerIsOver()
    {
        auto *caption = new RollCaptionWindows;
        if (golden("background") == QLatin1String("transparent"))
            caption->setTransparent();
        else
            caption->setBackgroundColor(Qt::white);
        const QPoint inside(180, 60), outside(-40, 60);
        QTest::mouseMove(caption, outside);
        caption->show();
        QVERIFY(QTest::qWaitForWindowExposed(caption));
        for (const QString &step : goldenList(golden("pointer")))
            QTest::mouseMove(caption, step == QLatin1String("over") ? inside : outside);
        auto *close = child<QPushButton>(caption, "font_close_pbtn");
        QTRY_COMPARE(QString(close->isVisible() ? "shown" : "hidden"), golden("button"));
        QCOMPARE(QColor::fromRgba(caption->grab().toImage().pixel(inside)).name(QColor::HexArgb), golden("inside"));
    }

    void storedColourOutsideTheListFallsBackToTheFirst_data() { goldenRows(QStringLiteral("captioncolour.tsv")); }
    void storedColourOutsideTheListFallsBackToTheFirst()
    {
        const QByteArray index = golden("index").toLatin1();
        QFile ini(ConfigFile::path());
        QVERIFY(ini.open(QIODevice::WriteOnly)
                && ini.write("[FontSetting]\nText=Hello\nTDelay=150\nBgColorIndex=" + index + "\n") > 0);
        ini.close();
        FontSetWindows window;
        QCOMPARE(child<QSpinBox>(&window, "msvalue_sp")->value(), 99);
        QCOMPARE(child<QComboBox>(&window, "colorlist_cb")->currentIndex(), 0); // shown, not left empty
        child<QPushButton>(&window, "addfont_btn")->click();
        QCOMPARE(captions().size(), 1);
        QCOMPARE(captions().at(0)->grab().toImage().pixelColor(2, 2), QColor(QColor::colorNames().first()));
    }

    // The caption box takes plain text, and no more than it holds, by every
    // way text comes in; what it then holds is what config.ini keeps.
    void captionBoxTakesPlainTextWithinItsLength_data() { goldenRows(QStringLiteral("captiontext.tsv")); }
    void captionBoxTakesPlainTextWithinItsLength()
    {
        FontSetWindows window;
        window.show();
        auto *box = child<QTextEdit>(&window, "fonttext_te");
        const QString before = spelled(golden("before"));
        box->setPlainText(QString(before).remove(QLatin1Char('|')));
        // "|" the cursor; a second one ends a selection that starts there.
        QTextCursor cursor = box->textCursor();
        const int at = before.indexOf(QLatin1Char('|'));
        cursor.setPosition(at);
        const int selected = before.indexOf(QLatin1Char('|'), at + 1);
        if (selected > 0)
            cursor.setPosition(selected - 1, QTextCursor::KeepAnchor);
        box->setTextCursor(cursor);
        const QString picture = QDir::current().absoluteFilePath(QStringLiteral("picture.png"));
        const OpenWatch watch(picture);
        QVERIFY(watch.isValid());
        // The most the box held while the input came in, each change seen
        // before anything could cut it: what lands is laid out whole.
        int most = 0;
        connect(box->document(), &QTextDocument::contentsChange, this,
                [&] { most = std::max(most, box->document()->characterCount() - 1); });

        // Steps in turn, each with its "|"-separated part of the text.
        const QStringList texts = golden("text").split(QLatin1Char('|'));
        int next = 0;
        bool bySetting = false; // text the program inserts is cut once it has landed
        for (const QString &input : golden("input").replace(QLatin1String(", then "), QLatin1String(" then "))
                                        .split(QLatin1String(" then "))) {
            const QString text = input == QLatin1String("undo") || input == QLatin1String("nothing")
                                     ? QString()
                                     : spelled(texts.value(next++));
            if (input.startsWith(QLatin1String("keys"))) {
                QTest::keyClicks(box, text);
                if (input.endsWith(QLatin1String(" and Enter")))
                    QTest::keyClick(box, Qt::Key_Return);
            } else if (input == QLatin1String("one key")) { // as a compose key or a keyboard macro sends it
                QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, text);
                QCoreApplication::sendEvent(box, &key);
            } else if (input == QLatin1String("menu")) { // as the context menu puts in a Unicode control character
                box->insertPlainText(text);
                bySetting = true;
            } else if (input == QLatin1String("set")) { // as a window sets the text kept in config.ini
                box->setPlainText(text);
                bySetting = true;
            } else if (input.startsWith(QLatin1String("input method"))) { // "input method replacing N" claims N
                QInputMethodEvent commit;
                const QString claim = input.section(QLatin1Char(' '), 3);
                commit.setCommitString(text, 0,
                                       claim == QLatin1String("INT_MAX") ? std::numeric_limits<int>::max() : claim.toInt());
                QCoreApplication::sendEvent(box, &commit);
            } else if (input.startsWith(QLatin1String("preedit"))) { // "preedit and commit" takes the next text too
                // "preedit with its caret": the caret at its end, as an input method sets it;
                // "preedit underlined": underlined whole, as an input method marks what it composes.
                QList<QInputMethodEvent::Attribute> marks;
                if (input.endsWith(QLatin1String(" with its caret")))
                    marks << QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, text.size(), 1);
                QTextCharFormat underline;
                underline.setFontUnderline(true);
                if (input.endsWith(QLatin1String(" underlined")))
                    marks << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, text.size(), underline);
                QInputMethodEvent composing(text, marks);
                if (input.endsWith(QLatin1String(" and commit")))
                    composing.setCommitString(spelled(texts.value(next++)));
                QCoreApplication::sendEvent(box, &composing);
            } else if (input == QLatin1String("undo")) {
                QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
            } else if (input != QLatin1String("nothing")) { // a paste or a drop, of the plain text and the HTML a browser gives
                auto data = std::make_unique<QMimeData>();
                if (!text.isEmpty())
                    data->setText(text);
                if (!golden("html").isEmpty())
                    data->setHtml(golden("html").replace(QStringLiteral("%FILE%"), picture));
                if (input == QLatin1String("paste")) {
                    QApplication::clipboard()->setMimeData(data.release());
                    box->paste();
                } else {
                    const QPoint at = box->viewport()->rect().center();
                    QDragEnterEvent entering(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
                    QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
                    QCoreApplication::sendEvent(box->viewport(), &entering); // the drop goes where the drag was taken
                    QCoreApplication::sendEvent(box->viewport(), &drop);
                }
            }
        }
        box->grab(); // laid out and drawn, pictures and all
        // A preedit is laid out with the text but is not part of it.
        const QString preedit = box->textCursor().block().layout()->preeditAreaText();
        const QStringList kept = golden("kept").split(QLatin1String(" preedit "));
        // "|" in what is kept: where the cursor then stands.
        const QString keptAndCursor = spelled(kept.first());
        const QString keptText = QString(keptAndCursor).remove(QLatin1Char('|'));
        QCOMPARE(runs(box->toPlainText()), runs(keptText));
        if (keptAndCursor.contains(QLatin1Char('|')))
            QCOMPARE(box->textCursor().position(), keptAndCursor.indexOf(QLatin1Char('|')));
        QCOMPARE(runs(preedit), runs(spelled(kept.value(1))));
        if (golden("input").endsWith(QLatin1String(" with its caret"))) {
            // The caret stands where it stands for the preedit shown.
            const QRect caret = box->cursorRect();
            QInputMethodEvent shown(preedit, {{QInputMethodEvent::Cursor, int(preedit.size()), 1}});
            QCoreApplication::sendEvent(box, &shown);
            QCOMPARE(caret, box->cursorRect());
        }
        // The text around the preedit is drawn as it is, in no format of the preedit's.
        const QTextLayout *layout = box->textCursor().block().layout();
        for (const QTextLayout::FormatRange &range : layout->formats())
            QVERIFY(range.start >= layout->preeditAreaPosition()
                    && range.start + range.length <= layout->preeditAreaPosition() + preedit.size());
        QVERIFY2(bySetting || most <= CaptionTextEdit::maxLength, qPrintable(QString::number(most)));
        QVERIFY(!watch.opened());
        child<QPushButton>(&window, "close_btn")->click();
        QCOMPARE(runs(QSettings(ConfigFile::path(), QSettings::IniFormat).value("FontSetting/Text").toString()),
                 runs(keptText));
    }

    // At a full caption a key the box takes as typing is used up, though none
    // of it fits; any other key goes on to the window, as the box leaves it.
    void keysAtAFullCaption_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("usedUp");
        QTest::newRow("a letter is used up") << int(Qt::Key_Q) << QStringLiteral("Q") << true;
        QTest::newRow("Escape goes on to the window") << int(Qt::Key_Escape) << QStringLiteral("\x1b") << false;
    }
    void keysAtAFullCaption()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, usedUp);
        FontSetWindows window;
        auto *box = child<QTextEdit>(&window, "fonttext_te");
        const QString full(CaptionTextEdit::maxLength, QLatin1Char('a'));
        box->setPlainText(full);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(box, &press);
        QCOMPARE(press.isAccepted(), usedUp);
        QCOMPARE(box->toPlainText(), full);
    }

    void firesOncePerEventAndDay_data() { goldenRows(QStringLiteral("powerschedule.tsv")); }

    void firesOncePerEventAndDay()
    {
        {
            const auto settings = ConfigFile::open();
            for (const QString &entry : golden("schedule").split(' '))
                settings->setValue("TimingConfig/" + entry.section('=', 0, 0), entry.section('=', 1));
            settings->setValue(QStringLiteral("TimingConfig/Switch"), 1);
            QVERIFY(ConfigFile::save(*settings));
        }
        TimingSetWindows window;
        window.setClock([this] { return now; });
        GlobalObject::linkOpen = true;
        child<QAbstractButton>(&window, "starttime_btn")->click();
        bridge.clearLog();

        for (QString tick : golden("ticks").split(' ')) {
            if (tick == QLatin1String("OK") || tick.contains('=')) { // the operator's hand
                tick.contains('=') ? enter(&window, {tick}) : child<QAbstractButton>(&window, "starttime_btn")->click();
                continue;
            }
            GlobalObject::linkOpen = !tick.startsWith(QLatin1String("closed"));
            now = QDateTime::fromString("2026-" + tick.remove("closed"), QStringLiteral("yyyy-MM-ddThh:mm:ss.zzz"));
            QTimerEvent event(window.timerId);
            QCoreApplication::sendEvent(&window, &event);
        }
        GlobalObject::linkOpen = true;
        QTRY_COMPARE_WITH_TIMEOUT(bridge.log().bytes(), QByteArray::fromHex(golden("frames").toLatin1()), 5000);
        // A stopped schedule leaves no timer behind: only the one it counts runs.
        QCOMPARE(QAbstractEventDispatcher::instance()->registeredTimers(&window).size(), window.timerId != 0 ? 1 : 0);
    }

    void repeatOutsideTheListReadsAsEverydayAndTheSwitchEnablesTheTimes()
    {
        QVERIFY(saveConfigValue(QStringLiteral("TimingConfig/Model"), 2));
        TimingSetWindows window;
        QCOMPARE(child<QComboBox>(&window, "model_cb")->currentIndex(), 0);
        for (const QString on : {"1", "0"}) {
            enter(&window, {"on_off_btn=" + on});
            QCOMPARE(child<QSpinBox>(&window, "bhour_sb")->isEnabled(), on == "1");
        }
    }

    // What was set is kept through a restart: the window ended by its own
    // button (the schedule's "OK" confirms and closes) or left open when the
    // program ends.
    void settingsSurviveARestart_data() { goldenRows(QStringLiteral("windowrestart.tsv")); }
    void settingsSurviveARestart()
    {
        const QStringList values = goldenList(golden("values").replace(QStringLiteral("\\n"), QStringLiteral("\n")));
        const auto make = []() -> std::unique_ptr<QWidget> {
            if (golden("window") == QLatin1String("caption"))
                return std::make_unique<FontSetWindows>();
            return std::make_unique<TimingSetWindows>();
        };
        {
            const auto window = make();
            window->show();
            enter(window.get(), values);
            endSession(window.get(), golden("ending"));
            QCOMPARE(window->isVisible(), golden("ending") == QLatin1String("quit"));
        }
        QCOMPARE(shownNow(make().get(), values), values);
    }
};

VW_TEST_MAIN(TestPowerSchedule)
#include "tst_playbackwindows.moc"
