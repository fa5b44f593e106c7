// The playback, power schedule, caption and virtual remote windows: created
// once with no parent, shown on request, living until the program ends.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include "fontsetwindows.h"
#include "playsetwindows.h"
#include "remotecontrolwindows.h"
#include "timingsetwindows.h"
#include "windowkit.h"

void Velmar_Windows::createPlaybackWindows()
{
    playSetWindow = new PlaySetWindows;
    timingSetWindow = new TimingSetWindows;
    fontSetWindow = new FontSetWindows;
    remoteControlWindow = new RemoteControlWindows;
}

void Velmar_Windows::connectPlaybackWindows()
{
    connect(ui->play_set_btn, &QToolButton::clicked, this, &Velmar_Windows::showPlaySetWindow);
    connect(ui->timi_btn, &QToolButton::clicked, this, &Velmar_Windows::showTimingSetWindow);
    connect(ui->font_set_btn, &QToolButton::clicked, this, &Velmar_Windows::showFontSetWindow);
    connect(ui->control_btn, &QToolButton::clicked, this, &Velmar_Windows::showRemoteControlWindow);
}

void Velmar_Windows::showPlaySetWindow()
{
    WindowKit::showInFront(playSetWindow);
}

void Velmar_Windows::showTimingSetWindow()
{
    WindowKit::showInFront(timingSetWindow);
}

void Velmar_Windows::showFontSetWindow()
{
    WindowKit::showInFront(fontSetWindow);
}

void Velmar_Windows::showRemoteControlWindow()
{
    WindowKit::showInFront(remoteControlWindow);
}
