#include "app/library_search.h"

namespace app {

// The Windows program's first statement (app/win32/library_search.cpp); nothing to do here.
void RestrictLibrarySearch() {}

}  // namespace app
