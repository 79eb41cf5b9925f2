// The program's start without its first statement: the DLL search stays as Windows sets it up.
// The planted-DLL test shows with it that its planted names are loaded where nothing prevents it.
#include "app/program.h"

int main() { return app::RunProgram(); }
