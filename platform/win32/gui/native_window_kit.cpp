#include "platform/win32/gui/native_window_kit.h"

#include <commctrl.h>

#include "platform/win32/gui/dpi.h"
#include "platform/win32/gui/message_loop.h"
#include "platform/win32/gui/native_window.h"
#include "platform/win32/system_error.h"
#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

// The application icon's resource number in the executable.
constexpr WORD kApplicationIcon = 1;

HICON LoadApplicationIcon(int size_metric) {
  const int size = GetSystemMetrics(size_metric);
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kApplicationIcon), IMAGE_ICON,
                                       size, size, LR_DEFAULTCOLOR));
}

BOOL CALLBACK FindShownKitWindow(HWND window, LPARAM data) {
  if (!IsKitWindow(window) || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<bool*>(data) = true;
  return FALSE;
}

// Common controls 6 (the manifest picks the version), loaded at run time instead of imported: an
// imported comctl32.dll would start, and load further DLLs by name, before the program's first
// statement has restricted where they are looked for.
void InitCommonControls6() {
  using InitCommonControlsExFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  const HMODULE comctl32 = LoadLibraryW(L"comctl32.dll");
  const FARPROC address = comctl32 != nullptr ? GetProcAddress(comctl32, "InitCommonControlsEx") : nullptr;
  if (address == nullptr) return;
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  // Through void(*)() so that the compiler accepts the change of function type.
  reinterpret_cast<InitCommonControlsExFunction>(reinterpret_cast<void (*)()>(address))(&controls);
}

bool IsRoot(const std::string& folder) { return folder.size() == 3 && folder[1] == ':'; }

}  // namespace

NativeWindowKit::NativeWindowKit(platform::FileSystem& files)
    : files_(files),
      screen_dpi_(ScreenDpi()),
      big_icon_(LoadApplicationIcon(SM_CXICON)),
      small_icon_(LoadApplicationIcon(SM_CXSMICON)) {}

NativeWindowKit::~NativeWindowKit() {
  if (big_icon_ != nullptr) DestroyIcon(big_icon_);
  if (small_icon_ != nullptr) DestroyIcon(small_icon_);
}

std::unique_ptr<platform::Window> NativeWindowKit::NewWindow(const platform::WindowSpec& design) {
  return std::make_unique<NativeWindow>(*this, design);
}

float NativeWindowKit::ScreenWidth() const { return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), screen_dpi_); }

float NativeWindowKit::ScreenHeight() const { return PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), screen_dpi_); }

void NativeWindowKit::ShowMessage(const std::string& prompt, const std::string& title, platform::MessageIcon icon) {
  // Owned by the kit's active window, which it disables while it is open; without one it is
  // modal to every window of the thread.
  HWND active = GetActiveWindow();
  HWND owner = IsKitWindow(active) && IsWindowVisible(active) ? active : nullptr;
  UINT style = MB_OK | (icon == platform::MessageIcon::kWarning ? MB_ICONWARNING : MB_ICONINFORMATION);
  if (owner == nullptr) style |= MB_TASKMODAL;
  MessageBoxW(owner, WideFromUtf8(prompt).c_str(), WideFromUtf8(title).c_str(), style);
}

int NativeWindowKit::Run() {
  running_ = true;
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchWithNavigation(message);
  running_ = false;
  return static_cast<int>(message.wParam);
}

void NativeWindowKit::QuitWhenNoWindowShown() {
  bool shown = false;
  EnumThreadWindows(GetCurrentThreadId(), FindShownKitWindow, reinterpret_cast<LPARAM>(&shown));
  if (running_ && !shown) PostQuitMessage(0);
}

std::string NativeWindowKit::StartFolder() {
  const std::vector<std::string> drives = files_.Drives();
  // The drive of the process's current folder; its current folder is the process's.
  wchar_t current[MAX_PATH];
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, current);
  if (length >= 2 && length < MAX_PATH && current[1] == L':') {
    const std::string drive = Utf8FromWide(std::wstring(current, 2));
    for (const std::string& candidate : drives) {
      if (CompareStringOrdinal(WideFromUtf8(candidate).c_str(), -1, WideFromUtf8(drive).c_str(), -1, TRUE) != CSTR_EQUAL) continue;
      platform::Result<std::string> folder = files_.DriveCurrentFolder(candidate);
      if (folder.ok()) return folder.value();
    }
  }
  // The file system does not know that drive (a network path as current folder): the drive whose
  // current folder lies below its root is the current one, else the first drive that can be used.
  std::string first;
  for (const std::string& drive : drives) {
    platform::Result<std::string> folder = files_.DriveCurrentFolder(drive);
    if (!folder.ok()) continue;
    if (!IsRoot(folder.value())) return folder.value();
    if (first.empty()) first = folder.value();
  }
  return first;
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<WindowKit> NewNativeWindowKit(FileSystem& files, std::string& error) {
  win32::MakeProcessDpiAware();
  win32::InitCommonControls6();

  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = win32::NativeWindow::Procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  window_class.lpszClassName = win32::kWindowClass;
  if (RegisterClassExW(&window_class) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    error = "Cannot register the window class: " + win32::SystemErrorText(GetLastError());
    return nullptr;
  }
  // A window that cannot be made tells that there is no desktop to show windows on.
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (probe == nullptr) {
    error = "Cannot open a window: " + win32::SystemErrorText(GetLastError());
    return nullptr;
  }
  DestroyWindow(probe);
  return std::make_unique<win32::NativeWindowKit>(files);
}

}  // namespace platform
