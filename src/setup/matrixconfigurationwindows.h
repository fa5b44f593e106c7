#ifndef MATRIXCONFIGURATIONWINDOWS_H
#define MATRIXCONFIGURATIONWINDOWS_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>

#include "linkrecords.h"
#include "matrixbrowsedata.h"
#include "wallsize.h"

class QComboBox;
class QLineEdit;
class QTableWidgetItem;

namespace ConfigFile {
class Settings;
}

namespace Ui {
class MatrixConfigurationWindows;
}

// The matrix switchers that feed the wall: model per signal type, device
// ids, timing, sending order, input counts, and the output map that says
// which matrix output feeds which screen. Everything persists in the
// "MatrixConfig" group, read at construction and written at every close.
class MatrixConfigurationWindows : public QWidget
{
    Q_OBJECT

public:
    explicit MatrixConfigurationWindows(QWidget *parent = nullptr);
    ~MatrixConfigurationWindows() override;

    // Current model text of "VIDEO", "VGA", "DVI", "HDMI" or "SDI"; any
    // other type (letter case counts) gives an empty text.
    QString getMatrixModel(const QString &type) const;
    InstructionRecord getInstructionRecord(const QString &type, const QString &model, int value) const;
    MATRIXBROWSEDATA getMatrixBrowseData(const QString &type, const QString &model) const;
    // Input counts in the order video, DVI, VGA, HDMI; 0 for a text that is no number.
    QList<int> getMatrixInputNums() const;

    // Output map. The table takes the wall's size (1 to 15 each way; any
    // other size is ignored); entries keep their flat positions when the
    // shape changes.
    void setRowColumn(int rows, int cols);
    void fillMatrixTable(int rows, int cols);
    // Rebuilds GlobalObject::matrixOutList: one output per screen address,
    // 0 for an address that names no cell of the table.
    void updateMatrixOutList(QStringList addresses);

signals:
    void matrixSelectChange(QString type, QString model);
    void matrixInputSizeChange(QString type, int size);

public slots:
    void updateMNum(QTableWidgetItem *item);
    void selectChange();
    void InputSizeChange();
    void setOneToOne();
    void sendInstructionOperation();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    struct ModelBox
    {
        QComboBox *box;
        const char *type;
        const char *indexKey;
    };
    struct CountEdit
    {
        QLineEdit *edit;
        const char *type;
        const char *key;
        int announced; // last count handed out by matrixInputSizeChange
    };
    struct IdEdit
    {
        QLineEdit *edit;
        const char *key;
    };

    void initForm();
    void initConnect();
    void initValidator();
    void loadConfig();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);
    void keepOnClose();
    void announceInputCount(CountEdit &count);
    int cellOutput(int row, int column) const;

    std::unique_ptr<Ui::MatrixConfigurationWindows> ui;
    // video, VGA, DVI, HDMI, SDI
    std::array<ModelBox, 5> modelBoxes{};
    // video, DVI, VGA, HDMI
    std::array<CountEdit, 4> countEdits{};
    std::array<IdEdit, 4> idEdits{};
    std::array<int, WallSize::kCells> matrixOut{};
};

#endif // MATRIXCONFIGURATIONWINDOWS_H
