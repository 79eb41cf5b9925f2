#include "tests/support/fake_system.h"

#include <cctype>
#include <cmath>

namespace fake {

std::string FakeFileSystem::Key(const std::string& path) const {
  std::string text;
  for (const char c : path) text += c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (text.size() < 2 || text[1] != ':') {
    text = (text.starts_with('\\') ? current_folder_.substr(0, 2) : current_folder_ + "\\") + text;
  }
  // "." names the folder itself, and doubled separators count once, as on Windows.
  for (std::size_t at; (at = text.find("\\.\\")) != std::string::npos;) text.erase(at, 2);
  for (std::size_t at; (at = text.find("\\\\")) != std::string::npos;) text.erase(at, 1);
  while (text.size() > 2 && text.back() == '\\') text.pop_back();
  return text;
}

platform::Status FakeFileSystem::Outcome(Op op, const std::string& key, const char* otherwise) {
  if (kills_.erase({op, key})) throw Killed{};
  const auto injected = failures_.find({op, key});
  if (injected != failures_.end()) return platform::Status::Failure(injected->second);
  return otherwise ? platform::Status::Failure(otherwise) : platform::Status::Ok();
}

platform::Result<FakeFile> FakeFileSystem::Read(Op op, const std::string& path) {
  const std::string key = Key(path);
  const auto file = files_.find(key);
  const platform::Status status = Outcome(op, key, file == files_.end() ? kNotFound : nullptr);
  if (!status.ok()) return status;
  return file->second;
}

void FakeFileSystem::AddFolder(const std::string& path) {
  std::string key = Key(path);
  folders_.insert(key);
  while (key.size() > 2) folders_.insert(key = Parent(key));
}

platform::Result<std::uint64_t> FakeFileSystem::FileLength(const std::string& path) {
  const auto file = Read(Op::kFileLength, path);
  return file.ok() ? platform::Result<std::uint64_t>(file.value().content.size()) : file.status();
}

platform::Result<std::string> FakeFileSystem::ReadFileBytes(const std::string& path, std::uint64_t limit) {
  const auto file = Read(Op::kReadFile, path);
  if (!file.ok()) return file.status();
  return file.value().content.substr(0, static_cast<std::size_t>(std::min<std::uint64_t>(limit, file.value().content.size())));
}

platform::Result<std::string> FakeFileSystem::ModificationDate(const std::string& path) {
  const auto file = Read(Op::kModificationDate, path);
  return file.ok() ? platform::Result<std::string>(file.value().date) : file.status();
}

platform::Status FakeFileSystem::CopyReplacing(const std::string& source, const std::string& destination,
                                               bool* replaced_in_use) {
  if (replaced_in_use) *replaced_in_use = false;
  if (lock_held_ && !*lock_held_) return platform::Status::Failure(kLockNotHeld);
  const auto file = Read(Op::kCopyFrom, source);
  if (!file.ok()) return file.status();
  const std::string to = Key(destination);
  const platform::Status copied = Outcome(Op::kCopyTo, to, MissingParent(to));
  if (!copied.ok()) return copied;
  if (!holds_.count(to)) {
    files_[to] = file.value();
    return copied;
  }
  files_[to + ".new"] = file.value();
  const platform::Status replaced = platform::ReplaceFileInUse(*this, to + ".new", to);
  files_.erase(to + ".new");
  if (replaced_in_use) *replaced_in_use = replaced.ok();
  return replaced;
}

platform::Result<std::string> FakeFileSystem::RenameAside(const std::string& path) {
  const platform::Status refused = Outcome(Op::kRenameAside, Key(path), holds_.at(Key(path)) ? nullptr : kSharingViolation);
  const platform::Status renamed = refused.ok() ? Rename(path, path + ".old") : refused;
  return renamed.ok() ? platform::Result<std::string>(Key(path) + ".old") : renamed;
}

platform::Status FakeFileSystem::Rename(const std::string& from, const std::string& to) {
  const platform::Status renamed = Outcome(Op::kRename, Key(from), files_.count(Key(to)) ? kExists : nullptr);
  if (renamed.ok()) Move(Key(from), Key(to));
  return renamed;
}

void FakeFileSystem::Move(const std::string& from, const std::string& to) {
  files_[to] = files_.at(from), files_.erase(from);
  if (const auto held = holds_.extract(from)) holds_[to] = held.mapped();
}

void FakeFileSystem::RecoverLeftovers(const std::string& path) {
  const std::string key = Key(path), old = key + ".old";
  if (!files_.count(key) && files_.count(old)) Move(old, key);
  files_.erase(key + ".new");
}

platform::Status FakeFileSystem::DeleteAtRestart(const std::string& path) {
  const platform::Status scheduled = Outcome(Op::kDeleteAtRestart, Key(path));
  if (scheduled.ok()) deleted_at_restart_.push_back(Key(path));
  return scheduled;
}

platform::Status FakeFileSystem::WriteFileReplacing(const std::string& path, const std::string& bytes) {
  const std::string key = Key(path);
  const platform::Status written = Outcome(Op::kWriteFile, key, MissingParent(key));
  if (written.ok()) files_[key] = FakeFile{bytes, ""};
  return written;
}

platform::Status FakeFileSystem::MakeFolder(const std::string& path) {
  const std::string key = Key(path);
  const char* refusal = MissingParent(key);
  if (!refusal && (folders_.count(key) || files_.count(key))) refusal = kExists;
  const platform::Status made = Outcome(Op::kMakeFolder, key, refusal);
  if (made.ok()) folders_made_.push_back(*folders_.insert(key).first);
  return made;
}

std::vector<std::string> FakeFileSystem::Drives() {
  std::vector<std::string> drives;
  for (const std::string& folder : folders_) {
    if (folder.size() == 2) drives.push_back(folder);
  }
  return drives;
}

platform::Result<std::string> FakeFileSystem::DriveCurrentFolder(const std::string& drive) {
  const std::string letter = Key(drive.substr(0, 2));
  const platform::Status usable = Outcome(Op::kDriveCurrentFolder, letter, folders_.count(letter) ? nullptr : kPathNotFound);
  if (!usable.ok()) return usable;
  const std::string folder = current_folder_.starts_with(letter) ? current_folder_ : letter;
  return folder.size() == 2 ? folder + "\\" : folder;
}

platform::Result<std::vector<std::string>> FakeFileSystem::SubFolders(const std::string& folder) {
  const std::string key = Key(folder);
  const platform::Status readable = Outcome(Op::kSubFolders, key, folders_.count(key) ? nullptr : kPathNotFound);
  if (!readable.ok()) return readable;
  std::vector<std::string> names;
  for (const std::string& candidate : folders_) {
    if (candidate.size() > key.size() && Parent(candidate) == key) names.push_back(candidate.substr(key.size() + 1));
  }
  return names;
}

platform::Status FakeProcessLauncher::StartDetached(const std::string& program,
                                                    const std::vector<std::string>& arguments) {
  if (lock_held_ && !*lock_held_) return platform::Status::Failure(kLockNotHeld);
  const auto failing = failing_.find(++attempts_);
  if (failing != failing_.end()) return platform::Status::Failure(failing->second);
  started_.push_back({program, arguments});
  if (on_start) on_start(started_.back());
  return platform::Status::Ok();
}

namespace {

// Answers at once what the process would have done by the end of the wait.
struct FakeWatchedProcess : platform::WatchedProcess {
  FakeWatchedProcess(std::optional<std::uint32_t> status, std::vector<std::chrono::milliseconds>& waits)
      : status(status), waits(waits) {}
  std::optional<std::uint32_t> WaitForExit(std::chrono::milliseconds limit) override {
    waits.push_back(limit);
    return status;
  }
  std::optional<std::uint32_t> status;
  std::vector<std::chrono::milliseconds>& waits;
};

}  // namespace

platform::Status FakeProcessLauncher::StartWatched(const std::string& program,
                                                   const std::vector<std::string>& arguments,
                                                   std::unique_ptr<platform::WatchedProcess>& process) {
  const platform::Status started = StartDetached(program, arguments);
  const auto ending = endings_.find(attempts_);
  const auto status = ending == endings_.end() ? std::optional<std::uint32_t>(0) : ending->second;
  if (started.ok()) process = std::make_unique<FakeWatchedProcess>(status, waits_);
  return started;
}

double ScriptedClock::SecondsSinceMidnight() {
  ++readings_;
  now_ = next_ < script_.size() ? script_[next_++] : std::fmod(now_ + step_, 86400.0);
  return now_;
}

}  // namespace fake
