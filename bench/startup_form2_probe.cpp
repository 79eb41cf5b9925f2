#include "app/program.h"
#include "bench/quit_when_shown.h"

// The program's own start, ending as soon as the main window is on the screen.
int main() { return app::RunProgram({}, QuitWhenShown); }
