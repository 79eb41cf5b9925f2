#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace engine {

// Slots 0 to 20; slot 0 stays empty, entries live in slots 1 to ComponentCount.
inline constexpr int kCatalogueSlots = 21;
inline constexpr std::int16_t kInstalledComponentCount = 8;

// What the main window keeps from its load until the program ends.
struct InstallerState {
  std::array<std::string, kCatalogueSlots> ComponentCatalogue;
  std::int16_t ComponentCount = 0;
  std::string SourceFolder;  // empty after start-up: sources are bare names in the current folder
  std::string SystemFolder;  // empty, or ends with "\"
};

// Stores the eight component file names into slots 1 to 8, in catalogue order.
void FillCatalogue(InstallerState& state);

// The text with leading and trailing space characters removed (only " "; tabs stay).
std::string TrimSpaces(const std::string& text);

// A folder string from what the user typed: trimmed of spaces and, unless empty, ending with "\".
std::string NormaliseFolder(const std::string& typed);

}  // namespace engine
