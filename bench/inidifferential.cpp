// The console's INI reading, writing and saving against QSettings' own, at
// length:
//   inidifferential [seed] [texts] [key sets] [saves]
// Prints the seed, the counts and every difference (at most 20); exits 1
// when there is one. The suite runs the same with fewer of each.

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

#include "inidifferential.h"

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // QSettings warns of names it cannot look up; the counts say enough.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const quint32 seed = argc > 1 ? QByteArray(argv[1]).toUInt() : QRandomGenerator::global()->generate();
    const int texts = argc > 2 ? QByteArray(argv[2]).toInt() : 200000;
    const int keySets = argc > 3 ? QByteArray(argv[3]).toInt() : 200000;
    const int saves = argc > 4 ? QByteArray(argv[4]).toInt() : 20000;
    QTemporaryDir folder;
    if (!folder.isValid() || !QDir::setCurrent(folder.path()))
        return 2;
    QRandomGenerator random(seed);
    int differences = 0;
    const auto tell = [&differences](const QString &difference) {
        if (!difference.isEmpty() && ++differences <= 20)
            std::printf("%s\n", qPrintable(difference));
    };
    for (int n = 0; n < texts; ++n)
        tell(IniDifferential::textDifference(IniDifferential::randomText(random)));
    for (int n = 0; n < keySets; ++n)
        tell(IniDifferential::keysDifference(IniDifferential::randomKeys(random)));
    for (int n = 0; n < saves; ++n)
        tell(IniDifferential::saveDifference(IniDifferential::randomText(random), random));
    std::printf("seed %u: %d texts, %d key sets, %d saves, %d differences\n", seed, texts, keySets, saves,
                differences);
    return differences ? 1 : 0;
}
