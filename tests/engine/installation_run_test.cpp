// The copy pass: the date rule, backups, and what each failing step counts, writes and leaves behind.
#include <random>
#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/engine/run_fixture.h"

using InstallationRun = RunFixture;

namespace {
const std::string kSystem = "c:\\windows\\system32\\";
}

TEST_F(InstallationRun, EachFailingStepCountsWritesAndGoesOnAsItShould) {
  Tool();
  host.files.AddFolder("d:\\kopior");
  // 1: the source cannot be read.
  Source(1, "20040312");
  host.files.InjectFailure(fake::Op::kModificationDate, Name(1), "Access is denied.");
  // 2: the installed file's date cannot be read: copied without a backup copy.
  Source(2, "20040312");
  Installed(2, "19990101");
  host.files.InjectFailure(fake::Op::kModificationDate, kSystem + Name(2), "Access is denied.");
  // 3: backed up, then the installed file cannot be overwritten.
  Source(3, "20040312");
  Installed(3, "19990101");
  host.files.InjectFailure(fake::Op::kCopyTo, kSystem + Name(3), "Access is denied.");
  // 4: the backup copy fails: the installed file is not replaced.
  Source(4, "20040312");
  Installed(4, "19990101");
  host.files.InjectFailure(fake::Op::kCopyTo, "d:\\kopior\\" + Name(4), "The disk is full.");
  // 5: installed normally after all that.
  Source(5, "20040312");
  window.TickOnly({1, 2, 3, 4, 5});

  const auto run = Run(kSystem, "  d:\\kopior  ");
  EXPECT_EQ(run->FailedCount, 3);
  EXPECT_EQ(run->ReportText,
            Lines({" 3 FILER KUNDE INTE INSTALLERAS.",
                   "Följande rapport kan kopieras för utskrift i Anteckningar eller valfri ordbehandlare.", "",
                   "comdlg32.ocx  KÄLLFIL SAKNAS", "msflxgrd.ocx  20040312  \tInlagd ",
                   "msmapi32.ocx  20040312  \tBefintlig fil: 19990101  (kopierad)  ",
                   "msmapi32.ocx KUNDE INTE LÄGGAS IN. Access is denied.",
                   "tabctl32.ocx  20040312  \tBefintlig fil: 19990101  KOPIERING TILL d:\\kopior\\ MISSLYCKADES, "
                   "FILEN ERSÄTTS EJ. The disk is full.",
                   "msinet.ocx  20040312  \tInlagd ", "", kSystem + "msflxgrd.ocx registrerad",
                   kSystem + "msinet.ocx registrerad"}));
  EXPECT_FALSE(host.files.Exists("d:\\kopior\\" + Name(2)));
  EXPECT_EQ(host.files.File("d:\\kopior\\" + Name(3)).content, "old " + Name(3));
  EXPECT_EQ(host.files.File(kSystem + Name(3)).content, "old " + Name(3));
  EXPECT_EQ(host.files.File(kSystem + Name(4)).content, "old " + Name(4));
  const std::int16_t expected_flags[] = {0, 0, 1, 0, 0, 1, 0, 0, 0};
  for (int i = 0; i <= 8; ++i) EXPECT_EQ(run->InstalledFlags[i], expected_flags[i]) << i;
}

// The installed file itself, and the components folder as the chooser's "OK" gives it: copying
// the old file there would overwrite the new one.
TEST_F(InstallationRun, BackupOntoTheInstalledFileOrTheNewComponentIsABackupFailure) {
  Tool();
  Source(1, "20040312");
  Installed(1, "19990101");
  window.TickOnly({1});
  for (const std::string backup : {"C:\\Windows\\System32\\", "c:\\EBRONA\\"}) {
    const auto run = Run(kSystem, backup);
    EXPECT_EQ(run->FailedCount, 1);
    EXPECT_NE(run->ReportText.find("KOPIERING TILL " + backup +
                                   " MISSLYCKADES, FILEN ERSÄTTS EJ. Målet är samma fil som källan.\r\n"),
              std::string::npos) << run->ReportText;
    EXPECT_EQ(host.files.File(Name(1)).content, "new " + Name(1));
    EXPECT_EQ(host.files.File(kSystem + Name(1)).content, "old " + Name(1));
  }
  EXPECT_TRUE(host.processes.Started().empty());
}

