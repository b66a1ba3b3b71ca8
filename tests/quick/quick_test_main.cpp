#include "QuickTestSetup.h"

#include <QtQuickTest>

// One runner for every QML test file; CTest names the file with -input.
QUICK_TEST_MAIN_WITH_SETUP(gyre_quick_test, QuickTestSetup)
