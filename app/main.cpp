#include "app/library_search.h"
#include "app/program.h"

// The program takes no command-line arguments.
int main() {
  app::RestrictLibrarySearch();
  return app::RunProgram();
}
