// Writes the manual page from its template, with the version, the switches, the components and the
// exit codes filled in from the program's own tables, so that the page always lists what the
// program accepts and answers. Run at build time:
//   ebrona-installer-manual TEMPLATE OUTPUT MODULE
// The template's lines "@SWITCHES@", "@COMPONENTS@" and "@EXIT_CODES@" become those lists;
// "@VERSION@" anywhere becomes the line that /VERSION prints, and "@MODULE@" the path of the
// installed window module.
#include <cstdio>
#include <fstream>
#include <string>

#include "app/switches.h"
#include "engine/installer_state.h"

namespace {

// `text` as troff shows it: backslashes and minus signs escaped, and a leading "." or "'" kept
// from being read as a request.
std::string Troff(const std::string& text) {
  std::string escaped = text.starts_with(".") || text.starts_with("'") ? "\\&" : "";
  for (const char c : text) {
    if (c == '\\') escaped += "\\e";
    else if (c == '-') escaped += "\\-";
    else escaped += c;
  }
  return escaped;
}

// `line` with each `name` in it replaced by `value`.
std::string Replaced(std::string line, const std::string& name, const std::string& value) {
  for (std::size_t at = line.find(name); at != std::string::npos; at = line.find(name, at + value.size())) {
    line.replace(at, name.size(), value);
  }
  return line;
}

std::string Switches() {
  std::string list;
  for (const app::Switch& s : app::kSwitches) {
    list += ".TP\n.B " + Troff(app::SwitchNames(s)) + "\n" + Troff(s.meaning) + "\n";
  }
  return list;
}

std::string Components() {
  engine::InstallerState catalogue;
  engine::FillCatalogue(catalogue);
  std::string list;
  for (int i = 1; i <= engine::kInstalledComponentCount; ++i) {
    list += (i == 1 ? "" : ",\n") + Troff(catalogue.ComponentCatalogue[static_cast<std::size_t>(i)]);
  }
  return list + "\n";
}

std::string ExitCodes() {
  std::string list;
  for (const app::ExitCodeMeaning& exit : app::kExitCodes) {
    list += ".TP\n.B " + std::to_string(exit.code) + "\n" + Troff(exit.meaning) + "\n";
  }
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: ebrona-installer-manual TEMPLATE OUTPUT MODULE\n");
    return 2;
  }
  std::ifstream in(argv[1]);
  std::string version = app::VersionText();
  version.pop_back();  // its "\n"
  std::string page, line;
  while (std::getline(in, line)) {
    line = Replaced(Replaced(line, "@VERSION@", Troff(version)), "@MODULE@", Troff(argv[3]));
    if (line == "@SWITCHES@") page += Switches();
    else if (line == "@COMPONENTS@") page += Components();
    else if (line == "@EXIT_CODES@") page += ExitCodes();
    else page += line + "\n";
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << page;
  out.close();
  if (!in.eof() || !out) {
    std::fprintf(stderr, "ebrona-installer-manual: %s could not be read or %s written\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
