#include "platform/win32/gui/object_names.h"

#include "platform/win32/text_conversion.h"

namespace platform::win32 {

namespace {

constexpr const wchar_t* kNameProperty = L"EbronaObjectName";

struct ChildSearch {
  std::string name;
  HWND found = nullptr;
};

BOOL CALLBACK CompareName(HWND child, LPARAM data) {
  auto* search = reinterpret_cast<ChildSearch*>(data);
  if (ObjectName(child) != search->name) return TRUE;
  search->found = child;
  return FALSE;
}

}  // namespace

void SetObjectName(HWND window, const std::string& name) {
  // The name lives in the process's atom table; the property holds its atom.
  const ATOM atom = AddAtomW(WideFromUtf8(name).c_str());
  if (atom != 0) SetPropW(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(atom)));
}

std::string ObjectName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropW(window, kNameProperty)));
  if (atom == 0) return {};
  wchar_t name[256];
  const UINT length = GetAtomNameW(atom, name, 256);
  return Utf8FromWide(std::wstring(name, length));
}

HWND FindChildByName(HWND parent, const std::string& name) {
  ChildSearch search{name};
  EnumChildWindows(parent, CompareName, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace platform::win32
