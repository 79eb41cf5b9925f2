#include <functional>

#include "temp_folder_test.h"

namespace {

class ReplacingCopyTest : public TempFolderTest {};

TEST_F(ReplacingCopyTest, CopiesDataAndLastWriteTimeIntoAFolderWithSwedishLetters) {
  const std::wstring folder = SwedishFolder();
  // Over 1 MiB, so the data goes through the copy loop more than once.
  std::string content(3 * 1024 * 1024 + 17, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7 % 251);
  WriteBytes(folder + L"källa å.ocx", content);
  SetLastWrite(folder + L"källa å.ocx", 2001, 2, 3, 12);

  for (const bool existing : {false, true}) {
    SCOPED_TRACE(existing ? "over an existing file" : "to a new file");
    if (existing) WriteBytes(folder + L"mål ö.ocx", "the old file");
    const platform::Status copied = files_.CopyReplacing(U8(folder + L"källa å.ocx"), U8(folder + L"mål ö.ocx"));
    ASSERT_TRUE(copied.ok()) << copied.text();

    EXPECT_EQ(ReadBytes(folder + L"mål ö.ocx"), content);
    const FILETIME source_time = LastWrite(folder + L"källa å.ocx");
    const FILETIME copy_time = LastWrite(folder + L"mål ö.ocx");
    EXPECT_EQ(CompareFileTime(&source_time, &copy_time), 0);
    const platform::Result<std::string> date = files_.ModificationDate(U8(folder + L"mål ö.ocx"));
    ASSERT_TRUE(date.ok()) << date.status().text();
    EXPECT_EQ(date.value(), "20010203");
    EXPECT_EQ(Snapshot(folder).size(), 2u) << "a temporary file was left behind";
  }
}

struct FailedCopy {
  const char* what;
  std::wstring source;       // relative to the test's folder
  std::wstring destination;  // relative to the test's folder
  // Arranges the failure; what it returns is kept alive during the copy.
  std::function<HANDLE(const std::wstring& root)> arrange;
};

TEST_F(ReplacingCopyTest, AFailedCopyChangesNothingAndLeavesNoTemporaryFile) {
  const auto nothing = [](const std::wstring&) { return INVALID_HANDLE_VALUE; };
  const FailedCopy cases[] = {
      {"missing source", L"saknas.ocx", L"mål\\komp.ocx", nothing},
      {"missing destination folder", L"komp.ocx", L"saknas\\komp.ocx", nothing},
      {"destination is a folder", L"komp.ocx", L"mål\\mapp", nothing},
      {"destination open without delete sharing", L"komp.ocx", L"mål\\komp.ocx",
       [](const std::wstring& root) {
         return CreateFileW((root + L"mål\\komp.ocx").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
       }},
      {"read-only destination", L"komp.ocx", L"mål\\komp.ocx",
       [](const std::wstring& root) {
         SetFileAttributesW((root + L"mål\\komp.ocx").c_str(), FILE_ATTRIBUTE_READONLY);
         return INVALID_HANDLE_VALUE;
       }},
  };
  for (const FailedCopy& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(Root() + L"komp.ocx", "new");
    CreateDirectoryW((Root() + L"mål").c_str(), nullptr);
    CreateDirectoryW((Root() + L"mål\\mapp").c_str(), nullptr);
    WriteBytes(Root() + L"mål\\komp.ocx", "old");
    const HANDLE held = c.arrange(Root());
    const auto before = Snapshot(Root());

    const platform::Status copied = files_.CopyReplacing(U8(Root() + c.source), U8(Root() + c.destination));
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);

    EXPECT_FALSE(copied.ok());
    EXPECT_FALSE(copied.text().empty());
    EXPECT_EQ(Snapshot(Root()), before);
    SetFileAttributesW((Root() + L"mål\\komp.ocx").c_str(), FILE_ATTRIBUTE_NORMAL);
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
