#include "tests/support/fake_system.h"

#include <algorithm>
#include <cctype>

namespace fake {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string Display(const std::string& canonical) {
  return canonical.size() == 2 ? canonical + "\\" : canonical;
}

}  // namespace

FakeFileSystem::FakeFileSystem() : drives_{"c:"}, current_folder_("c:\\ebrona") {
  folders_.insert("c:");
  folders_.insert(current_folder_);
}

std::string FakeFileSystem::Canonical(const std::string& path) const {
  std::string text = Lower(path);
  std::replace(text.begin(), text.end(), '/', '\\');
  if (!HasDrive(text)) text = (text.starts_with('\\') ? current_folder_.substr(0, 2) : current_folder_ + "\\") + text;
  // "." names the folder itself, as on Windows.
  for (std::size_t dot; (dot = text.find("\\.\\")) != std::string::npos;) text.erase(dot, 2);
  std::string key;  // without doubled or trailing separators
  for (const char c : text) {
    if (c != '\\' || key.back() != '\\') key += c;
  }
  while (key.size() > 2 && key.back() == '\\') key.pop_back();
  return key;
}

std::string FakeFileSystem::Parent(const std::string& canonical) const {
  std::size_t slash = canonical.rfind('\\');
  return slash == std::string::npos ? canonical : canonical.substr(0, slash);
}

void FakeFileSystem::AddFolder(const std::string& path) {
  std::string key = Canonical(path);
  drives_.insert(key.substr(0, 2));
  while (key.size() > 2) {
    folders_.insert(key);
    key = Parent(key);
  }
  folders_.insert(key);
}

void FakeFileSystem::AddFile(const std::string& path, const std::string& date, const std::string& content) {
  std::string key = Canonical(path);
  AddFolder(Parent(key));
  files_[key] = FakeFile{content, date};
}

void FakeFileSystem::AddDrive(const std::string& drive) {
  drives_.insert(Lower(drive.substr(0, 2)));
  folders_.insert(Lower(drive.substr(0, 2)));
}

void FakeFileSystem::SetCurrentFolder(const std::string& folder) {
  current_folder_ = Canonical(folder);
  AddFolder(current_folder_);
}

void FakeFileSystem::InjectFailure(Op op, const std::string& path, const std::string& text) {
  failures_[{op, Canonical(path)}] = text;
}

const std::string* FakeFileSystem::Injected(Op op, const std::string& canonical) const {
  auto found = failures_.find({op, canonical});
  return found == failures_.end() ? nullptr : &found->second;
}

bool FakeFileSystem::Exists(const std::string& path) const {
  std::string key = Canonical(path);
  return files_.count(key) > 0 || folders_.count(key) > 0;
}

bool FakeFileSystem::IsFolder(const std::string& path) const { return folders_.count(Canonical(path)) > 0; }

const FakeFile& FakeFileSystem::File(const std::string& path) const { return files_.at(Canonical(path)); }

platform::Result<std::uint64_t> FakeFileSystem::FileLength(const std::string& path) {
  std::string key = Canonical(path);
  if (const std::string* text = Injected(Op::kFileLength, key)) return platform::Status::Failure(*text);
  auto file = files_.find(key);
  if (file == files_.end()) return platform::Status::Failure(folders_.count(Parent(key)) ? kNotFound : kPathNotFound);
  return static_cast<std::uint64_t>(file->second.content.size());
}

platform::Result<std::string> FakeFileSystem::ModificationDate(const std::string& path) {
  std::string key = Canonical(path);
  if (const std::string* text = Injected(Op::kModificationDate, key)) return platform::Status::Failure(*text);
  auto file = files_.find(key);
  if (file == files_.end()) return platform::Status::Failure(folders_.count(Parent(key)) ? kNotFound : kPathNotFound);
  return file->second.date;
}

platform::Status FakeFileSystem::CopyReplacing(const std::string& source, const std::string& destination) {
  std::string from = Canonical(source);
  std::string to = Canonical(destination);
  if (const std::string* text = Injected(Op::kCopyFrom, from)) return platform::Status::Failure(*text);
  if (const std::string* text = Injected(Op::kCopyTo, to)) return platform::Status::Failure(*text);
  auto file = files_.find(from);
  if (file == files_.end()) return platform::Status::Failure(kNotFound);
  if (folders_.count(Parent(to)) == 0) return platform::Status::Failure(kPathNotFound);
  if (folders_.count(to) > 0) return platform::Status::Failure("Access is denied.");
  if (from == to) return platform::Status::Failure("A file cannot be copied onto itself.");
  files_[to] = file->second;
  copies_.emplace_back(from, to);
  return platform::Status::Ok();
}

