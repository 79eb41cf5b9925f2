#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "platform/in_use_replacement.h"
#include "platform/system.h"
#include "tests/support/pe_image.h"

// An in-memory host for tests: files and folders keyed by the lower-cased Windows path, failures
// injected per operation and path, and a record of what happened so that tests assert outcomes
// rather than calls.
namespace fake {

enum class Op {
  kFileLength, kReadFile, kModificationDate, kCopyFrom, kCopyTo, kMakeFolder, kDriveCurrentFolder, kSubFolders, kWriteFile,
  kRenameAside, kRename /* keyed by the file renamed */, kDeleteAtRestart
};

// Thrown by an operation that a test chose to be the one at which the program is killed: not a
// std::exception, so that nothing in the program catches it, and nothing after it runs.
struct Killed {};

// Copies and starts fail with this text unless the installation lock is held.
inline constexpr const char* kLockNotHeld = "The installation lock is not held.";

struct FakeFile {
  std::string content;
  std::string date;  // "yyyymmdd"
  bool operator==(const FakeFile&) const = default;
};

// A held file is replaced around its holder as on Windows, through platform::ReplaceFileInUse: the
// new file is first "<path>.new" (the temporary file), the old one is renamed aside to "<path>.old";
// the holder keeps the file it holds under any new name.
class FakeFileSystem : public platform::FileSystem, public platform::InUseSteps {
 public:
  // Starts with drive c: only, the current folder "c:\ebrona".
  FakeFileSystem() { SetCurrentFolder("c:\\ebrona"); }

  // Arranging the world. Paths are absolute or relative to the current folder; parents are made.
  // A file's content is by default the smallest that a component can have.
  void AddFile(const std::string& path, const std::string& date, const std::string& content = PeImage()) {
    AddFolder(Parent(Key(path)));
    files_[Key(path)] = FakeFile{content, date};
  }
  void AddFolder(const std::string& path);
  void AddDrive(const std::string& drive) { AddFolder(drive.substr(0, 2)); }  // "d:"
  void SetCurrentFolder(const std::string& folder) { AddFolder(current_folder_ = Key(folder)); }
  // Every later operation `op` on `path` fails with `text` (the same path in any spelling).
  void InjectFailure(Op op, const std::string& path, const std::string& text) { failures_[{op, Key(path)}] = text; }
  // The next operation `op` on `path` kills the program (throws Killed) before it changes anything.
  void InjectKill(Op op, const std::string& path) { kills_.insert({op, Key(path)}); }
  // Copies fail with kLockNotHeld while `*held` is false.
  void RequireLock(const bool& held) { lock_held_ = &held; }
  // Ebrona Kassa (4711) holds the file at `path` for good: `loaded` as a DLL, which may be renamed
  // but not replaced or deleted, else open without delete sharing.
  void Hold(const std::string& path, bool loaded) { holds_[Key(path)] = loaded; }

  // Looking at the result.
  bool Exists(const std::string& path) const { return files_.count(Key(path)) || folders_.count(Key(path)); }
  const FakeFile& File(const std::string& path) const { return files_.at(Key(path)); }  // throws when missing
  // Every file, keyed by its lower-case absolute path, for comparing whole states.
  std::map<std::string, FakeFile> Files() const { return files_; }
  const std::vector<std::string>& FoldersMade() const { return folders_made_; }
  const std::vector<std::string>& DeletedAtRestart() const { return deleted_at_restart_; }

  // platform::FileSystem. A missing file or parent folder fails with kNotFound or kPathNotFound.
  platform::Result<std::uint64_t> FileLength(const std::string& path) override;
  platform::Result<std::string> ReadFileBytes(const std::string& path, std::uint64_t limit) override;
  platform::Result<std::string> ModificationDate(const std::string& path) override;
  // Every file is a regular one: the in-memory host has no devices.
  bool IsRegularFile(const std::string& path) override { return files_.count(Key(path)) > 0; }
  platform::Status CopyReplacing(const std::string& source, const std::string& destination,
                                 bool* replaced_in_use = nullptr) override;
  // With no file under the name, "<path>.old" takes it back; then "<path>.new" goes. (What the
  // system deletes of the rest is the real file systems' to show.)
  void RecoverLeftovers(const std::string& path) override;
  bool SameContent(const std::string& first, const std::string& second) override {
    return files_.count(Key(first)) && files_.count(Key(second)) && File(first).content == File(second).content;
  }
  // One file or folder only under the same key: the in-memory host has no links.
  bool SameFile(const std::string& first, const std::string& second) override {
    return Key(first) == Key(second) && Exists(first);
  }
  bool IsFolder(const std::string& path) override { return folders_.count(Key(path)) > 0; }
  // The in-memory host runs no program from its files.
  bool IsRunningProgram(const std::string&) override { return false; }
  // The file gets the date "" (never older than a component).
  platform::Status WriteFileReplacing(const std::string& path, const std::string& bytes) override;
  platform::Status MakeFolder(const std::string& path) override;
  std::vector<std::string> Drives() override;
  platform::Result<std::string> DriveCurrentFolder(const std::string& drive) override;
  platform::Result<std::vector<std::string>> SubFolders(const std::string& folder) override;
  // Those of 64-bit Windows.
  std::vector<std::string> SystemFolders() override { return {"c:\\windows\\system32", "c:\\windows\\syswow64"}; }

