// How long the caption box takes to answer input that brings far more than
// it holds, by each way such input can come: an input method's commit that
// claims to replace more than there is, a long preedit, a key whose text
// starts with a character outside the Basic Multilingual Plane, a paste, and
// a text set by the program. Each answer is timed from the event's delivery
// to its return, with the box laid out and drawn.

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QKeyEvent>

#include <climits>
#include <cstdio>
#include <functional>

#include "captiontextedit.h"

namespace {

constexpr double targetMs = 100;
const QString flood(300000, QLatin1Char('x'));

// Milliseconds the box took for the input, the box starting empty.
double timed(const std::function<void(CaptionTextEdit &)> &input)
{
    CaptionTextEdit box;
    box.resize(400, 200);
    box.show();
    QCoreApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    input(box);
    box.grab();
    return clock.nsecsElapsed() / 1e6;
}

void sendCommit(CaptionTextEdit &box, int replaced)
{
    QInputMethodEvent commit;
    commit.setCommitString(flood, 0, replaced);
    QCoreApplication::sendEvent(&box, &commit);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const char32_t unassigned = 0x50000;
    const struct
    {
        const char *name;
        std::function<void(CaptionTextEdit &)> input;
    } doors[] = {
        {"commit of 300,000 replacing 300,000", [](CaptionTextEdit &box) { sendCommit(box, 300000); }},
        {"commit of 300,000 replacing INT_MAX", [](CaptionTextEdit &box) { sendCommit(box, INT_MAX); }},
        {"preedit of 300,000",
         [](CaptionTextEdit &box) {
             QInputMethodEvent composing(flood, {});
             QCoreApplication::sendEvent(&box, &composing);
         }},
        {"key of U+50000 and 300,000",
         [&](CaptionTextEdit &box) {
             QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString::fromUcs4(&unassigned, 1) + flood);
             QCoreApplication::sendEvent(&box, &key);
         }},
        {"paste of 300,000",
         [](CaptionTextEdit &box) {
             QApplication::clipboard()->setText(flood);
             box.paste();
         }},
    };
    bool met = true;
    for (const auto &door : doors) {
        const double ms = timed(door.input);
        met = met && ms <= targetMs;
        std::printf("%-40s %8.1f ms\n", door.name, ms);
    }
    std::printf("target (each <= %.0f ms): %s\n", targetMs, met ? "met" : "missed");
    return met ? 0 : 1;
}
