#include "app/library_search.h"

namespace app {

// Nothing to restrict: the Windows program's rules are in app/win32/library_search.cpp.
void RestrictLibrarySearch() {}

}  // namespace app
