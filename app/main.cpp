#include "app/library_search.h"
#include "app/start.h"
#include "platform/program_start.h"

int main(int argc, char** argv) {
  app::RestrictLibrarySearch();
  return app::Start(platform::ProgramArguments(argc, argv));
}
