#include "engine/installer_state.h"

namespace engine {

void FillCatalogue(InstallerState& state) {
  static constexpr const char* kNames[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                           "msinet.ocx",   "riched32.dll", "richtx32.ocx", "pdf_itb.ocx"};
  int index = 1;
  for (const char* name : kNames) state.ComponentCatalogue[index++] = name;
}

std::string TrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string NormaliseFolder(const std::string& typed) {
  std::string folder = TrimSpaces(typed);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace engine
