#include "adjustframes.h"

#include "communication.h"
#include "globalobject.h"

namespace AdjustFrames {

QString code(const char *name)
{
    return GlobalObject::instructionHash.value(QLatin1String(name));
}

void sendCode(const char *instruction, const QString &param)
{
    sendLcdCommand(code(instruction), param, false, 0);
}

void send(const char *instruction, const char *param)
{
    sendCode(instruction, code(param));
}

QString byteText(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

} // namespace AdjustFrames