  static constexpr const char* kNotFound = "The system cannot find the file specified.";
  static constexpr const char* kPathNotFound = "The system cannot find the path specified.";
  static constexpr const char* kExists = "Cannot create a file when that file already exists.";
  static constexpr const char* kSharingViolation = "The process cannot access the file because it is being used by another process.";
  // platform::InUseSteps.
  platform::Result<std::string> RenameAside(const std::string& path) override;
  platform::Status Rename(const std::string& from, const std::string& to) override;
  platform::Status DeleteAtRestart(const std::string& path) override;
  std::vector<platform::FileHolder> Holders(const std::string& path) override {
    return holds_.count(Key(path)) ? std::vector<platform::FileHolder>{{"Ebrona Kassa", 4711}} : std::vector<platform::FileHolder>{};
  }

 private:
  // The key of a path: absolute, lower case, "\" separators, none doubled or trailing.
  std::string Key(const std::string& path) const;
  // The injected failure of `op` on `key`; else a failure with `otherwise` unless it is null.
  // Throws Killed where a kill was injected, once.
  platform::Status Outcome(Op op, const std::string& key, const char* otherwise = nullptr);
  // The file at `path` for `op`, or the failure reading it gives.
  platform::Result<FakeFile> Read(Op op, const std::string& path);
  // Gives the file `from` the name `to`, its holder with it.
  void Move(const std::string& from, const std::string& to);
  const char* MissingParent(const std::string& key) const { return folders_.count(Parent(key)) ? nullptr : kPathNotFound; }
  static std::string Parent(const std::string& key) { return key.substr(0, std::max<std::size_t>(2, key.rfind('\\'))); }

  std::map<std::string, FakeFile> files_;
  std::set<std::string> folders_;
  std::string current_folder_;
  std::map<std::pair<Op, std::string>, std::string> failures_;
  std::set<std::pair<Op, std::string>> kills_;
  const bool* lock_held_ = nullptr;
  std::vector<std::string> folders_made_;
  std::map<std::string, bool> holds_;  // key: loaded
  std::vector<std::string> deleted_at_restart_;
};

struct StartedProcess {
  std::string program;
  std::vector<std::string> arguments;
};

class FakeProcessLauncher : public platform::ProcessLauncher {
 public:
  // The start number `ordinal` (1 for the first) fails with `text`.
  void FailStart(int ordinal, const std::string& text) { failing_[ordinal] = text; }
  // The watched process of start number `ordinal` ends with `status`, or never with nothing;
  // others end with 0.
  void EndWith(int ordinal, std::optional<std::uint32_t> status) { endings_[ordinal] = status; }
  // Called at every start that succeeds, before the process is waited for: what the program does.
  std::function<void(const StartedProcess&)> on_start;
  const std::vector<StartedProcess>& Started() const { return started_; }
  // The limits of every wait, in order.
  const std::vector<std::chrono::milliseconds>& Waits() const { return waits_; }
  // Starts fail with kLockNotHeld while `*held` is false.
  void RequireLock(const bool& held) { lock_held_ = &held; }

  platform::Status StartDetached(const std::string& program, const std::vector<std::string>& arguments) override;
  platform::Status StartWatched(const std::string& program, const std::vector<std::string>& arguments,
                                std::unique_ptr<platform::WatchedProcess>& process) override;

