#pragma once

#include <string>
#include <vector>

// What a program gets from whoever started it: its arguments and its standard streams. Defined
// once per platform (posix/, win32/); CMake links one.
namespace platform {

enum class StandardStream { kOutput, kError };

// The program's arguments after its own name, in UTF-8. On Windows they are read from the wide
// command line, so any character arrives whatever the code page; `argc` and `argv` are not used.
std::vector<std::string> ProgramArguments(int argc, char** argv);

// Makes writing into a pipe whose reader has gone fail with an error rather than end the program
// (POSIX ignores SIGPIPE from here on; programs it starts get the default back). Nothing on Windows.
void IgnoreBrokenPipes();

// Whether a window that the program shows can be seen by anyone: false on Windows when the
// process's window station is not the interactive one (a service, a task run as SYSTEM), where a
// message box would wait for ever. POSIX leaves that to the window toolkit, which finds no display.
bool WindowsCanBeSeen();

// Writes the UTF-8 `text` to standard output or standard error. A Windows program without a
// console of its own writes to the console of the program that started it when it has no
// redirected handle. On Windows a console gets the text as such, a file or a pipe gets it in the
// console's output code page, or the OEM code page where there is no console, with CR LF line
// ends; POSIX writes the UTF-8 bytes. Returns false, having written nothing, when the stream leads nowhere.
bool WriteToStandardStream(StandardStream stream, const std::string& text);

}  // namespace platform
