#ifndef MATRIXCASE_H
#define MATRIXCASE_H

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTest>

#include "communication.h"

// Shared by the matrix switching and scene tests. Expected frames are written
// as hex strings and decoded with QByteArray::fromHex, so an expectation never
// goes through the converters under test.
namespace MatrixCase {

// The frames of texts sent as their characters. A hex text is its own frame.
inline QStringList asciiFrames(const QStringList &texts)
{
    QStringList frames;
    for (const QString &text : texts)
        frames << QString::fromLatin1(text.toLatin1().toHex());
    return frames;
}

// The address goes into the field of the signal type only; the others hold
// a value that would show if a row read the wrong one.
inline InstructionRecord record(const QString &signalType, const QString &model,
                                const QString &address, int input = 0)
{
    InstructionRecord rec;
    rec.signalType = signalType;
    rec.model = model;
    rec.dviId = signalType == QLatin1String("DVI") ? address : QStringLiteral("77");
    rec.hdmiId = signalType == QLatin1String("HDMI") ? address : QStringLiteral("77");
    rec.vgaId = signalType == QLatin1String("VGA") ? address : QStringLiteral("77");
    rec.videoId = signalType == QLatin1String("VIDEO") ? address : QStringLiteral("77");
    rec.value = input;
    return rec;
}

// The texts kept for the echo and the frames returned, one to one.
inline void compareCall(const Communication &link, const QList<QByteArray> &result,
                        const QStringList &texts, const QStringList &frames)
{
    QCOMPARE(QStringList(link.matrixTexts), texts);
    QCOMPARE(result.size(), link.matrixTexts.size());
    QCOMPARE(result.size(), frames.size());
    for (int i = 0; i < frames.size(); ++i) {
        QVERIFY2(frames.at(i).size() % 2 == 0, "expected frame with a lone hex digit");
        QCOMPARE(result.at(i), QByteArray::fromHex(frames.at(i).toLatin1()));
    }
}

} // namespace MatrixCase

#endif // MATRIXCASE_H
