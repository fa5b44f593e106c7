#ifndef CONSOLETEST_H
#define CONSOLETEST_H

// What a test of the main window includes: the window, its form, the
// application start and the shared window-test scaffold.
#include "appinit.h"
#include "ui_velmar_windows.h"
#include "velmar_windows.h"
#include "windowtest.h"

#endif // CONSOLETEST_H
