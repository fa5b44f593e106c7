#ifndef CONSOLETEST_H
#define CONSOLETEST_H

// The window-test scaffold now lives in tests/support.
#include "windowtest.h"

#endif // CONSOLETEST_H
