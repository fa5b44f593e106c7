#ifndef ADDRESSCOMMANDS_H
#define ADDRESSCOMMANDS_H

#include <QList>
#include <QString>

// Screen addressing commands, shared by the address set window and the main
// window's own address page: both send the same frames from the same fields.
namespace AddressCommands {

enum class Action { GetSequence, LookAddress, Lock, Unlock, SetAddress };

// One LCD controller frame still to build: code, parameter and the target of
// Communication::makeCommand.
struct Frame
{
    QString code;
    QString param;
    int target = 0;
};

struct Plan
{
    QList<Frame> frames;
    QString error; // set when the action is refused; frames is then empty
};

// The frames of one action from the texts of the sequence, row and column
// fields (an empty field counts as 0). "Set address" is refused as a whole
// when the row or column does not fit the two-digit code of its frame; lock
// and unlock send nothing while no screen is selected.
Plan build(Action action, const QString &sequence, const QString &row, const QString &column);

// Builds and sends the frames one after the other on the main link, each
// followed by the 50 ms wait.
void send(const QList<Frame> &frames);

// What a window's address button does: builds the frames and sends them, or
// tells the operator in a "Prompt" message why the command was refused.
void perform(Action action, const QString &sequence, const QString &row, const QString &column);

} // namespace AddressCommands

#endif // ADDRESSCOMMANDS_H
