#include <functional>

#include "temp_folder_test.h"

namespace {

namespace fs = std::filesystem;
using ReplacingCopyTest = TempFolderTest;

TEST_F(ReplacingCopyTest, CopiesDataAndLastWriteTimeIntoAFolderWithSwedishLetters) {
  const std::wstring source = swedish_ + L"källa å.ocx", destination = swedish_ + L"mål ö.ocx";
  // Over 1 MiB, so the data goes through the copy loop more than once.
  std::string content(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
  WriteBytes(source, content);
  fs::last_write_time(source, Noon(std::chrono::year(2001) / 2 / 3));
  // What interrupted copies left: the leftover of this file goes (its name in any case); its
  // look-alikes and the temporary file of a copy under way, held open without sharing, stay.
  WriteBytes(swedish_ + L"~MÅL Ö.OCX.ebrona-12-3.tmp", "half a copy");
  const std::wstring kept[] = {L"~mål ö.ocx.ebrona-12-3.tmp.bak", L"~källa å.ocx.ebrona-12-3.tmp",
                               L"~mål ö.ocx.ebrona-1a-3.tmp", L"mål ö.ocx.ebrona-12-3.tmp",
                               L"~mål ö.ocx.ebrona-7-7.tmp"};
  for (const std::wstring& name : kept) WriteBytes(swedish_ + name, "x");
  const HANDLE busy = CreateFileW((swedish_ + kept[4]).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  for (const bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "over an existing file" : "to a new file");
    if (existing) WriteBytes(destination, "the old file");
    const platform::Status copied = files_.CopyReplacing(U8(source), U8(destination));
    ASSERT_TRUE(copied.ok()) << copied.text();
    EXPECT_EQ(ReadBytes(destination), content);
    EXPECT_EQ(fs::last_write_time(destination), fs::last_write_time(source));
    EXPECT_EQ(Snapshot(swedish_).size(), 2u + std::size(kept)) << "a temporary file was left behind or removed";
  }
  CloseHandle(busy);
  for (const std::wstring& name : kept) EXPECT_TRUE(fs::exists(swedish_ + name)) << U8(name);
}

TEST_F(ReplacingCopyTest, AFailedCopyChangesNothingAndLeavesNoTemporaryFile) {
  const std::wstring existing = root_ + L"mål\\komp.ocx";
  WriteBytes(root_ + L"komp.ocx", "new");
  fs::create_directories(root_ + L"mål\\mapp");
  WriteBytes(existing, "old");
  ASSERT_TRUE(CreateHardLinkW((root_ + L"länk.ocx").c_str(), existing.c_str(), nullptr));
  // A case may arrange its failure; a handle it returns stays open during the copy.
  const auto open_without_delete_sharing = [&] {
    return CreateFileW(existing.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const auto read_only = [&] {
    SetFileAttributesW(existing.c_str(), FILE_ATTRIBUTE_READONLY);
    return INVALID_HANDLE_VALUE;
  };
  const std::tuple<std::wstring, std::wstring, std::function<HANDLE()>> cases[] = {  // relative to the folder
      {L"saknas.ocx", L"mål\\komp.ocx", {}}, {L"komp.ocx", L"saknas\\komp.ocx", {}}, {L"komp.ocx", L"mål\\mapp", {}},
      {L"komp.ocx", L"mål\\komp.ocx", open_without_delete_sharing}, {L"komp.ocx", L"mål\\komp.ocx", read_only},
      // The file onto itself, under other spellings.
      {L"mål\\komp.ocx", L"mål\\komp.ocx", {}}, {L"mål\\komp.ocx", L"MÅL\\KOMP.OCX", {}},
      {L"mål\\komp.ocx", L"mål\\.\\komp.ocx", {}}, {L"mål\\komp.ocx", L"mål/komp.ocx", {}},
      {L"länk.ocx", L"mål\\komp.ocx", {}},
  };
  EXPECT_TRUE(files_.SameFile(U8(root_ + L"länk.ocx"), U8(root_ + L"MÅL/./KOMP.OCX")));
  EXPECT_FALSE(files_.SameFile(U8(root_ + L"komp.ocx"), U8(existing)));
  EXPECT_FALSE(files_.SameFile(U8(root_ + L"saknas.ocx"), U8(root_ + L"saknas.ocx")));
  for (const auto& [source, destination, arrange] : cases) {
    SCOPED_TRACE(U8(source + L" -> " + destination));
    const HANDLE held = arrange ? arrange() : INVALID_HANDLE_VALUE;
    const auto before = Snapshot(root_);
    const platform::Status copied = files_.CopyReplacing(U8(root_ + source), U8(root_ + destination));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesW(existing.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_FALSE(copied.ok());
    EXPECT_FALSE(copied.text().empty());
    EXPECT_EQ(Snapshot(root_), before);
  }
}

}  // namespace
