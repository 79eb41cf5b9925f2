// The start-up state: the system folder proposed, and the folder rules.
#include <gtest/gtest.h>

#include "engine/system_folder_detection.h"
#include "tests/support/fake_system.h"

TEST(FolderRules, NormaliseTrimsOnlySpacesAndEndsWithOneBackslash) {
  const std::pair<std::string, std::string> cases[] = {
      {"   c:\\windows\\system32   ", "c:\\windows\\system32\\"},
      {"    ", ""},
      {"\tc:\\x\t", "\tc:\\x\t\\"},       // tabs are not spaces
      {"c:/windows/system32", "c:/windows/system32\\"},  // "/" is no separator here
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(engine::NormaliseFolder(typed), expected) << typed;
}

TEST(SystemFolderDetection, ProposesTheFirstCandidateHoldingTheMarker) {
  struct Case {
    std::vector<std::string> markers;
    std::string expected;
  };
  const Case cases[] = {
      {{"c:\\windows\\syswow64", "c:\\windows\\system32"}, "c:\\windows\\sysWOW64\\"},
      {{"c:\\windows\\system32", "c:\\windows\\system"}, "c:\\windows\\system32\\"},
      {{"c:\\windows\\system", "c:\\winnt\\system32"}, "c:\\windows\\system\\"},
  };
  for (const Case& c : cases) {
    fake::FakeFileSystem files;
    for (const std::string& folder : c.markers) files.AddFile(folder + "\\MSVBVM60.DLL", "19990101", "");
    engine::InstallerState state;
    state.SourceFolder = "left over";
    engine::DetectSystemFolder(state, files);
    EXPECT_EQ(state.SystemFolder, c.expected);
    EXPECT_EQ(state.SourceFolder, "");
  }
}
