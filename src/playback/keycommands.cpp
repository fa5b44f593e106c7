#include "keycommands.h"

#include <QObject>

#include "communication.h"
#include "globalobject.h"

bool KeyCommands::send(const QObject *sender, const KeyCommand *table, std::size_t count)
{
    if (!sender)
        return false;
    for (std::size_t i = 0; i < count; ++i) {
        const KeyCommand &key = table[i];
        if (sender->objectName() != QLatin1String(key.button))
            continue;
        const QString code = GlobalObject::instructionHash.value(QLatin1String(key.code));
        const QString param = key.literalParam ? QString::fromLatin1(key.param)
                                               : GlobalObject::instructionHash.value(QLatin1String(key.param));
        // With no screen selected the builder gives no frame for target 0,
        // so nothing goes out; the fixed pairs still do.
        return sendLcdCommand(code, param, false, key.target);
    }
    return false;
}
