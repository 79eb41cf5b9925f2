#include "platform/image_registration.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {

// No component comes near this; a larger file is read no further, and its tables there are
// out of bounds.
constexpr std::uint64_t kImageLimit = 64u << 20;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string WithSeparator(const std::string& folder) {
  return folder.empty() || folder.back() == '\\' || folder.back() == '/' ? folder : folder + "\\";
}

// The folder part of `path`, with its separator; empty for a bare name.
std::string FolderOf(const std::string& path) {
  const std::size_t at = path.find_last_of("\\/");
  return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

}  // namespace

std::string ExpandWindowsVariables(const std::string& text, const std::string& windows_folder) {
  std::string result;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t open = text.find('%', at);
    const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
    if (close == std::string::npos) break;
    const std::string name = Lower(text.substr(open + 1, close - open - 1));
    result += text.substr(at, open - at);
    if (name == "systemroot" || name == "windir") {
      result += windows_folder;
    } else if (name == "systemdrive") {
      result += windows_folder.substr(0, 2);
    } else {
      result += text.substr(open, close - open);
      at = close;  // the closing mark may open the next variable
      continue;
    }
    at = close + 1;
  }
  return result + text.substr(std::min(at, text.size()));
}

Result<ComponentImage> ImageRegistration::ReadImage(const std::string& path) {
  const Result<std::string> bytes = files_.ReadFileBytes(path, kImageLimit);
  if (!bytes.ok()) return bytes.status();
  std::optional<ComponentImage> image;
  if (StartsAsPeImage(std::string_view(bytes.value()).substr(0, 4096))) image = ReadComponentImage(bytes.value());
  if (!image) return Status::Failure(path + " är ingen Windows-komponent.");
  return std::move(*image);
}

Result<ComponentFacts> ImageRegistration::ReadFacts(const std::string& path) {
  const Result<ComponentImage> image = ReadImage(path);
  if (!image.ok()) return image.status();
  ComponentFacts facts;
  facts.bits = image.value().bits;
  if (!image.value().type_library.empty()) facts.library = ReadTypeLibrary(image.value().type_library);
  return facts;
}

bool ImageRegistration::InFolder(const std::string& folder, const std::string& name) {
  return files_.FileLength(WithSeparator(folder) + name).ok();
}

std::vector<std::string> ImageRegistration::MissingImports(const std::string& path) {
  const Result<ComponentImage> image = ReadImage(path);
  if (!image.ok()) return {};
  std::vector<std::string> folders{FolderOf(path), windows_folder_};
  for (const std::string& folder : files_.SystemFolders()) folders.push_back(folder);
  std::vector<std::string> missing;
  for (const std::string& name : image.value().imported_dlls) {
    const std::string lower = Lower(name);
    if (lower.starts_with("api-ms-win-") || lower.starts_with("ext-ms-")) continue;
    // A name with a folder in it is no file name the loader searches for.
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos) continue;
    const bool found = std::any_of(folders.begin(), folders.end(),
                                   [&](const std::string& folder) { return InFolder(folder, name); });
    const bool listed = std::any_of(missing.begin(), missing.end(),
                                    [&](const std::string& other) { return Lower(other) == lower; });
    if (!found && !listed) missing.push_back(name);
  }
  return missing;
}

bool ImageRegistration::NamesFile(const std::string& registered, const std::string& path) {
  std::string text = registered;
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.erase(0, 1);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = text.substr(1, text.size() - 2);
  if (text.starts_with("\\\\?\\") || text.starts_with("\\??\\")) text.erase(0, 4);
  text = ExpandWindowsVariables(text, windows_folder_);
  if (text.empty()) return false;
  if (text.find_first_of("\\/:") == std::string::npos) {
    // A bare name, which COM looks for in the system folder.
    for (const std::string& folder : files_.SystemFolders()) {
      if (files_.SameFile(WithSeparator(folder) + text, path)) return true;
    }
    return false;
  }
  if (files_.SameFile(text, path)) return true;
  // A type library's path may end with the index of its resource: "c:\...\x.ocx\1".
  const std::size_t last = text.find_last_of("\\/");
  const std::string index = text.substr(last + 1);
  return !index.empty() && std::all_of(index.begin(), index.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
         files_.SameFile(text.substr(0, last), path);
}

}  // namespace platform
