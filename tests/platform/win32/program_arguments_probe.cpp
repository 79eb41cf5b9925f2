// Writes the arguments that the program's start reads after the first, one a line in UTF-8, into the
// file that the first names.
#include <filesystem>
#include <fstream>

#include "platform/program_start.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments = platform::ProgramArguments(argc, argv);
  if (arguments.empty()) return 1;
  std::ofstream out(std::filesystem::u8path(arguments[0]), std::ios::binary);
  for (std::size_t i = 1; i < arguments.size(); ++i) out << arguments[i] << '\n';
  return out ? 0 : 1;
}
