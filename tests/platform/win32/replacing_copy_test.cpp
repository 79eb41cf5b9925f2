#include <functional>

#include "temp_folder_test.h"

namespace {

namespace fs = std::filesystem;
using std::chrono::year;

class ReplacingCopyTest : public TempFolderTest {};

TEST_F(ReplacingCopyTest, CopiesDataAndLastWriteTimeIntoAFolderWithSwedishLetters) {
  const std::wstring source = SwedishFolder() + L"källa å.ocx";
  const std::wstring destination = SwedishFolder() + L"mål ö.ocx";
  // Over 1 MiB, so the data goes through the copy loop more than once.
  std::string content(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
  WriteBytes(source, content);
  fs::last_write_time(source, Noon(year(2001) / 2 / 3));

  for (const bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "over an existing file" : "to a new file");
    if (existing) WriteBytes(destination, "the old file");
    const platform::Status copied = files_.CopyReplacing(U8(source), U8(destination));
    ASSERT_TRUE(copied.ok()) << copied.text();

    EXPECT_EQ(ReadBytes(destination), content);
    EXPECT_EQ(fs::last_write_time(destination), fs::last_write_time(source));
    const platform::Result<std::string> date = files_.ModificationDate(U8(destination));
    EXPECT_EQ(date.ok() ? date.value() : date.status().text(), "20010203");
    EXPECT_EQ(Snapshot(SwedishFolder()).size(), 2u) << "a temporary file was left behind";
  }
}

TEST_F(ReplacingCopyTest, AFailedCopyChangesNothingAndLeavesNoTemporaryFile) {
  const std::wstring existing = Root() + L"mål\\komp.ocx";
  // Each case arranges its failure; a handle it returns stays open during the copy.
  const auto nothing = [&] { return INVALID_HANDLE_VALUE; };
  const struct {
    const char* what;
    std::wstring source, destination;  // relative to the test's folder
    std::function<HANDLE()> arrange;
  } cases[] = {
      {"missing source", L"saknas.ocx", L"mål\\komp.ocx", nothing},
      {"missing destination folder", L"komp.ocx", L"saknas\\komp.ocx", nothing},
      {"destination is a folder", L"komp.ocx", L"mål\\mapp", nothing},
      {"destination open without delete sharing", L"komp.ocx", L"mål\\komp.ocx",
       [&] {
         return CreateFileW(existing.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
       }},
      {"read-only destination", L"komp.ocx", L"mål\\komp.ocx",
       [&] {
         SetFileAttributesW(existing.c_str(), FILE_ATTRIBUTE_READONLY);
         return INVALID_HANDLE_VALUE;
       }},
  };
  WriteBytes(Root() + L"komp.ocx", "new");
  fs::create_directories(Root() + L"mål\\mapp");
  WriteBytes(existing, "old");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const HANDLE held = c.arrange();
    const auto before = Snapshot(Root());

    const platform::Status copied = files_.CopyReplacing(U8(Root() + c.source), U8(Root() + c.destination));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    SetFileAttributesW(existing.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_FALSE(copied.ok());
    EXPECT_FALSE(copied.text().empty());
    EXPECT_EQ(Snapshot(Root()), before);
  }
}

TEST_F(ReplacingCopyTest, CopyOntoItselfIsRefusedUnderAnySpelling) {
  const std::wstring folder = SwedishFolder();
  WriteBytes(folder + L"Komp.ocx", "the only copy");
  ASSERT_TRUE(CreateHardLinkW((folder + L"länk.ocx").c_str(), (folder + L"Komp.ocx").c_str(), nullptr));
  const auto before = Snapshot(Root());

  std::wstring forward_slashes = folder + L"Komp.ocx";
  for (wchar_t& c : forward_slashes) c = c == L'\\' ? L'/' : c;
  for (const std::wstring& destination : {folder + L"Komp.ocx", folder + L"KOMP.OCX", folder + L".\\komp.ocx",
                                          forward_slashes, folder + L"länk.ocx"}) {
    SCOPED_TRACE(U8(destination));
    const platform::Status copied = files_.CopyReplacing(U8(folder + L"Komp.ocx"), U8(destination));
    EXPECT_FALSE(copied.ok());
    EXPECT_FALSE(copied.text().empty());
    EXPECT_EQ(Snapshot(Root()), before);
  }
}

}  // namespace
