#include <gtest/gtest.h>

#include "engine/installer_state.h"
#include "tests/engine/run_fixture.h"

TEST(FolderRules, NormaliseTrimsOnlySpacesAndEndsWithOneBackslash) {
  const std::pair<std::string, std::string> cases[] = {
      {"   c:\\windows\\system32   ", "c:\\windows\\system32\\"},
      {"c:\\windows\\system32\\", "c:\\windows\\system32\\"},
      {"d:\\backup", "d:\\backup\\"},
      {"c:", "c:\\"},
      {"", ""},
      {"    ", ""},
      {"\tc:\\x\t", "\tc:\\x\t\\"},       // tabs are not spaces
      {"c:/windows/system32", "c:/windows/system32\\"},  // "/" is no separator here
      {" C:\\Program Files\\Å ", "C:\\Program Files\\Å\\"},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(engine::NormaliseFolder(typed), expected) << typed;
}

TEST(FolderRules, CatalogueHoldsEightNamesInSlotsOneToEight) {
  engine::InstallerState state;
  engine::FillCatalogue(state);
  const char* expected[] = {"", "comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                            "msinet.ocx", "riched32.dll", "richtx32.ocx", "pdf_itb.ocx"};
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(state.ComponentCatalogue[i], expected[i]);
  for (int i = 9; i < engine::kCatalogueSlots; ++i) EXPECT_TRUE(state.ComponentCatalogue[i].empty());
}

using RefusedRun = RunFixture;

TEST_F(RefusedRun, EmptyOrBlankDestinationIsRefusedWithAWarningAndNothingHappens) {
  for (const std::string typed : {"", "     "}) {
    window.warnings.clear();
    Source(1, "20040312");
    const auto before = host.files.Files();
    EXPECT_FALSE(Run(typed, "d:\\kopior").has_value());
    ASSERT_EQ(window.warnings.size(), 1u);
    EXPECT_EQ(window.warnings[0].first, "Ange destinationsmapp för systemfiler.");
    EXPECT_EQ(window.warnings[0].second, "Installera systemfiler");
    EXPECT_EQ(state.SystemFolder, "");
    EXPECT_EQ(host.files.Files().size(), before.size());
    EXPECT_TRUE(host.processes.Started().empty());
  }
}

TEST_F(RefusedRun, PathsJoinFolderAndNameWithoutAnotherSeparator) {
  Source(8, "20040312");
  Tool();
  window.TickOnly({8});
  const auto run = Run("   c:\\windows\\system32   ");
  ASSERT_TRUE(run.has_value());
  EXPECT_EQ(state.SystemFolder, "c:\\windows\\system32\\");
  EXPECT_EQ(host.files.Copies().at(0), std::make_pair(std::string("c:\\ebrona\\pdf_itb.ocx"),
                                                      std::string("c:\\windows\\system32\\pdf_itb.ocx")));
}
