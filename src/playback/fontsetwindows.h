#ifndef FONTSETWINDOWS_H
#define FONTSETWINDOWS_H

#include <QColor>
#include <QFont>
#include <QWidget>

#include <memory>

namespace ConfigFile {
class Settings;
}

namespace Ui {
class FontSetWindows;
}

// Composes scrolling captions: every "Add" with text makes one new caption
// window from the settings of that moment; nothing keeps the captions. The
// text, interval, transparency and background live in "FontSetting"; the
// font and text colour only while the program runs.
class FontSetWindows : public QWidget
{
    Q_OBJECT

public:
    explicit FontSetWindows(QWidget *parent = nullptr);
    ~FontSetWindows() override;

public slots:
    void showFontDialog();
    void showColorDialog();
    void showCaption();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initConnect();
    void loadConfig();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);
    QColor backgroundColor() const;

    std::unique_ptr<Ui::FontSetWindows> ui;
    QFont captionFont;
    QColor captionColor;
};

#endif // FONTSETWINDOWS_H
