#ifndef SETUPTEST_H
#define SETUPTEST_H

// The window-test scaffold now lives in tests/support.
#include "windowtest.h"

#endif // SETUPTEST_H
