#include "app/start.h"
#include "platform/program_start.h"

int main(int argc, char** argv) { return app::Start(platform::ProgramArguments(argc, argv)); }
