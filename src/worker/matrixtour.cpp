#include "matrixtour.h"

#include "communication.h"

namespace {

constexpr int kVideo = 3;

int conversionOf(const MatrixCommands::Row &row)
{
    if (row.tour & MatrixCommands::TourHexWire)
        return 0;
    switch (row.encoding) {
    case MatrixCommands::Encoding::Hex:
        return 0;
    case MatrixCommands::Encoding::Ascii:
        return 1;
    case MatrixCommands::Encoding::Mixed:
        break;
    }
    return 2;
}

} // namespace

TourModel findTourModel(const MATRIXBROWSEDATA &record)
{
    const int signalType = Communication::signalTypeIndex(record.signalType);
    const MatrixCommands::Row *row = MatrixCommands::findSwitchRow(signalType, record.matrixModel);
    TourModel model;
    if (!row || (row->tour & MatrixCommands::NotToured))
        return model;
    model.row = row;
    model.address = MatrixCommands::deviceAddress(signalType, record);
    model.conversion = conversionOf(*row);
    model.link = signalType == kVideo ? 1 : 0;
    model.ownPortOnly = row->tour & MatrixCommands::TourOwnPortOnly;
    return model;
}

QList<QString> tourStepTexts(const TourModel &model, int input, int firstOutput, int lastOutput)
{
    QList<QString> texts;
    if (!model.row)
        return texts;
    MatrixCommands::PairStyle style;
    style.lowerHex = model.row->tour & MatrixCommands::TourLowerHex;
    style.hexWire = model.conversion == 0;
    style.addressAtLeastZero = true;
    for (qint64 output = firstOutput; output <= lastOutput; ++output) {
        const QStringList pair = MatrixCommands::pairTexts(*model.row, model.address, input, int(output), style);
        if ((model.row->tour & MatrixCommands::TourOnce) && !pair.isEmpty())
            texts << pair.first();
        else
            texts << pair;
    }
    return texts;
}
