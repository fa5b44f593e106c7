#ifndef KEYCOMMANDS_H
#define KEYCOMMANDS_H

#include <QAbstractButton>
#include <QObject>

#include <cstddef>

// One command button of a key window: the instruction-table names of its
// code and parameter (or a literal two-digit parameter) and its addressing.
struct KeyCommand
{
    const char *button;
    const char *code;
    const char *param;
    bool literalParam;
    int target; // 0: the selected screens; 1 to 8: the fixed address pairs
};

namespace KeyCommands {

// Sends the one frame of the entry whose button is sender. Nothing is sent
// for another sender or for a name missing from the instruction table. True
// when the link took the frame.
bool send(const QObject *sender, const KeyCommand *table, std::size_t count);

template <std::size_t N>
bool send(const QObject *sender, const KeyCommand (&table)[N])
{
    return send(sender, table, N);
}

// Connects the clicked signal of every table button of window to slot.
template <typename Window, std::size_t N>
void connectAll(Window *window, const KeyCommand (&table)[N], void (Window::*slot)())
{
    for (const KeyCommand &key : table) {
        if (auto *button = window->template findChild<QAbstractButton *>(QLatin1String(key.button)))
            QObject::connect(button, &QAbstractButton::clicked, window, slot);
    }
}

} // namespace KeyCommands

#endif // KEYCOMMANDS_H
