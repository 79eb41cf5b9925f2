// Whole reports, byte for byte, from runs on the in-memory host.
#include <gtest/gtest.h>

#include "tests/engine/run_fixture.h"

using Report = RunFixture;

namespace {
const std::string kHint = "Följande rapport kan kopieras för utskrift i Anteckningar eller valfri ordbehandlare.";
const std::string kToolMissing =
    "HITTAR INTE regsvr32.exe. Inlagda filer är inte införda i registret men registreras när programmen körs.";
}  // namespace

TEST_F(Report, WorkedExample) {
  host.files.AddFolder("d:\\kopior");
  Tool();
  Source(1, "20040312");
  Installed(1, "19990505");
  Source(2, "20040312");
  Installed(2, "20040312");
  Source(4, "20040312");
  window.TickOnly({1, 2, 3, 4});

  const auto run = Run("c:\\windows\\system32\\", "d:\\kopior\\");
  ASSERT_TRUE(run.has_value());
  EXPECT_EQ(run->ReportText, Lines({" 1 FILER KUNDE INTE INSTALLERAS.",
                                    kHint,
                                    "",
                                    "comdlg32.ocx  20040312  \tBefintlig fil: 19990505  (kopierad)  \tInlagd ",
                                    "msflxgrd.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)",
                                    "msmapi32.ocx  KÄLLFIL SAKNAS",
                                    "tabctl32.ocx  20040312  \tInlagd ",
                                    "",
                                    "c:\\windows\\system32\\comdlg32.ocx registrerad",
                                    "c:\\windows\\system32\\tabctl32.ocx registrerad"}));
  EXPECT_EQ(host.files.File("d:\\kopior\\comdlg32.ocx").content, "old comdlg32.ocx");
  EXPECT_EQ(host.files.File("c:\\windows\\system32\\comdlg32.ocx").content, "new comdlg32.ocx");
  EXPECT_EQ(host.files.File("c:\\windows\\system32\\msflxgrd.ocx").content, "old msflxgrd.ocx");
}

TEST_F(Report, NothingToInstallWithAndWithoutTheTool) {
  for (int i = 1; i <= 8; ++i) {
    Source(i, "20040312");
    Installed(i, i % 2 ? "20040312" : "20050101");
  }
  std::string lines;
  for (int i = 1; i <= 8; ++i) {
    lines += Name(i) + "  20040312  \tBefintlig fil: " + (i % 2 ? "20040312" : "20050101") + "  (ej ersatt)\r\n";
  }
  const std::string summary = "Inga systemfiler behövde installeras.\r\n\r\n";

  EXPECT_EQ(Run()->ReportText, summary + lines + "\r\n" + kToolMissing);
  Tool();
  EXPECT_EQ(Run()->ReportText, summary + lines + "\r\n");
  EXPECT_TRUE(host.processes.Started().empty());
}

TEST_F(Report, SevenUpToDateOfEightTickedIsACompletedInstallation) {
  Tool();
  for (int i = 1; i <= 7; ++i) {
    Source(i, "20040312");
    Installed(i, "20040312");
  }
  window.values[8] = 0;
  const auto run = Run();
  EXPECT_EQ(run->NotReplacedCount, 7);
  EXPECT_EQ(run->ReportText.rfind("Installation av systemfiler klar.\r\n\r\n", 0), 0u);
}

TEST_F(Report, NoBoxTicked) {
  window.TickOnly({});
  EXPECT_EQ(Run()->ReportText, "\r\n" + kToolMissing);
  Tool();
  EXPECT_EQ(Run()->ReportText, "Installation av systemfiler klar.\r\n\r\n\r\n");
}

TEST_F(Report, EveryEntryFailedHasNoRegistrationSection) {
  Tool();
  for (int i = 1; i <= 8; ++i) Source(i, "20040312");
  const auto run = Run("c:\\saknas\\");
  ASSERT_EQ(run->FailedCount, 8);
  std::string expected = "INGA FILER KUNDE INSTALLERAS.\r\n" + kHint + "\r\n\r\n";
  for (int i = 1; i <= 8; ++i) {
    expected += Name(i) + "  20040312  \r\n" + Name(i) + " KUNDE INTE LÄGGAS IN. " +
                fake::FakeFileSystem::kPathNotFound + "\r\n";
  }
  EXPECT_EQ(run->ReportText, expected);
  EXPECT_EQ(host.files.FileLength("c:\\saknas\\comdlg32.ocx").ok(), false);
}

TEST_F(Report, FourMissingSourcesUseTheCountForm) {
  Tool();
  window.TickOnly({2, 4, 6, 8});
  EXPECT_EQ(Run()->ReportText, Lines({" 4 FILER KUNDE INTE INSTALLERAS.", kHint, "", "msflxgrd.ocx  KÄLLFIL SAKNAS",
                                      "tabctl32.ocx  KÄLLFIL SAKNAS", "riched32.dll  KÄLLFIL SAKNAS",
                                      "pdf_itb.ocx  KÄLLFIL SAKNAS", ""}));
}

TEST_F(Report, RegistrationFailureBlockStandsAboveTheFailureHeader) {
  Tool();
  for (int i : {1, 2, 3}) Source(i, "20040312");
  window.TickOnly({1, 2, 3, 5});
  host.processes.FailStart(2, "Åtkomst nekad.");
  const auto run = Run();
  EXPECT_EQ(run->FailedCount, -1);
  EXPECT_EQ(run->ReportText,
            Lines({"Åtkomst nekad.",
                   ". Systemfilerna är inlagda men kunde inte registreras. De registreras när programmen körs.", "",
                   " 1 FILER KUNDE INTE INSTALLERAS.", kHint, "", "comdlg32.ocx  20040312  \tInlagd ",
                   "msflxgrd.ocx  20040312  \tInlagd ", "msmapi32.ocx  20040312  \tInlagd ",
                   "msinet.ocx  KÄLLFIL SAKNAS", "", "c:\\windows\\system32\\comdlg32.ocx registrerad"}));
  EXPECT_EQ(host.processes.Attempts(), 2);
}
