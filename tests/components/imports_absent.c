/* The stand-in component "imports_absent": it needs ebrona_absent.dll, which is nowhere. */
#include <windows.h>

__declspec(dllimport) int EbronaAbsent(void);

__declspec(dllexport) HRESULT WINAPI DllRegisterServer(void) { return EbronaAbsent() ? S_OK : E_FAIL; }
