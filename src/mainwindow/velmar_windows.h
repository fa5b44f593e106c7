#ifndef VELMAR_WINDOWS_H
#define VELMAR_WINDOWS_H

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <atomic>
#include <functional>

#include "linkrecords.h"
#include "matrixbrowsedata.h"
#include "tourqueue.h"

class AboutDialog;
class AdderSetWindows;
class ChangeNameWindows;
class DebugWindows;
class AlienAdjustWindows;
class Communication;
class EdgeMeltingWindows;
class JoinSettingWindows;
class LoginWindows;
class MatrixConfigurationWindows;
class PictureControlWindows;
class PortSettingWindows;
class PlaySetWindows;
class RemoteControlWindows;
class TimingSetWindows;
class FontSetWindows;
class QAction;
class QComboBox;
class QCompleter;
class QMenu;
class QThread;
class QTimer;
class ThreadWorker;
class Ui_Velmar_Windows;

namespace ConfigFile {
class Settings;
}

// The operator console and the hub of every other window. Its work is split
// by concern over several files: form and hub (velmar_windows.cpp), wiring
// (velmar_windows_connect.cpp), screen grid and name lists
// (velmar_windows_grid.cpp), the "MainSetting" group
// (velmar_windows_settings.cpp), links (velmar_windows_links.cpp), the
// command dispatcher and log (velmar_windows_commands.cpp), linked matrix
// switching and scenes (velmar_windows_matrix.cpp), rights
// (velmar_windows_rights.cpp), the accounts and service windows
// (velmar_windows_accounts.cpp), the adjustment and playback windows
// (velmar_windows_adjust.cpp, velmar_windows_playback.cpp) and tours
// (velmar_windows_tours.cpp).
class Velmar_Windows : public QWidget
{
    Q_OBJECT

public:
    explicit Velmar_Windows(QWidget *parent = nullptr);
    ~Velmar_Windows() override;

    // The port window's auto-open box as saved: main opens the links at once.
    bool autoOpen = false;

signals:
    void upDateTWContent();
    void planBrowse(int begin, int end, int sec);
    void matrixBrowse(int b_in, int e_in, int b_out, int e_out, int sec, MATRIXBROWSEDATA matrixborwsedata);

public slots:
    void showPortSetWindow();
    void showJoinSetWindow();
    void showMatrixSetWindow();
    void showAdderSetWindow();
    void updateTime();
    void CheckStatus(int status);
    void RadioStatus();
    void openSerial();
    void closeSerial();
    void tableWidgetChanged();
    void showTableWidgetMenu();
    void showToolButtonMenu();
    void sendInstructionOperation();
    void sendPlanOperation();
    void spliceOrMatrix();
    void getJoinSettingWindowsData(QHash<QString, QString> data);
    void updateTextEditContent(QString command, bool result, bool matrix);
    void maxBottonClick();
    void upDateTableWidgetContent();
    void updateSceneName(QString text);
    void updateMInputName(QString text);
    void updateMatrixTypeName(QString text);
    void updateMatrixModelText(QString name, QString text);
    void updateMatrixInputSize(QString name, int size);
    void updateComShow();
    void languageSwitch();
    void skinSwitch();
    void userLoginChange(int mode, QString type);
    void userLogoutChange();
    void sendPlanCom(QString d5);
    void sendMatrixCom(QList<QString> matrixComList, int type, int signal, int msec);
    // The link layer lost an open link (adapter pulled, bridge gone).
    void linkFailed(QString message);
    // Accounts and service windows (velmar_windows_accounts.cpp).
    void showLoginWindow();
    void showAboutWindow();
    void showChangeNameWindow();
    void showDebugWindow();
    // Picture adjustment windows (velmar_windows_adjust.cpp).
    void showImageAdjustWindow();
    void showAlienAdjustWindow();
    void showEdgeMeltingWindow();

    // Tours.
    void startThreads();
    void stopThreads();
    void activationPlanTask();
    void startMatrixThreads();
    void stopMatrixThreads();
    void activationMatrixTask();
    // Playback, schedule, caption and remote windows (velmar_windows_playback.cpp).
    void showPlaySetWindow();
    void showTimingSetWindow();
    void showFontSetWindow();
    void showRemoteControlWindow();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void initForm();
    void initValidator();
    void initConnect();
    void loadConfig();
    void saveConfig();
    void writeConfig(ConfigFile::Settings &settings);
    void initMatrixInputList();
    void collectSelectedScreens();
    void createAccountWindows();
    void connectAccountWindows();
    void showInputNameWindow();

    void createMenus();
    void setRibbonIcons();
    void fillSceneCombos();
    void updateStatusLabels();
    void setWallSize(int rows, int columns);
    QList<QString> &inputListFor(const QString &signalType);
    static void fillCombo(QComboBox *combo, const QList<QString> &items);
    QString signalParameter() const;

    QString linkStateWord(bool open) const;
    void showLinkState();
    void setLinkWidgets(bool open);
    void closeLinks();
    bool openMatrixPort(Communication &link, const PortSettingRecord &record, const QString &portName,
                        std::atomic<bool> &flag);

