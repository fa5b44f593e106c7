// The picture adjustment windows seen from the console: created once, shown
// from the screen table's menu, and told the selected range.

#include "velmar_windows.h"
#include "ui_velmar_windows.h"

#include <QAction>

#include "alienadjustwindows.h"
#include "edgemeltingwindows.h"
#include "globalobject.h"
#include "picturecontrolwindows.h"
#include "windowkit.h"

void Velmar_Windows::initAdjustWindows()
{
    pictureControlWindow = new PictureControlWindows;
    alienAdjustWindow = new AlienAdjustWindows;
    edgeMeltingWindow = new EdgeMeltingWindows;
}

void Velmar_Windows::initAdjustConnect()
{
    connect(imageAdjustAction, &QAction::triggered, this, &Velmar_Windows::showImageAdjustWindow);
    connect(specialRegulationAction, &QAction::triggered, this, &Velmar_Windows::showAlienAdjustWindow);
    connect(borderEffectAction, &QAction::triggered, this, &Velmar_Windows::showEdgeMeltingWindow);
    // Made after the grid's own connection, so the selected-screen list is
    // already rebuilt when the range is read.
    connect(ui->cent_tablewidget, &QTableWidget::itemSelectionChanged, this, [this] {
        if (pictureControlWindow->isVisible())
            updateAdjustRange();
    });
}

void Velmar_Windows::updateAdjustRange()
{
    // With nothing selected there is no range: the label keeps the last one.
    const QList<QString> &screens = GlobalObject::targetAddressList;
    if (!screens.isEmpty())
        pictureControlWindow->setAdjustRange(screens.first(), screens.last());
}

void Velmar_Windows::showImageAdjustWindow()
{
    updateAdjustRange();
    WindowKit::showInFront(pictureControlWindow);
}

void Velmar_Windows::showAlienAdjustWindow()
{
    WindowKit::showInFront(alienAdjustWindow);
}

void Velmar_Windows::showEdgeMeltingWindow()
{
    WindowKit::showInFront(edgeMeltingWindow);
}