 private:
  std::map<int, std::string> failing_;
  std::map<int, std::optional<std::uint32_t>> endings_;
  std::vector<StartedProcess> started_;
  std::vector<std::chrono::milliseconds> waits_;
  int attempts_ = 0;
  const bool* lock_held_ = nullptr;
};

// A clock that moves on by a fixed step at every reading, wrapping at midnight; or one that plays
// back a script of readings and then keeps stepping from the last one.
class ScriptedClock : public platform::Clock {
 public:
  explicit ScriptedClock(double start = 36000.0, double step = 0.05) : now_(start), step_(step) {}
  void Script(std::vector<double> readings) { script_ = std::move(readings), next_ = 0; }
  int Readings() const { return readings_; }
  double SecondsSinceMidnight() override;

 private:
  double now_, step_;
  std::vector<double> script_;
  std::size_t next_ = 0;
  int readings_ = 0;
};

struct ProgramEnded : std::runtime_error {
  ProgramEnded() : std::runtime_error("program ended") {}
};

// Ending the program throws ProgramEnded, so a test sees where the program would have stopped.
class FakeProgramEnd : public platform::ProgramEnd {
 public:
  [[noreturn]] void EndNow() override { throw ProgramEnded(); }
};

// The lock of one installation at a time: every Take gives `taken` (false: another run holds it;
// a failure: it cannot be made), or false while it is held already, and records the limit of its
// wait. `held` tells whether it is held now; a test that kills a run clears it, as the system does.
struct FakeInstallationLock : platform::InstallationLock {
  platform::Result<bool> taken = true;
  bool held = false;
  std::vector<std::chrono::milliseconds> waits;
  platform::Result<bool> Take(std::chrono::milliseconds limit) override {
    waits.push_back(limit);
    if (held) return false;
    held = taken.ok() && taken.value();
    return taken;
  }
  void Release() override { held = false; }
};

// Components and the registry in memory, by lower-case path and GUID. A file without facts has no
// type library; a registry value names a file when it is its path in another letter case.
struct FakeRegistration : platform::ComponentRegistration {
  std::map<std::string, platform::ComponentFacts> facts;
  std::map<std::string, std::vector<std::string>> missing_imports;
  std::map<std::pair<std::string, unsigned>, std::string> classes;    // (clsid, bits): InprocServer32
  std::map<std::pair<std::string, unsigned>, std::string> libraries;  // (libid, bits): win32 or win64
  std::optional<std::string> registry_failure;
  int registry_reads = 0;

  // `path` as a component of `bits` with a type library of its own holding the `creatable` classes.
  void Component(const std::string& path, unsigned bits, std::vector<std::string> creatable) {
    facts[Lower(path)] = {bits, platform::TypeLibraryInfo{"{LIB " + Lower(path) + "}", 1, 0, 0, std::move(creatable)}};
  }
  // Writes what a DllRegisterServer of the component at `path` writes.
  void Register(const std::string& path) {
    const auto& component = facts.at(Lower(path));
    for (const std::string& clsid : component.library->creatable_classes) classes[{clsid, component.bits}] = path;
    libraries[{component.library->libid, component.bits}] = path;
  }

  platform::Result<platform::ComponentFacts> ReadFacts(const std::string& path) override {
    const auto found = facts.find(Lower(path));
    return found == facts.end() ? platform::Result<platform::ComponentFacts>(platform::ComponentFacts{32, {}}) : found->second;
  }
  std::vector<std::string> MissingImports(const std::string& path) override { return missing_imports[Lower(path)]; }
  platform::Status ReadRegistry() override {
    ++registry_reads;
    return registry_failure ? platform::Status::Failure(*registry_failure) : platform::Status::Ok();
  }
  std::optional<std::string> ClassServer(const std::string& clsid, unsigned bits) override {
    return classes.contains({clsid, bits}) ? std::optional(classes.at({clsid, bits})) : std::nullopt;
  }
  std::optional<std::string> TypeLibraryFile(const platform::TypeLibraryInfo& library, unsigned bits) override {
    return libraries.contains({library.libid, bits}) ? std::optional(libraries.at({library.libid, bits})) : std::nullopt;
  }
  bool NamesFile(const std::string& registered, const std::string& path) override { return Lower(registered) == Lower(path); }

  static std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  }
};

// All of them together, as the engine and the windows take them.
struct FakeSystem {
  FakeFileSystem files;
  FakeProcessLauncher processes;
  ScriptedClock clock;
  FakeProgramEnd end;
  FakeInstallationLock lock;
  FakeRegistration registration;
  platform::System system{files, processes, clock, end, lock, registration};
  FakeSystem() { files.RequireLock(lock.held), processes.RequireLock(lock.held); }
};

}  // namespace fake
