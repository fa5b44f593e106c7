#ifndef MATRIXTOUR_H
#define MATRIXTOUR_H

#include <QList>
#include <QString>

#include "matrixbrowsedata.h"
#include "matrixcommands.h"

// A matrix tour walks the switching rows of the matrix command sets; a row
// says where the tour sends otherwise than a manual switch.
struct TourModel
{
    const MatrixCommands::Row *row = nullptr; // null: the tour holds no such model
    QString address;                          // the record's address of the signal type
    int conversion = 1;                       // 0 hex text, 1 ASCII text, 2 mixed text
    int link = 0;                             // 0 RGB-matrix link, 1 video-matrix link
    bool ownPortOnly = false;                 // steps only while the RGB matrix's port is open
};

TourModel findTourModel(const MATRIXBROWSEDATA &record);

// The texts of one step: the input routed to every output from firstOutput
// to lastOutput, in that order. A pair that cannot be built adds nothing.
QList<QString> tourStepTexts(const TourModel &model, int input, int firstOutput, int lastOutput);

#endif // MATRIXTOUR_H