// Over many random worlds: every ticked entry ends in exactly one way, and nothing changes on disk
// that the report does not name.
TEST_F(InstallationRun, RandomWorldsKeepTheCountsAndTouchOnlyWhatTheReportNames) {
  std::mt19937 random(20040312);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const char* dates[] = {"19990505", "20040312", "20101231"};
  for (int round = 0; round < 400; ++round) {
    fake::FakeSystem world;
    FakeHost box;
    world.files.AddFolder("c:\\windows\\system32");
    world.files.AddFile(kSystem + "regsvr32.exe", "20010101");
    const int backup_kind = pick(3);  // none, present, missing
    if (backup_kind == 1) world.files.AddFolder("d:\\kopior");
    int ticked = 0;
    for (int i = 1; i <= 8; ++i) {
      const std::string name = state.ComponentCatalogue[i];
      box.values[i] = static_cast<std::int16_t>(pick(3));
      ticked += box.values[i] == 1;
      if (pick(5) > 0) world.files.AddFile(name, dates[pick(3)], "new");
      if (pick(3) > 0) world.files.AddFile(kSystem + name, dates[pick(3)], "old");
      if (pick(6) == 0) world.files.InjectFailure(fake::Op::kCopyTo, kSystem + name, "Access is denied.");
      if (pick(6) == 0) world.files.InjectFailure(fake::Op::kCopyTo, "d:\\kopior\\" + name, "The disk is full.");
      if (pick(8) == 0) world.files.InjectFailure(fake::Op::kModificationDate, kSystem + name, "Access is denied.");
    }
    const auto before = world.files.Files();
    const auto run = engine::RunInstallationValues(state, kSystem, backup_kind ? "d:\\kopior" : "", box, world.system);
    ASSERT_TRUE(run.has_value());

    int installed = 0;
    for (int i = 1; i <= 8; ++i) installed += run->InstalledFlags[i];
    EXPECT_EQ(run->FailedCount + run->NotReplacedCount + installed, ticked) << "round " << round;
    EXPECT_EQ(static_cast<int>(world.processes.Started().size()), installed);

    for (const auto& [path, file] : world.files.Files()) {
      auto old = before.find(path);
      if (old != before.end() && old->second.content == file.content) continue;
      const std::string name = path.substr(path.rfind('\\') + 1);
      const bool in_system = path.rfind("c:\\windows\\system32\\", 0) == 0;
      const std::string line_start = "\r\n" + name + "  ";
      const auto line = ("\r\n" + run->ReportText).find(line_start);
      ASSERT_NE(line, std::string::npos) << path << " changed but is not in the report";
      const std::string report_line = ("\r\n" + run->ReportText).substr(line + 2);
      const std::string first_line = report_line.substr(0, report_line.find("\r\n"));
      EXPECT_NE(first_line.find(in_system ? "Inlagd " : "(kopierad)"), std::string::npos) << path;
    }
  }
}

// A failure outside the steps of one file is told in a warning box, and the run still ends with
// the report of what was done so far.
TEST_F(InstallationRun, AnUnexpectedFailureIsShownAndTheRunStillEndsWithItsReport) {
  struct FailingHost : FakeHost {
    std::int16_t CheckValue(int index) const override {
      if (index == 3) throw std::runtime_error("Slut på minne.");
      return 1;
    }
  } window_that_fails;
  Tool();
  Source(1, "20040312");
  const auto run = engine::RunInstallationValues(state, kSystem, "", window_that_fails, host.system);
  ASSERT_TRUE(run.has_value());
  ASSERT_EQ(window_that_fails.warnings.size(), 1u);
  EXPECT_EQ(window_that_fails.warnings[0], std::make_pair(std::string("Slut på minne."),
                                                          std::string("Installera systemfiler")));
  EXPECT_EQ(run->FailedCount, 1);
  EXPECT_EQ(run->ReportText, Lines({"comdlg32.ocx  20040312  \tInlagd ", "msflxgrd.ocx  KÄLLFIL SAKNAS"}));
}
