// The start-up state: the system folder proposed, and the folder rules applied at the start of a run.
#include <gtest/gtest.h>

#include "engine/system_folder_detection.h"
#include "tests/engine/run_fixture.h"

TEST(FolderRules, NormaliseTrimsOnlySpacesAndEndsWithOneBackslash) {
  const std::pair<std::string, std::string> cases[] = {
      {"   c:\\windows\\system32   ", "c:\\windows\\system32\\"},
      {"c:", "c:\\"},
      {"    ", ""},
      {"\tc:\\x\t", "\tc:\\x\t\\"},       // tabs are not spaces
      {"c:/windows/system32", "c:/windows/system32\\"},  // "/" is no separator here
      {" C:\\Program Files\\Å ", "C:\\Program Files\\Å\\"},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(engine::NormaliseFolder(typed), expected) << typed;
}

using RefusedRun = RunFixture;

TEST_F(RefusedRun, EmptyOrBlankDestinationIsRefusedWithAWarningAndNothingHappens) {
  Source(1, "20040312");
  const auto before = host.files.Files();
  for (const std::string typed : {"", "     "}) EXPECT_FALSE(Run(typed, "d:\\kopior").has_value()) << typed;
  const std::pair<std::string, std::string> warning = {"Ange destinationsmapp för systemfiler.", "Installera systemfiler"};
  EXPECT_EQ(window.warnings, (std::vector{warning, warning}));
  EXPECT_EQ(state.SystemFolder, "");
  EXPECT_EQ(host.files.Files(), before);
  EXPECT_TRUE(host.processes.Started().empty());
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
      {{"c:\\winnt\\system32"}, "c:\\winnt\\system32\\"},
      {{"d:\\windows\\system32"}, ""},
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
