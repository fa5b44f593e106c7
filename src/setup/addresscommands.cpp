#include "addresscommands.h"

#include <QCoreApplication>

#include "communication.h"
#include "globalobject.h"
#include "messagebox.h"

namespace AddressCommands {

namespace {

constexpr int kMaxAddress = 0xFF;   // one byte in the frame
constexpr int kMaxSequence = 9999; // four decimal digits in the field

// The one-frame actions: instruction name, parameter name, target.
struct OneFrame
{
    Action action;
    const char *instruction;
    const char *parameter;
    int target;
};

const OneFrame kOneFrameActions[] = {
    {Action::GetSequence, "get_address", "get", 3},  // FF -> 22
    {Action::LookAddress, "look_address", "look", 4}, // FF -> 24
    {Action::Lock, "address_set", "lock", 0},        // first -> last selected
    {Action::Unlock, "address_set", "unlock", 0},
};

constexpr int kSequenceTarget = 7; // FF -> 23
constexpr int kRowTarget = 5;      // FF -> 20
constexpr int kColumnTarget = 6;   // FF -> 21

QString code(const char *name)
{
    // value(), not the inserting subscript: the table is shared and must not grow.
    return GlobalObject::instructionHash.value(QLatin1String(name));
}

QString hexCode(int value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

} // namespace

Plan build(Action action, const QString &sequence, const QString &row, const QString &column)
{
    Plan plan;
    for (const OneFrame &one : kOneFrameActions) {
        if (one.action != action)
            continue;
        const QString instruction = code(one.instruction);
        const QString parameter = code(one.parameter);
        // Lock and unlock address the selected screens; with none selected
        // the frame would have no first and last address.
        if (instruction.isEmpty() || parameter.isEmpty()
            || (one.target == 0 && GlobalObject::targetAddressList.isEmpty()))
            return plan;
        plan.frames.append({instruction, parameter, one.target});
        return plan;
    }

    // Set address: sequence number, then row, then column.
    const int seq = sequence.toInt();
    const int r = row.toInt();
    const int c = column.toInt();
    if (r < 0 || r > kMaxAddress || c < 0 || c > kMaxAddress) {
        plan.error = QCoreApplication::translate("AddressCommands",
                                                 "Row and column addresses must be from 0 to 255.");
        return plan;
    }
    if (seq < 0 || seq > kMaxSequence) {
        plan.error = QCoreApplication::translate("AddressCommands",
                                                 "The sequence number must be from 0 to 9999.");
        return plan;
    }
    const QString s = hexCode(seq, 4);
    const QString set = code("set");
    plan.frames.append({s.left(2), s.right(2), kSequenceTarget});
    plan.frames.append({hexCode(r, 2), set, kRowTarget});
    plan.frames.append({hexCode(c, 2), set, kColumnTarget});
    return plan;
}

void send(const QList<Frame> &frames)
{
    for (const Frame &frame : frames)
        sendLcdCommand(frame.code, frame.param, false, frame.target);
}

void perform(Action action, const QString &sequence, const QString &row, const QString &column)
{
    const Plan plan = build(action, sequence, row, column);
    if (!plan.error.isEmpty()) {
        MessageBox box;
        box.setMessage(QCoreApplication::translate("AddressCommands", "Prompt"), plan.error);
        box.exec();
        return;
    }
    send(plan.frames);
}

} // namespace AddressCommands