    void initAdjustWindows();
    void initAdjustConnect();
    void updateAdjustRange();

    Ui_Velmar_Windows *ui;

    PortSettingWindows *portSetWindow = nullptr;
    JoinSettingWindows *joinSetWindow = nullptr;
    MatrixConfigurationWindows *matrixSetWindow = nullptr;
    AdderSetWindows *adderSetWindow = nullptr;
    LoginWindows *loginWindow = nullptr;
    AboutDialog *aboutWindow = nullptr;
    ChangeNameWindows *sceneNameWindows = nullptr;
    ChangeNameWindows *inputNameWindows = nullptr;
    DebugWindows *debugWindow = nullptr;
    PictureControlWindows *pictureControlWindow = nullptr;
    AlienAdjustWindows *alienAdjustWindow = nullptr;
    EdgeMeltingWindows *edgeMeltingWindow = nullptr;

    // Playback, schedule, caption and remote windows (velmar_windows_playback.cpp).
    void createPlaybackWindows();
    void connectPlaybackWindows();
    PlaySetWindows *playSetWindow = nullptr;
    TimingSetWindows *timingSetWindow = nullptr;
    FontSetWindows *fontSetWindow = nullptr;
    RemoteControlWindows *remoteControlWindow = nullptr;

    QCompleter *inputCompleter = nullptr;
    QCompleter *sceneCompleter = nullptr;
    QCompleter *beginSceneCompleter = nullptr;
    QCompleter *endSceneCompleter = nullptr;

    QTimer *clockTimer = nullptr;
    QDateTime currentTime;

    QMenu *tableMenu = nullptr;
    QMenu *signalPatternMenu = nullptr;
    QMenu *agingModeMenu = nullptr;
    QMenu *flipModelMenu = nullptr;
    QMenu *stitchingModeMenu = nullptr;

    QAction *stillAction = nullptr;
    QAction *imageAdjustAction = nullptr;
    QAction *localSaveAction = nullptr;
    QAction *borderEffectAction = nullptr;
    QAction *blackScreenAction = nullptr;
    QAction *blueScreenAction = nullptr;
    QAction *specialRegulationAction = nullptr;
    QAction *agingOpenAction = nullptr;
    QAction *agingOffAction = nullptr;
    QAction *positiveAction = nullptr;
    QAction *inverseAction = nullptr;
    QAction *updateAction = nullptr;
    QAction *stitch2kAction = nullptr;
    QAction *stitch4kAction = nullptr;
    QAction *multiScreenAction = nullptr;

    QMenu *skinMenu = nullptr;
    QAction *blueSkinAction = nullptr;
    QAction *blackSkinAction = nullptr;

    int skinIndex = 0;
    bool languageIndex = false;
    bool stitchingEnabled = false;
    bool maximized = false;

    QList<QString> generalMatrixIn;
    QList<QString> videoMatrixIn;
    QList<QString> dviMatrixIn;
    QList<QString> vgaMatrixIn;
    QList<QString> hdmiMatrixIn;
    QList<QString> sceneNames;

    QRect normalGeometry;

    // Tours: the current worker of each (null while it is stopped) and every
    // tour thread not yet finished, joined at exit.
    ThreadWorker *startTourWorker(QPointer<QThread> &thread, quint64 &run);
    void postTourStep(const quint64 &currentRun, ThreadWorker *const &worker, quint64 run,
                      std::function<void()> send);
    void readMatrixTour(int *b_in, int *e_in, int *b_out, int *e_out, MATRIXBROWSEDATA *record) const;
    void stopTour(ThreadWorker *&worker, QPointer<QThread> &thread, quint64 &run);
    void endTours();
    ThreadWorker *planWorker = nullptr;
    ThreadWorker *matrixWorker = nullptr;
    // The run each tour's steps belong to, 0 while it is stopped: a number
    // that no run of either tour had before. A worker's address cannot tell
    // runs apart, as a new worker may get the one of a deleted worker.
    quint64 planRun = 0;
    quint64 matrixRun = 0;
    quint64 lastTourRun = 0;
    QPointer<QThread> planThread;
    QPointer<QThread> matrixThread;
    QList<QPointer<QThread>> tourThreads;
    TourQueue tourQueue;
    int tourPauseUnitMs = 1000;
    // Set by the close: the program ends, and no frame of a tour may still
    // go out.
    bool closed = false;

    // Counts the Boot and Standby commands: one sends only while it is the
    // last asked for, so the wall ends in the state asked for last. The close
    // counts too, and ends the one being sent.
    quint64 powerRun = 0;

    friend class ConsoleTest;
    friend class TestMainWindow;
    friend class TestMainLinks;
    friend class TestMainDispatch;
    friend class TestMainMatrix;
    friend class TestMainAccounts;
    friend class TestTours;
    friend class TestHostileConfig;
    friend class HostileStart;
    friend class TestDesktop;
};

#endif // VELMAR_WINDOWS_H
