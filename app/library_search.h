#pragma once

namespace app {

// Restricts where the process looks for the DLLs it loads by name. The program's first statement.
void RestrictLibrarySearch();

}  // namespace app
