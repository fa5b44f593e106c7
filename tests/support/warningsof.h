#ifndef WARNINGSOF_H
#define WARNINGSOF_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

// The warning lines that step gives, joined by '|'.
template <typename Step>
QString warningsOf(Step step)
{
    static QStringList warnings;
    warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtWarningMsg)
                warnings << text;
        });
    step();
    qInstallMessageHandler(previous);
    return warnings.join(QLatin1Char('|'));
}

#endif // WARNINGSOF_H
