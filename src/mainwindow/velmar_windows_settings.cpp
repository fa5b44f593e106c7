// The "MainSetting" group of config.ini: written whole when the window
// closes, read once at the end of construction.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include "configfile.h"
#include "globalobject.h"
#include "heldtext.h"

namespace {

const QString group = QStringLiteral("MainSetting");

// An array holds no more names than the console can use: a scene number
// has two decimal digits in its frame, a matrix has at most 255 inputs of a
// signal type.
constexpr int maxSceneNames = 99;
constexpr int maxInputNames = 255;

struct NameArray
{
    const char *array;
    const char *key;
    int maxCount;
};

void writeArray(ConfigFile::Settings &settings, const NameArray &names, const QList<QString> &list)
{
    // Entries beyond the list, left by an older or a tampered file, go.
    settings.remove(QLatin1String(names.array));
    settings.beginWriteArray(QLatin1String(names.array));
    for (int i = 0; i < list.size(); ++i) {
        settings.setArrayIndex(i);
        settings.setValue(QLatin1String(names.key), list.at(i));
    }
    settings.endArray();
}

QList<QString> readArray(ConfigFile::Settings &settings, const NameArray &names)
{
    QList<QString> list = ConfigFile::readArray(settings, QLatin1String(names.array), QLatin1String(names.key),
                                                QStringLiteral("1"), names.maxCount);
    // A name of megabytes would hold start-up while the lists measure it.
    for (QString &name : list)
        name = HeldText::fitted(name, HeldText::maxNameLength);
    return list;
}

// 0 and 1 set the box; any other stored value leaves it as it is.
void applyCheck(QAbstractButton *box, int value)
{
    if (value == 0 || value == 1)
        box->setChecked(value == 1);
}

const NameArray videoArray{"VideoMatrixIn", "In", maxInputNames};
const NameArray dviArray{"DviMatrixIn", "In", maxInputNames};
const NameArray vgaArray{"VgaMatrixIn", "In", maxInputNames};
const NameArray hdmiArray{"HdmiMatrixIn", "In", maxInputNames};
const NameArray generalArray{"GeneralMatrixIn", "In", maxInputNames};
const NameArray sceneArray{"SceneList", "Scene", maxSceneNames};

} // namespace

void Velmar_Windows::saveConfig()
{
    const auto settings = ConfigFile::open();
    writeConfig(*settings);
    ConfigFile::save(*settings);
}

void Velmar_Windows::writeConfig(ConfigFile::Settings &settings)
{
    QList<QString> scenes;
    for (int i = 0; i < ui->scene_cb->count(); ++i)
        scenes.append(ui->scene_cb->itemText(i));

    settings.beginGroup(group);
    settings.setValue(QStringLiteral("Language"), languageIndex ? 1 : 0);
    settings.setValue(QStringLiteral("Skin"), skinIndex);
    settings.setValue(QStringLiteral("Row"), ui->cent_tablewidget->rowCount());
    settings.setValue(QStringLiteral("Column"), ui->cent_tablewidget->columnCount());
    settings.setValue(QStringLiteral("Username"), userName);
    settings.setValue(QStringLiteral("Userimage"), userImagePath);
    settings.setValue(QStringLiteral("SignalIndex"), ui->signal_type_cb->currentIndex());
    settings.setValue(QStringLiteral("MatrixInputIndex"), ui->matrix_type_cb->currentIndex());
    settings.setValue(QStringLiteral("SceneIndex"), ui->scene_cb->currentIndex());
    settings.setValue(QStringLiteral("DelayOn"), ui->retard_btn->isChecked() ? 1 : 0);
    settings.setValue(QStringLiteral("MatrixSelect"), ui->link_cb->isChecked() ? 1 : 0);
    settings.setValue(QStringLiteral("Fan1"), ui->fan_sp1->value());
    settings.setValue(QStringLiteral("Fan2"), ui->fan_sp2->value());
    settings.setValue(QStringLiteral("MatrixBeginIn"), ui->matrix_bin_le->text());
    settings.setValue(QStringLiteral("MatrixEndIn"), ui->matrix_ein_le->text());
    settings.setValue(QStringLiteral("MatrixBeginOut"), ui->matrix_bout_le->text());
    settings.setValue(QStringLiteral("MatrixEndOut"), ui->matrix_eout_le->text());
    settings.setValue(QStringLiteral("MatrixSec"), ui->matrix_sec->value());
    settings.setValue(QStringLiteral("SceneBegin"), ui->bscene_cb->currentIndex());
    settings.setValue(QStringLiteral("SceneEnd"), ui->sscene_cb->currentIndex());
    settings.setValue(QStringLiteral("SceneSec"), ui->scene_sec->value());
    writeArray(settings, videoArray, videoMatrixIn);
    writeArray(settings, dviArray, dviMatrixIn);
    writeArray(settings, vgaArray, vgaMatrixIn);
    writeArray(settings, hdmiArray, hdmiMatrixIn);
    writeArray(settings, generalArray, generalMatrixIn);
    writeArray(settings, sceneArray, scenes);
    settings.endGroup();
}

