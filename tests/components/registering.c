/* The stand-in components "registers_*": the probe's type library, and a DllRegisterServer that
 * registers it and its creatable classes as kRegisters says: at this file or at another file. */
#include <windows.h>
#include <oleauto.h>

enum Registers { kThisFile, kAnotherFile };
extern const enum Registers kRegisters;

static HMODULE self;

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

HRESULT WINAPI DllRegisterServer(void) {
  WCHAR path[MAX_PATH];
  if (!GetModuleFileNameW(self, path, MAX_PATH)) return E_FAIL;
  ITypeLib* library = NULL;
  HRESULT result = LoadTypeLibEx(path, REGKIND_REGISTER, &library);
  if (FAILED(result)) return result;
  const WCHAR* server = kRegisters == kThisFile ? path : L"C:\\Program Files\\Gammal\\probe.ocx";
  /* Each class that can be created gets its InprocServer32, as a component's own registration writes it. */
  LONG set = ERROR_SUCCESS;
  for (UINT i = 0; i < library->lpVtbl->GetTypeInfoCount(library) && set == ERROR_SUCCESS; ++i) {
    ITypeInfo* info = NULL;
    TYPEATTR* attributes = NULL;
    if (FAILED(library->lpVtbl->GetTypeInfo(library, i, &info))) continue;
    if (SUCCEEDED(info->lpVtbl->GetTypeAttr(info, &attributes))) {
      if (attributes->typekind == TKIND_COCLASS && (attributes->wTypeFlags & TYPEFLAG_FCANCREATE)) {
        WCHAR key[80] = L"CLSID\\";
        StringFromGUID2(&attributes->guid, key + 6, 40);
        lstrcatW(key, L"\\InprocServer32");
        HKEY opened;
        set = RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, NULL, 0, KEY_SET_VALUE, NULL, &opened, NULL);
        if (set == ERROR_SUCCESS) {
          set = RegSetValueExW(opened, NULL, 0, REG_SZ, (const BYTE*)server, (DWORD)((lstrlenW(server) + 1) * sizeof(WCHAR)));
          RegCloseKey(opened);
        }
      }
      info->lpVtbl->ReleaseTypeAttr(info, attributes);
    }
    info->lpVtbl->Release(info);
  }
  library->lpVtbl->Release(library);
  return set == ERROR_SUCCESS ? S_OK : E_FAIL;
}
