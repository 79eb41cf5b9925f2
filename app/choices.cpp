#include "app/choices.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>

#include "app/switches.h"
#include "engine/installer_state.h"

namespace app {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The switch that `written` (an argument up to its "=", in lower case) names, or null.
const Switch* FindSwitch(const std::string& written) {
  std::optional<SwitchId> spelt;
  for (const Spelling& spelling : kSpellings) {
    if (written == spelling.argument) spelt = spelling.id;
  }
  const std::string name = written.substr(1);
  for (const Switch& s : kSwitches) {
    if (spelt ? s.id == *spelt : name == s.name || (s.alias && name == s.alias)) return &s;
  }
  return nullptr;
}

// The catalogue entries named in `list` ("a.ocx,b.dll"), or the error for the first unknown name.
std::string ReadComponents(const std::string& list, std::vector<int>& components) {
  engine::InstallerState catalogue;
  engine::FillCatalogue(catalogue);
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    const std::string name = engine::TrimSpaces(list.substr(start, comma - start));
    if (name.empty()) return "Växeln /COMPONENTS har ett tomt namn: ett kommatecken först, sist eller två i rad.";
    int found = 0;
    for (int i = 1; i <= engine::kInstalledComponentCount; ++i) {
      if (Lower(name) == catalogue.ComponentCatalogue[static_cast<std::size_t>(i)]) found = i;
    }
    if (found == 0) return "Okänd komponent: \"" + name + "\".";
    if (std::find(components.begin(), components.end(), found) != components.end()) {
      return "Komponenten " + name + " anges mer än en gång.";
    }
    components.push_back(found);
    if (comma == std::string::npos) return {};
    start = comma + 1;
  }
}

// A folder as Windows writes it: "/" separates as "\" does, and is shown as "\" in the report.
std::string Backslashed(std::string folder) {
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

// Takes in one switch; returns the usage error it makes, if any.
std::string Apply(const Switch& s, const std::string& value, Choices& choices) {
  switch (s.id) {
    case SwitchId::kSilent: choices.mode = choices.mode == Mode::kWindows ? Mode::kSilent : choices.mode; break;
    case SwitchId::kCheck:
      choices.mode = choices.mode == Mode::kHelp || choices.mode == Mode::kVersion ? choices.mode : Mode::kCheck;
      break;
    case SwitchId::kHelp: choices.mode = Mode::kHelp; break;
    case SwitchId::kVersion: choices.mode = choices.mode == Mode::kHelp ? Mode::kHelp : Mode::kVersion; break;
    case SwitchId::kForce: choices.force = true; break;
    case SwitchId::kDir: choices.destination = Backslashed(value); break;
    case SwitchId::kBackup: choices.backup = Backslashed(value); break;
    case SwitchId::kSource: choices.source = Backslashed(value); break;
    case SwitchId::kLog:
      // On NTFS a colon after a file name names a stream of that file ("msinet.ocx::$DATA" is the
      // component's own content), which no check by name would see; only a drive letter takes one.
      if (value.find(':', std::isalpha(static_cast<unsigned char>(value[0])) ? 2 : 0) != std::string::npos) {
        return "Växeln /LOG har ett kolon (:) som inte står efter en enhetsbokstav. Ange loggfilen som c:\\mapp\\fil.txt.";
      }
      choices.log = value;
      break;
    case SwitchId::kComponents: return ReadComponents(value, choices.components);
  }
  return {};
}

// Takes in one argument; returns the usage error it makes, if any.
std::string ReadOne(const std::string& argument, std::set<SwitchId>& seen, Choices& choices) {
  if (argument.size() < 2 || (argument[0] != '/' && argument[0] != '-')) return "Okänt argument: \"" + argument + "\".";
  const std::size_t equals = argument.find('=');
  const Switch* s = FindSwitch(Lower(argument.substr(0, equals)));
  if (!s) return "Okänd växel: \"" + argument + "\".";
  const std::string shown = argument.substr(0, equals);
  if (!seen.insert(s->id).second) return "Växeln " + shown + " anges mer än en gång.";
  if (!s->value && equals != std::string::npos) return "Växeln " + shown + " tar inget värde.";
  if (s->value && equals == std::string::npos) return "Växeln " + shown + " behöver ett värde: " + shown + "=<" + s->value + ">.";
  // Values are trimmed of blanks, as the window's folder boxes are.
  const std::string value = equals == std::string::npos ? "" : engine::TrimSpaces(argument.substr(equals + 1));
  if (s->value && value.empty()) return "Växeln " + shown + " har ett tomt värde.";
  // No path or name holds a quotation mark. Windows splits "/DIR=c:\x\" so that the "\" keeps the
  // closing quotation mark in the value, and the rest of the command line with it.
  if (value.find('"') != std::string::npos) {
    return "Växeln " + shown + " har ett citattecken (\") i värdet. Ett \\ direkt före det avslutande "
           "citattecknet, som i \"" + shown + "=c:\\Program Files\\x\\\", gör att citattecknet och resten av "
           "kommandoraden blir en del av värdet: skriv mappen utan \\ sist.";
  }
  return Apply(*s, value, choices);
}

}  // namespace

bool Choices::Ticked(int index) const {
  return components.empty() || std::find(components.begin(), components.end(), index) != components.end();
}

ParsedArguments ParseArguments(const std::vector<std::string>& arguments) {
  // Every argument is read, so that the mode is known even after an error: it decides where the
  // error is told. The first error is the one told.
  ParsedArguments parsed;
  std::set<SwitchId> seen;
  for (const std::string& argument : arguments) {
    std::string error = ReadOne(argument, seen, parsed.choices);
    if (parsed.error.empty()) parsed.error = std::move(error);
  }
  if (parsed.error.empty() && parsed.choices.log && parsed.choices.mode == Mode::kWindows) {
    parsed.error = "Växeln /LOG gäller bara med /S.";
  }
  if (parsed.error.empty() && seen.count(SwitchId::kSilent) && seen.count(SwitchId::kCheck)) {
    parsed.error = "Växlarna /S och /CHECK kan inte användas tillsammans: /CHECK ändrar inget, /S installerar.";
  }
  // The window has no /FORCE: a shortcut that names it must not open a window that ignores it.
  if (parsed.error.empty() && parsed.choices.force && parsed.choices.mode == Mode::kWindows) {
    parsed.error = "Växeln /FORCE gäller bara med /S eller /CHECK.";
  }
  return parsed;
}

}  // namespace app
