// The promises of platform::FileSystem, the same for every implementation: compiled into each
// platform's test program, which supplies the native:: functions for its own temporary folders.
#include <algorithm>
#include <cerrno>

#include "tests/platform/file_system_conformance.h"

namespace {

namespace fs = std::filesystem;

// Every entry below `folder` with its content ("<folder>", "<link>"), to compare whole states.
std::map<fs::path, std::string> Snapshot(const fs::path& folder) {
  std::map<fs::path, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    entries[fs::relative(entry, folder)] = entry.is_symlink() ? "<link>" : entry.is_directory() ? "<folder>" : ReadFile(entry);
  }
  return entries;
}

// The failure's text, to compare with Text(error); "" stands for any text where the platform pins
// no texts down.
std::string FailureOf(const platform::Status& status) {
  if (status.ok()) return "success";
  return native::FailureText(ENOENT).empty() && !status.text().empty() ? "" : status.text();
}

// A result's value, or its failure as FailureOf gives it.
std::string Shown(const platform::Result<std::string>& result) {
  return result.ok() ? result.value() : FailureOf(result.status());
}

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = native::NewTempFolder();
    folder_ = root_ / u8"Mapp åäö";
    fs::create_directories(folder_);
    files_ = &native::Files();
  }
  void TearDown() override {
    fs::current_path(saved_folder_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string W(const fs::path& host) const { return native::WindowsPath(host); }
  static std::string Text(int error) { return native::FailureText(error); }

  fs::path root_, folder_;
  platform::FileSystem* files_ = nullptr;

 private:
  const fs::path saved_folder_ = fs::current_path();
};

TEST_F(FileSystemTest, LengthDateHeadAndContentOfAFileUnderAnySpellingAndTheirFailures) {
  WriteFile(folder_ / u8"Fem å.ocx", "12345");
  WriteFile(folder_ / "annan.ocx", "12354");
  WriteFile(folder_ / "tom.dll", "");
  SetDate(folder_ / u8"Fem å.ocx", 2021, 6, 5);
  SetDate(folder_ / "tom.dll", 1999, 12, 31);
  fs::current_path(folder_);
  const std::string d = W(folder_);
  const std::string missing = Text(ENOENT), folder = Text(EISDIR);
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {  // path, length, date, 3 first bytes
      {d + "\\FEM Å.OCX", "5", "20210605", "123"}, {"fem å.ocx", "5", "20210605", "123"},
      {"..\\MAPP ÅÄÖ/fem å.ocx", "5", "20210605", "123"}, {d + "\\tom.dll", "0", "19991231", ""},
      {d + "\\saknas.ocx", missing, missing, missing}, {d + "\\saknas\\fem å.ocx", missing, missing, missing},
      {d, folder, folder, folder}, {"q:\\fem å.ocx", missing, missing, missing}};
  for (const auto& [path, length, date, head] : cases) {
    const auto size = files_->FileLength(path);
    EXPECT_EQ(size.ok() ? std::to_string(size.value()) : FailureOf(size.status()), length) << path;
    EXPECT_EQ(Shown(files_->ModificationDate(path)), date) << path;
    EXPECT_EQ(Shown(files_->ReadFileBytes(path, 3)), head) << path;
    EXPECT_EQ(files_->SameContent(path, d + "\\fem å.ocx"), length == "5") << path;
  }
  EXPECT_FALSE(files_->SameContent(d + "\\annan.ocx", d + "\\fem å.ocx"));
}

// The clean-up of leftovers takes only what killed copies to that name left, and the copy leaves nothing.
TEST_F(FileSystemTest, LeftoversAreClearedAndTheCopyReplacesTheFileUnderItsOwnNameWithItsTime) {
  // Over 1 MiB, so the data goes through a copy loop more than once.
  std::string content(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
  WriteFile(folder_ / u8"källa å.ocx", content);
  SetDate(folder_ / u8"källa å.ocx", 2001, 2, 3);
  fs::permissions(folder_ / u8"källa å.ocx", fs::perms(0640));
  WriteFile(folder_ / u8"MÅL Ö.OCX", "the old file");
  const std::vector<std::string> leftovers = native::LeftoverNames("MÅL Ö.OCX");
  for (const std::string& name : leftovers) WriteFile(folder_ / fs::path(std::u8string(name.begin(), name.end())), "x");
  auto expected = Snapshot(folder_);
  auto busy = native::HoldAsCopyUnderWay(folder_ / std::u8string(leftovers.back().begin(), leftovers.back().end()));

  files_->RecoverLeftovers(W(folder_) + "\\mål ö.ocx");
  const platform::Status copied = files_->CopyReplacing(W(folder_ / u8"källa å.ocx"), W(folder_) + "\\mål ö.ocx");
  busy.reset();
  ASSERT_TRUE(copied.ok()) << copied.text();
  expected.erase(std::u8string(leftovers.front().begin(), leftovers.front().end()));
  expected[u8"MÅL Ö.OCX"] = content;
  EXPECT_TRUE(Snapshot(folder_) == expected) << "a temporary file was left behind, or another file touched";
  EXPECT_EQ(fs::last_write_time(folder_ / u8"MÅL Ö.OCX"), fs::last_write_time(folder_ / u8"källa å.ocx"));
  EXPECT_EQ(fs::status(folder_ / u8"MÅL Ö.OCX").permissions(), fs::status(folder_ / u8"källa å.ocx").permissions());
}

TEST_F(FileSystemTest, ACopyThatFailsChangesNothing) {
  WriteFile(folder_ / "komp.ocx", "new");
  WriteFile(folder_ / u8"mål" / "komp.ocx", "old");
  fs::create_directories(folder_ / u8"mål" / "mapp");
  fs::create_hard_link(folder_ / u8"mål" / "komp.ocx", folder_ / u8"länk.ocx");
  // Read-only: no write bit at all, which root too must respect.
  WriteFile(folder_ / u8"mål" / "skyddad.ocx", "old");
  fs::permissions(folder_ / u8"mål" / "skyddad.ocx", fs::perms::owner_read | fs::perms::group_read);
  const std::string d = W(folder_) + "\\", komp = d + "komp.ocx", old = d + "mål\\komp.ocx";
  std::vector<native::CopyFailure> copies = {
      {d + "saknas.ocx", old, ENOENT}, {komp, d + "saknas\\komp.ocx", ENOENT}, {komp, d + "mål\\mapp", EISDIR},
      {d + "mål", old, EISDIR}, {komp, "q:\\komp.ocx", ENOENT}, {komp, d + "mål\\skyddad.ocx", EACCES},
      {d + "saknas.ocx", d + "saknas.ocx", ENOENT},
      // The file onto itself, under other spellings or a second name.
      {old, d + "MÅL\\KOMP.OCX", EBUSY}, {old, d + "mål\\.\\komp.ocx", EBUSY}, {old, d + "mål/komp.ocx", EBUSY},
      {d + "länk.ocx", old, EBUSY}};
  for (native::CopyFailure& more : native::PlatformCopyFailures(folder_, d)) copies.push_back(std::move(more));
  for (const auto& [source, destination, error, arrange] : copies) {
    const auto held = arrange ? arrange() : nullptr;
    const auto before = Snapshot(folder_);
    EXPECT_EQ(files_->SameFile(source, destination), error == EBUSY) << source << " -> " << destination;
    EXPECT_EQ(FailureOf(files_->CopyReplacing(source, destination)), Text(error)) << source << " -> " << destination;
    EXPECT_TRUE(Snapshot(folder_) == before) << source << " -> " << destination;
  }
  fs::permissions(folder_ / u8"mål" / "skyddad.ocx", fs::perms::owner_all);
}

TEST_F(FileSystemTest, SubFoldersSortedIgnoringCaseAndTheCurrentFolderOfEachDrive) {
  for (const char8_t* name : {u8"b", u8"A", u8"Ö", u8"c", u8"C-mapp"}) fs::create_directories(folder_ / "lista" / name);
  WriteFile(folder_ / "lista" / "a-fil", "x");
  const auto names = files_->SubFolders(W(folder_) + "\\LISTA\\");
  EXPECT_EQ(names.ok() ? names.value() : std::vector{names.status().text()},
            (std::vector<std::string>{"A", "b", "c", "C-mapp", "Ö"}));

  const std::string drive = W(root_).substr(0, 2);
  const std::vector<std::string> drives = files_->Drives();
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
  EXPECT_NE(std::find(drives.begin(), drives.end(), drive), drives.end()) << drive;
  // The process's current folder for its own drive, the root once the current folder is there.
  const std::string here = W(folder_ / "lista" / u8"Ö");
  fs::current_path(folder_ / "lista" / u8"Ö");
  for (const std::string& on_drive : {drive, here + "\\komp.ocx", std::string("komp.ocx")}) {
    EXPECT_EQ(Shown(files_->DriveCurrentFolder(on_drive)), here) << on_drive;
  }
  fs::current_path(root_.root_path());
  EXPECT_EQ(Shown(files_->DriveCurrentFolder(drive)), drive + "\\");
  EXPECT_EQ(Shown(files_->DriveCurrentFolder("q:")), Text(ENOENT));
}

}  // namespace
