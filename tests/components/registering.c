/* The stand-in components "registers_*": the probe's type library, and a DllRegisterServer that
 * registers it and its creatable class as kRegisters says: at this file, at another file, or not at
 * all while still answering success. */
#include <windows.h>
#include <oleauto.h>

enum Registers { kThisFile, kAnotherFile, kNothing };
extern const enum Registers kRegisters;

static HMODULE self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

HRESULT WINAPI DllRegisterServer(void) {
  WCHAR path[MAX_PATH];
  if (kRegisters == kNothing) return S_OK;
  if (!GetModuleFileNameW(self, path, MAX_PATH)) return E_FAIL;
  ITypeLib* library = NULL;
  HRESULT result = LoadTypeLibEx(path, REGKIND_REGISTER, &library);
  if (FAILED(result)) return result;
  library->lpVtbl->Release(library);
  const WCHAR* server = kRegisters == kThisFile ? path : L"C:\\Program Files\\Gammal\\probe.ocx";
  HKEY key;
  if (RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{6E3F4A12-2B7C-4D5E-9A81-3C4B5D6E7F80}\\InprocServer32", 0, NULL,
                      0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS) {
    return E_FAIL;
  }
  LONG set = RegSetValueExW(key, NULL, 0, REG_SZ, (const BYTE*)server, (DWORD)((lstrlenW(server) + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
  return set == ERROR_SUCCESS ? S_OK : E_FAIL;
}
