#ifndef MATRIXBROWSEDATA_H
#define MATRIXBROWSEDATA_H

#include <QMetaType>
#include <QString>

// Matrix context of one matrix tour pass. It crosses from the GUI thread to
// the tour's worker thread by value through a queued signal, so it holds only
// implicitly shared texts and plain integers.
struct MATRIXBROWSEDATA
{
    QString signalType;
    QString matrixModel;
    QString videoId;
    QString dviId;
    QString vgaId;
    QString hdmiId;
    int intervalTime = 0; // milliseconds between the frames of one step
};

Q_DECLARE_METATYPE(MATRIXBROWSEDATA)

#endif // MATRIXBROWSEDATA_H
