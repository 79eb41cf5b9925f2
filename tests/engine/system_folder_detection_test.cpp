#include <gtest/gtest.h>

#include "engine/system_folder_detection.h"
#include "tests/support/fake_system.h"

TEST(SystemFolderDetection, ProposesTheFirstCandidateHoldingTheMarker) {
  struct Case {
    std::vector<std::string> markers;
    std::string expected;
  };
  const Case cases[] = {
      {{"c:\\windows\\syswow64", "c:\\windows\\system32"}, "c:\\windows\\sysWOW64\\"},
      {{"c:\\windows\\system32", "c:\\windows\\system"}, "c:\\windows\\system32\\"},
      {{"c:\\windows\\system", "c:\\winnt\\system32"}, "c:\\windows\\system\\"},
      {{"c:\\winnt\\system32"}, "c:\\winnt\\system32\\"},
      {{"d:\\windows\\system32"}, ""},
      {{}, ""},
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
