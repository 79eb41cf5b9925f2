#pragma once

#include <windows.h>

#include <string>

// The designer's name of every window and control, kept as a window property so that tests and
// tools find a control by the name the forms gave it ("Command1", "Check1_3").
namespace platform::win32 {

void SetObjectName(HWND window, const std::string& name);
// The name given to `window`, or empty when it has none.
std::string ObjectName(HWND window);
// The child of `parent` called `name`, or null.
HWND FindChildByName(HWND parent, const std::string& name);

}  // namespace platform::win32
