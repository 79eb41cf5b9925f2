#include "app/program.h"

// The program takes no command-line arguments.
int main() { return app::RunProgram(); }