void Velmar_Windows::loadConfig()
{
    if (!ConfigFile::hasGroup(group))
        return;
    auto settings = ConfigFile::open();
    settings->beginGroup(group);
    auto number = [&settings](const char *key) { return settings->value(QLatin1String(key)).toInt(); };
    auto text = [&settings](const char *key) { return settings->value(QLatin1String(key)).toString(); };

    const int language = number("Language");
    const int skin = number("Skin");
    const int rows = number("Row");
    const int columns = number("Column");
    const int signalIndex = number("SignalIndex");
    const int inputIndex = number("MatrixInputIndex");
    const int sceneIndex = number("SceneIndex");
    const int delayOn = number("DelayOn");
    const int matrixSelect = number("MatrixSelect");
    const int fan1 = number("Fan1");
    const int fan2 = number("Fan2");
    const int sceneBegin = number("SceneBegin");
    const int sceneEnd = number("SceneEnd");
    const int matrixSec = number("MatrixSec");
    const int sceneSec = number("SceneSec");
    const QString savedUserName = HeldText::fitted(text("Username"), HeldText::maxNameLength);
    const QString savedImage = text("Userimage");
    const QString beginIn = text("MatrixBeginIn");
    const QString beginOut = text("MatrixBeginOut");
    const QString endIn = text("MatrixEndIn");
    const QString endOut = text("MatrixEndOut");

    generalMatrixIn = readArray(*settings, generalArray);
    videoMatrixIn = readArray(*settings, videoArray);
    dviMatrixIn = readArray(*settings, dviArray);
    vgaMatrixIn = readArray(*settings, vgaArray);
    hdmiMatrixIn = readArray(*settings, hdmiArray);
    sceneNames = readArray(*settings, sceneArray);
    settings->endGroup();

    // Only 1 is Chinese: any other stored value is English, so the saved
    // flag never claims a language whose texts were not loaded.
    languageIndex = language == 1;
    userName = savedUserName;
    userImagePath = savedImage;
    GlobalObject::setLabelImage(ui->show_image, userImagePath);
    // An index that names no signal type would leave the combo empty and
    // the signal commands without their parameter: keep the current one.
    if (signalIndex >= 0 && signalIndex < ui->signal_type_cb->count())
        ui->signal_type_cb->setCurrentIndex(signalIndex);
    setWallSize(rows, columns);
    ui->fan_sp1->setValue(fan1);
    ui->fan_sp2->setValue(fan2);
    ui->matrix_bin_le->setText(beginIn);
    ui->matrix_ein_le->setText(endIn);
    ui->matrix_bout_le->setText(beginOut);
    ui->matrix_eout_le->setText(endOut);
    ui->matrix_sec->setValue(matrixSec);
    fillCombo(ui->scene_cb, sceneNames);
    ui->scene_cb->setCurrentIndex(sceneIndex);
    fillCombo(ui->bscene_cb, sceneNames);
    ui->bscene_cb->setCurrentIndex(sceneBegin);
    fillCombo(ui->sscene_cb, sceneNames);
    ui->sscene_cb->setCurrentIndex(sceneEnd);
    ui->scene_sec->setValue(sceneSec);
    ui->show_username->setText(userName);

    fillCombo(ui->matrix_type_cb, inputListFor(ui->signal_type_cb->currentText()));
    ui->matrix_type_cb->setCurrentIndex(inputIndex);

    applyCheck(ui->retard_btn, delayOn);
    applyCheck(ui->link_cb, matrixSelect);

    if (language == 1) {
        portStatusText = QStringLiteral("关闭");
        permissionText = QStringLiteral("用户");
        GlobalObject::loadChineseTranslators();
    }
    if (skin == 0 || skin == 1) {
        skinIndex = skin;
        GlobalObject::setStyle(skin == 0 ? QStringLiteral(":/qss/staticfile/qss/blue.css")
                                         : QStringLiteral(":/qss/staticfile/qss/black.css"));
    }
}
