#include "matrixcommands.h"

#include "communication.h"
#include "matrixtables.h"

#include <QHash>

namespace MatrixCommands {

namespace {

// The numbers one text is built from.
struct Numbers
{
    const QString &address;
    qint64 input;
    qint64 output;
    qint64 scene;
    const QList<int> &outputs;
    PairStyle style = {};
};

struct FormLayout
{
    int base;
    int width;
    int partStart;  // Hex4High and Hex4Low take two digits of four
    int partLength; // -1: all of it
    bool lower;
    qint64 limit; // largest number a byte field of a binary frame holds; -1: none
};

FormLayout formLayout(Form form)
{
    switch (form) {
    case Hex2:
        return {16, 2, 0, -1, false, 0xFF};
    case Hex4High:
        return {16, 4, 0, 2, false, 0xFFFF};
    case Hex4Low:
        return {16, 4, 2, 2, false, 0xFFFF};
    case HexPlain:
        return {16, 1, 0, -1, false, -1};
    case HexLower:
        return {16, 1, 0, -1, true, -1};
    case Dec2:
        return {10, 2, 0, -1, false, 99};
    case Dec3:
        return {10, 3, 0, -1, false, 999};
    case Dec:
    case Text:
        break;
    }
    return {10, 1, 0, -1, false, -1};
}

QString formatNumber(qint64 value, const FormLayout &layout)
{
    const QChar zero = QLatin1Char('0');
    QString digits = QString::number(qAbs(value), layout.base);
    digits = layout.lower ? digits.toLower() : digits.toUpper();
    digits = value < 0 ? QLatin1Char('-') + digits.rightJustified(layout.width - 1, zero)
                       : digits.rightJustified(layout.width, zero);
    return digits.mid(layout.partStart, layout.partLength);
}

// The value of a numeric source; false when the list it reads is empty.
bool sourceNumber(const Field &field, const Numbers &n, qint64 *value)
{
    switch (field.source) {
    case Address:
        *value = n.address.toInt(); // not a decimal number: 0
        if (n.style.addressAtLeastZero)
            *value = qMax(*value, qint64(0));
        return true;
    case Input:
        *value = n.input + field.offset;
        return true;
    case InputStepped:
        *value = n.input + (n.input >= 3 ? field.offset2 : field.offset);
        return true;
    case Output:
        *value = n.output + field.offset;
        return true;
    case Scene:
        *value = n.scene + field.offset;
        return true;
    case InputDiv100:
        *value = n.input / 100;
        return true;
    case InputMod255:
        *value = n.input % 255;
        return true;
    case Cell:
        *value = (n.input - 1) + 4 * (n.output - 1);
        return true;
    case BankByte:
        *value = n.input > 127 ? 0x80 : 0;
        return true;
    case BankInput:
        *value = n.input > 127 ? n.input - 128 : n.input;
        return true;
    case FirstOutput:
    case LastOutput:
        if (n.outputs.isEmpty())
            return false;
        *value = field.source == FirstOutput ? n.outputs.first() : n.outputs.last();
        return true;
    default:
        return false;
    }
}

QString joinedOutputs(const QList<int> &outputs, const char *separator)
{
    QStringList numbers;
    for (int output : outputs) {
        if (output != 0)
            numbers << QString::number(output);
    }
    return numbers.join(QLatin1String(separator));
}

// The text of one field other than a checksum. False when the text must not
// be built: a list that is empty, or in a binary frame a number that does
// not fit its field.
bool fieldText(const Field &field, const Numbers &n, bool binary, QString *text)
{
    switch (field.source) {
    case Literal:
        *text = QLatin1String(field.text);
        return true;
    case AddressText:
        *text = n.address;
        return true;
    case OutputList:
        *text = joinedOutputs(n.outputs, field.text);
        return true;
    case PearmainAddress: {
        const int value = n.style.addressAtLeastZero ? qMax(n.address.toInt(), 0) : n.address.toInt();
        *text = value > 9 ? n.address : formatNumber(value, formLayout(Dec2));
        return true;
    }
    default:
        break;
    }
    qint64 value = 0;
    if (!sourceNumber(field, n, &value))
        return false;
    const FormLayout layout = formLayout(field.form);
    if (binary && (value < 0 || (layout.limit >= 0 && value > layout.limit)))
        return false;
    *text = formatNumber(value, layout);
    if (n.style.lowerHex && layout.base == 16)
        *text = text->toLower();
    return true;
}

// Replaces %1..%9 by the values in one pass, so that a "%" inside a value
// (an address as typed) is never taken for a placeholder. A "%" that is not
// followed by the number of a value stays as it is.
QString fill(const char *pattern, const QStringList &values)
{
    const QString source = QLatin1String(pattern);
    QString text;
    for (int i = 0; i < source.size(); ++i) {
        const int index = i + 1 < source.size() ? source.at(i + 1).digitValue() - 1 : -1;
        if (source.at(i) == QLatin1Char('%') && index >= 0 && index < values.size()) {
            text += values.at(index);
            ++i;
        } else {
            text += source.at(i);
        }
    }
    return text;
}

// Checksums are filled in last, over the finished values of the other fields.
bool buildText(const TextRule &rule, const Numbers &n, bool binary, QString *text)
{
    QStringList values;
    for (const Field &field : rule.fields) {
        QString value;
        if (field.source != Checksum && !fieldText(field, n, binary, &value))
            return false;
        values << value;
    }
    for (int i = 0; i < rule.fields.size(); ++i) {
        const Field &field = rule.fields.at(i);
        if (field.source == Checksum)
            values[i] = checksumText(fill(field.text, values), field.mode, field.mask);
    }
    *text = fill(rule.pattern, values);
    return true;
}

// All texts of the rules, or none when any of them cannot be built: the
// texts of one output belong together (output select, then input select).
QStringList buildTexts(const QVector<TextRule> &rules, const Numbers &n, bool binary)
{
    QStringList texts;
    for (const TextRule &rule : rules) {
        QString text;
        if (!buildText(rule, n, binary, &text))
            return {};
        texts << text;
    }
    return texts;
}

QStringList rowPairTexts(const Row &row, const Numbers &n)
{
    const bool binary = row.encoding != Encoding::Ascii || n.style.hexWire;
    switch (row.scope) {
    case PerOutput:
    case Once:
        return buildTexts(row.texts, n, binary);
    case ByOutput:
        // A negative output has no frame; one above the table gets the
        // outside frame.
        if (n.output < 1)
            return {};
        if (n.output > row.texts.size())
            return {QLatin1String(row.outside)};
        return buildTexts({row.texts.at(int(n.output - 1))}, n, binary);
    case ByPair: {
        const int outputs = row.frameInputs > 0 ? row.frames.size() / row.frameInputs : 0;
        if (n.input < 1 || n.input > row.frameInputs || n.output < 1 || n.output > outputs)
            return {QLatin1String(row.outside)};
        return {QLatin1String(row.frames.at(int((n.output - 1) * row.frameInputs + n.input - 1)))};
    }
    }
    return {};
}

template<typename RowType>
using Table = const QVector<RowType> &(*)();

// The row of a model in the table of a signal type, by exact name.
template<typename RowType>
const RowType *findModel(const QHash<int, Table<RowType>> &tables, int signalType,
                         const QString &model)
{
    const Table<RowType> table = tables.value(signalType);
    if (!table)
        return nullptr;
    for (const RowType &row : table()) {
        if (model == QLatin1String(row.model))
            return &row;
    }
    return nullptr;
}

} // namespace

const Row *findSwitchRow(int signalType, const QString &model)
{
    static const QHash<int, Table<Row>> tables = {
        {0, dviRows}, {1, hdmiRows}, {2, vgaRows}, {3, videoRows}, {5, sdiRows}};
    return findModel(tables, signalType, model);
}

// SDI matrices have no scene commands.
const SceneRow *findSceneRow(int signalType, const QString &model)
{
    static const QHash<int, Table<SceneRow>> tables = {
        {0, dviScenes}, {1, hdmiScenes}, {2, vgaScenes}, {3, videoScenes}};
    return findModel(tables, signalType, model);
}

QStringList pairTexts(const Row &row, const QString &address, int input, int output)
{
    return pairTexts(row, address, input, output, PairStyle());
}

QStringList pairTexts(const Row &row, const QString &address, int input, int output,
                      const PairStyle &style)
{
    const QList<int> outputs = {output};
    const QStringList texts = rowPairTexts(row, {address, input, output, 0, outputs, style});
    // Decimal numbers in a hex text (a row that a switch sends as
    // characters) can leave a lone last digit, which the hex converter
    // drops, and the frame would lose its end with it.
    if (style.hexWire) {
        for (const QString &text : texts) {
            if (QString(text).remove(QLatin1Char(' ')).size() % 2)
                return {};
        }
    }
    return texts;
}

QStringList switchTexts(const Row &row, const QString &address, int input,
                        const QList<int> &outputs)
{
    if (row.scope == Once)
        return rowPairTexts(row, {address, input, 0, 0, outputs});
    QStringList texts;
    for (int output : outputs) {
        if (output != 0)
            texts << rowPairTexts(row, {address, input, output, 0, outputs});
    }
    return texts;
}

QStringList sceneTexts(const SceneRow &row, const QString &address, int scene, int mode)
{
    const QList<int> noOutputs;
    return buildTexts(mode == 0 ? row.save : row.recall, {address, 0, 0, scene, noOutputs},
                      row.encoding != Encoding::Ascii);
}

QString checksumText(const QString &hexText, int mode, int mask)
{
    // Decoded as the hex converter does: a space is skipped where a pair
    // begins, a bad digit counts as -1 and a lone last digit is dropped.
    quint8 sum = 0;
    quint8 xorValue = 0;
    for (int i = 0; i < hexText.size(); ++i) {
        if (hexText.at(i) == QLatin1Char(' '))
            continue;
        if (i + 1 >= hexText.size())
            break;
        const quint8 byte = quint8(16 * hexDigitValue(hexText.at(i).toLatin1())
                                   + hexDigitValue(hexText.at(i + 1).toLatin1()));
        sum = quint8(sum + byte);
        xorValue ^= byte;
        ++i;
    }
    const int value = mode == 0 ? sum : mode == 1 ? xorValue : 0;
    const int masked = value & mask & 0xFF;
    return QString::number(masked, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

} // namespace MatrixCommands