platform::Status FakeFileSystem::MakeFolder(const std::string& path) {
  std::string key = Canonical(path);
  if (const std::string* text = Injected(Op::kMakeFolder, key)) return platform::Status::Failure(*text);
  if (folders_.count(Parent(key)) == 0) return platform::Status::Failure(kPathNotFound);
  if (folders_.count(key) > 0 || files_.count(key) > 0) return platform::Status::Failure(kExists);
  folders_.insert(key);
  folders_made_.push_back(key);
  return platform::Status::Ok();
}

std::vector<std::string> FakeFileSystem::Drives() { return {drives_.begin(), drives_.end()}; }

platform::Result<std::string> FakeFileSystem::DriveCurrentFolder(const std::string& drive) {
  std::string letter = Lower(drive.substr(0, 2));
  if (const std::string* text = Injected(Op::kDriveCurrentFolder, letter)) return platform::Status::Failure(*text);
  if (drives_.count(letter) == 0) return platform::Status::Failure(kPathNotFound);
  return Display(current_folder_.substr(0, 2) == letter ? current_folder_ : letter);
}

platform::Result<std::vector<std::string>> FakeFileSystem::SubFolders(const std::string& folder) {
  std::string key = Canonical(folder);
  if (const std::string* text = Injected(Op::kSubFolders, key)) return platform::Status::Failure(*text);
  if (folders_.count(key) == 0) return platform::Status::Failure(kPathNotFound);
  std::vector<std::string> names;
  for (const std::string& candidate : folders_) {
    if (candidate.size() > key.size() + 1 && candidate.compare(0, key.size(), key) == 0 &&
        candidate[key.size()] == '\\' && candidate.find('\\', key.size() + 1) == std::string::npos) {
      names.push_back(candidate.substr(key.size() + 1));
    }
  }
  return names;
}

bool FakeFileSystem::SameFile(const std::string& first, const std::string& second) {
  const std::string key = Canonical(first);
  return key == Canonical(second) && files_.count(key) > 0;
}

platform::Status FakeProcessLauncher::StartDetached(const std::string& program,
                                                    const std::vector<std::string>& arguments) {
  ++attempts_;
  auto failing = failing_.find(attempts_);
  if (failing != failing_.end()) return platform::Status::Failure(failing->second);
  started_.push_back({program, arguments});
  return platform::Status::Ok();
}

platform::Status FakeFileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes) {
  std::string key = Canonical(path);
  if (const std::string* text = Injected(Op::kWriteFile, key)) return platform::Status::Failure(*text);
  if (folders_.count(Parent(key)) == 0) return platform::Status::Failure(kPathNotFound);
  if (folders_.count(key) > 0) return platform::Status::Failure("Access is denied.");
  files_[key] = FakeFile{bytes, ""};
  return platform::Status::Ok();
}

namespace {

// Answers at once what the process would have done by the end of the wait.
class FakeWatchedProcess : public platform::WatchedProcess {
 public:
  FakeWatchedProcess(std::optional<std::uint32_t> ending, std::vector<std::chrono::milliseconds>& waits)
      : ending_(ending), waits_(waits) {}
  std::optional<std::uint32_t> WaitForExit(std::chrono::milliseconds limit) override {
    waits_.push_back(limit);
    return ending_;
  }

 private:
  std::optional<std::uint32_t> ending_;
  std::vector<std::chrono::milliseconds>& waits_;
};

}  // namespace

platform::Status FakeProcessLauncher::StartWatched(const std::string& program,
                                                   const std::vector<std::string>& arguments,
                                                   std::unique_ptr<platform::WatchedProcess>& process) {
  const platform::Status started = StartDetached(program, arguments);
  if (!started.ok()) return started;
  const auto ending = endings_.find(attempts_);
  process = std::make_unique<FakeWatchedProcess>(ending == endings_.end() ? std::optional<std::uint32_t>(0) : ending->second, waits_);
  return started;
}

double ScriptedClock::SecondsSinceMidnight() {
  ++readings_;
  if (next_ < script_.size()) {
    now_ = script_[next_++];
  } else {
    now_ += step_;
    if (now_ >= 86400.0) now_ -= 86400.0;
  }
  return now_;
}

}  // namespace fake
