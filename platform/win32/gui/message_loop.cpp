#include "platform/win32/gui/message_loop.h"

#include <cwchar>

namespace platform::win32 {

bool IsKitWindow(HWND window) {
  wchar_t name[32];
  return window != nullptr && GetClassNameW(window, name, 32) > 0 && std::wcscmp(name, kWindowClass) == 0;
}

void DispatchWithNavigation(MSG& message) {
  HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (IsKitWindow(root) && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

bool DispatchPending() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    DispatchWithNavigation(message);
  }
  return true;
}

}  // namespace platform::win32
