// The window kit's promises, kept by the Qt kit.
#include "tests/platform/qt/qt_kit_fixture.h"
#include "tests/platform/window_kit_conformance.h"
