#include "app/switches.h"

#include <cctype>

#include "engine/installer_state.h"

namespace app {
namespace {

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The text padded with blanks to `width` characters (UTF-8 letters count once).
std::string Padded(std::string text, std::size_t width) {
  std::size_t characters = 0;
  for (const char c : text) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  if (characters < width) text.append(width - characters, ' ');
  return text;
}

}  // namespace

std::string SwitchNames(const Switch& s) {
  // Appended piece by piece: mingw's GCC 12 warns falsely on "/" + a temporary string.
  std::string names = "/";
  names.append(Upper(s.name));
  if (s.alias) names.append(", /").append(Upper(s.alias));
  if (s.value) names.append("=<").append(s.value).append(">");
  for (const Spelling& spelling : kSpellings) {
    if (spelling.id == s.id) names.append(", ").append(spelling.argument);
  }
  return names;
}

std::string UsageText(Layout layout) {
  const bool columns = layout == Layout::kColumns;
  std::string text =
      "Användning: ebrona-installer [växlar]\n"
      "Utan /S eller /CHECK öppnas fönstret med värdena ifyllda. Växlar skrivs med / eller -,\n"
      "värden efter =, och ett värde med blanksteg inom citattecken.\n\n";
  for (const Switch& s : kSwitches) {
    text += columns ? "  " + Padded(SwitchNames(s), 30) : SwitchNames(s) + "\n\t";
    text += s.meaning + std::string("\n");
  }
  engine::InstallerState catalogue;
  engine::FillCatalogue(catalogue);
  text += "\nKomponenter:";
  for (int i = 1; i <= engine::kInstalledComponentCount; ++i) {
    text += (i == 1 ? " " : ", ") + catalogue.ComponentCatalogue[static_cast<std::size_t>(i)];
  }
  text += "\n\nSlutkoder:\n";
  for (const ExitCodeMeaning& exit : kExitCodes) {
    text += columns ? "  " + Padded(std::to_string(exit.code), 6) : std::to_string(exit.code) + "\t";
    text += exit.meaning + std::string("\n");
  }
  return text;
}

std::string VersionText() { return "ebrona-installer " EBRONA_VERSION "\n"; }

}  // namespace app
