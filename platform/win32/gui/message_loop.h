#pragma once

#include <windows.h>

// The message handling shared by the main loop, the modal loops and the tests.
namespace platform::win32 {

// The window class of the kit's top-level windows.
inline constexpr const wchar_t* kWindowClass = L"EbronaWindow";

// Whether `window` is one of the kit's top-level windows.
bool IsKitWindow(HWND window);

// Hands `message` on, with the keyboard of a dialog (Tab, Shift+Tab, Space, Enter) in the kit's
// windows.
void DispatchWithNavigation(MSG& message);

// Handles every message that is waiting, without blocking; false once WM_QUIT was taken (it is
// posted again for the loop that owns it).
bool DispatchPending();

}  // namespace platform::win32
