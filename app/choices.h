#pragma once

#include <optional>
#include <string>
#include <vector>

namespace app {

enum class Mode { kWindows, kSilent, kCheck, kHelp, kVersion };

// What the command line asks for: the same values the main window gathers, and how to run.
struct Choices {
  Mode mode = Mode::kWindows;
  std::optional<std::string> destination;  // Text1
  std::optional<std::string> backup;       // Text2
  std::optional<std::string> source;       // the folder of the component files
  std::vector<int> components;             // the ticked catalogue entries; empty: all of them
  std::optional<std::string> log;          // the file the report goes to
  bool force = false;                      // every ticked entry is copied, whatever the dates

  // Whether catalogue entry `index` is ticked.
  bool Ticked(int index) const;
};

// The choices, or the usage error that the arguments make.
struct ParsedArguments {
  Choices choices;
  std::string error;  // empty when the arguments are good
};

// Reads the arguments after the program's name. Switches start with "/" or "-", are matched
// without regard to case, and take their value after "="; a value may not be empty. "-h", "--help"
// and "--version" are read as /? and /VERSION. /? goes before /VERSION, and both before the rest.
// Anything else, a switch given twice, a component name outside the catalogue, /LOG without /S and
// /FORCE without /S or /CHECK are usage errors.
ParsedArguments ParseArguments(const std::vector<std::string>& arguments);

}  // namespace app
