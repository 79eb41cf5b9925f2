// The copy pass: the date rule, backups, and what each failing step counts, writes and leaves behind.
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
  for (int i = 1; i <= 8; ++i) Source(i, "20040312");
  for (int i : {2, 3, 4}) Installed(i, "19990101");
  // 1: the source cannot be read.
  host.files.InjectFailure(fake::Op::kModificationDate, Name(1), "Access is denied.");
  // 2: the installed file's date cannot be read: copied without a backup copy.
  host.files.InjectFailure(fake::Op::kModificationDate, kSystem + Name(2), "Access is denied.");
  // 3: backed up, then the installed file cannot be overwritten.
  host.files.InjectFailure(fake::Op::kCopyTo, kSystem + Name(3), "Access is denied.");
  // 4: the backup copy fails: the installed file is not replaced.
  host.files.InjectFailure(fake::Op::kCopyTo, "d:\\kopior\\" + Name(4), "The disk is full.");
  // 5: installed normally after all that; 6: backed up and replaced; 7: the same day, kept; 8: greyed.
  Installed(6, "19990505");
  Installed(7, "20040312");
  window.boxes = "11111112";

  const auto run = Run("  c:\\windows\\system32  ", "  d:\\kopior  ");
  EXPECT_EQ(run->ReportText,
            Lines({" 3 FILER KUNDE INTE INSTALLERAS.",
                   "Följande rapport kan kopieras för utskrift i Anteckningar eller valfri ordbehandlare.", "",
                   "comdlg32.ocx  KÄLLFIL SAKNAS", "msflxgrd.ocx  20040312  \tInlagd ",
                   "msmapi32.ocx  20040312  \tBefintlig fil: 19990101  (kopierad)  ",
                   "msmapi32.ocx KUNDE INTE LÄGGAS IN. Access is denied.",
                   "tabctl32.ocx  20040312  \tBefintlig fil: 19990101  KOPIERING TILL d:\\kopior\\ MISSLYCKADES, "
                   "FILEN ERSÄTTS EJ. The disk is full.",
                   "msinet.ocx  20040312  \tInlagd ", "riched32.dll  20040312  \tBefintlig fil: 19990505  (kopierad)  \tInlagd ",
                   "richtx32.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)", "", kSystem + "msflxgrd.ocx registrerad",
                   kSystem + "msinet.ocx registrerad", kSystem + "riched32.dll registrerad"}));
  EXPECT_FALSE(host.files.Exists("d:\\kopior\\" + Name(2)));
  EXPECT_EQ(host.files.File("d:\\kopior\\" + Name(3)).content, "old " + Name(3));
  EXPECT_EQ(host.files.File("d:\\kopior\\" + Name(6)).content, "old " + Name(6));
  for (int i : {3, 4, 7}) EXPECT_EQ(host.files.File(kSystem + Name(i)).content, "old " + Name(i)) << i;
  EXPECT_EQ(host.files.File(kSystem + Name(6)).content, New(6));
  // Each copied file is registered by its own start of the tool, "/s" and the path as two
  // arguments, each start followed by a pause of 0.3 s (at 0.05 s a reading).
  ASSERT_EQ(host.processes.Started().size(), 3u);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(host.processes.Started()[k].program, kSystem + "regsvr32.exe");
    EXPECT_EQ(host.processes.Started()[k].arguments, (std::vector<std::string>{"/s", kSystem + Name(k ? k + 4 : 2)}));
  }
  EXPECT_GE(host.clock.Readings(), 3 * 7);
  EXPECT_TRUE(host.processes.Waits().empty()) << "the window's run does not wait for the tool";
}

// A source file that is empty or does not start as a PE image is no component: when the date rule
// would copy it, the entry fails and the installed file stays, not backed up.
TEST_F(InstallationRun, ASourceThatIsNoComponentNeverReplacesTheInstalledFile) {
  Tool();
  const std::string contents[] = {"", "MZ", New(3), ""};  // 3 cannot be read: it fails as its copy would
  for (int i = 1; i <= 4; ++i) host.files.AddFile(Name(i), "20040312", contents[i - 1]);
  for (int i : {1, 3, 4}) Installed(i, i == 4 ? "20040312" : "19990101");
  host.files.InjectFailure(fake::Op::kReadFile, Name(3), "Access is denied.");
  window.boxes = "11110000";
  const auto run = Run(kSystem, "c:\\kopior\\");
  const std::string old = "  20040312  \tBefintlig fil: 19990101  ", refused = "KÄLLFILEN ÄR INGEN GILTIG KOMPONENT. FILEN ERSÄTTS EJ.";
  EXPECT_EQ(run->ReportText, Lines({" 3 FILER KUNDE INTE INSTALLERAS.",
                                    "Följande rapport kan kopieras för utskrift i Anteckningar eller valfri ordbehandlare.", "",
                                    Name(1) + old + refused, Name(2) + "  20040312  " + refused, Name(3) + old,
                                    Name(3) + " KUNDE INTE LÄGGAS IN. Access is denied.",
                                    Name(4) + "  20040312  \tBefintlig fil: 20040312  (ej ersatt)", ""}));
  for (int i : {1, 3}) EXPECT_EQ(host.files.File(kSystem + Name(i)).content, "old " + Name(i)) << i;
  EXPECT_FALSE(host.files.Exists(kSystem + Name(2)));
}

// The installed file itself, and the components folder as the chooser's "OK" gives it: copying
// the old file there would overwrite the new one.
TEST_F(InstallationRun, BackupOntoTheInstalledFileOrTheNewComponentIsABackupFailure) {
  Tool();
  Source(1, "20040312");
  Installed(1, "19990101");
  window.boxes = "10000000";
  for (const std::string backup : {"C:\\Windows\\System32\\", "c:\\EBRONA\\"}) {
    const auto run = Run(kSystem, backup);
    EXPECT_NE(run->ReportText.find("KOPIERING TILL " + backup +
                                   " MISSLYCKADES, FILEN ERSÄTTS EJ. Målet är samma fil som källan.\r\n"),
              std::string::npos) << run->ReportText;
    EXPECT_EQ(host.files.File(Name(1)).content, New(1));
    EXPECT_EQ(host.files.File(kSystem + Name(1)).content, "old " + Name(1));
  }
}

// A failure outside the steps of one file is told in a warning box, and the run still ends with
// the report of what was done so far.
TEST_F(InstallationRun, AnUnexpectedFailureIsShownAndTheRunStillEndsWithItsReport) {
  struct FailingHost : FakeHost {
    std::int16_t CheckValue(int index) const override { return index == 3 ? throw std::runtime_error("Slut på minne.") : 1; }
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

// Components that a running program holds are replaced around it; whichever step of that fails,
// neither file is lost and no new file is left behind.
TEST_F(InstallationRun, HeldComponentsAreReplacedAroundTheirHolderAndAFailingStepLosesNothing) {
  Tool();
  const auto path = [&](int i, const std::string& end = "") { return kSystem + Name(i) + end; };
  for (int i = 1; i <= 6; ++i) {
    Source(i, "20040312");
    Installed(i, "19990101");
    host.files.Hold(path(i), i != 6);  // 6 is open without delete sharing, the others loaded
  }
  const std::pair<fake::Op, std::string> failing[] = {
      {fake::Op::kRenameAside, path(2)}, {fake::Op::kRename, path(3, ".new")}, {fake::Op::kRename, path(4, ".new")},
      {fake::Op::kRename, path(4, ".old")}, {fake::Op::kDeleteAtRestart, path(5, ".old")}};
  for (const auto& [op, file] : failing) host.files.InjectFailure(op, file, "Access is denied.");
  window.boxes = "11111100";
  const auto run = Run();
  const std::string old = "  20040312  \tBefintlig fil: 19990101  ", denied = " KUNDE INTE LÄGGAS IN. Access is denied.",
                    held_by = " Filen används av: Ebrona Kassa (4711).";
  EXPECT_EQ(run->ReportText,
            Lines({" 4 FILER KUNDE INTE INSTALLERAS.",
                   "Följande rapport kan kopieras för utskrift i Anteckningar eller valfri ordbehandlare.", "",
                   Name(1) + old + "\tInlagd ", Name(2) + old, Name(2) + denied + held_by, Name(3) + old, Name(3) + denied,
                   Name(4) + old, Name(4) + denied, Name(5) + old + "\tInlagd ", Name(6) + old,
                   Name(6) + " KUNDE INTE LÄGGAS IN. " + fake::FakeFileSystem::kSharingViolation + held_by,
                   "", path(1) + " registrerad", path(5) + " registrerad", "",
                   "Följande filer användes av program som körs och har ersatts. Programmen använder de nya filerna "
                   "när de har startats om:", path(1), path(5)}));
  // A failed rename back leaves the old file aside, for the next run to put back.
  EXPECT_EQ(Where(1) + " " + Where(2) + " " + Where(3) + " " + Where(4) + " " + Where(5) + " " + Where(6),
            "new|old|- old|-|- old|-|- -|old|- new|old|- old|-|-");
  EXPECT_EQ(host.files.DeletedAtRestart(), std::vector<std::string>{path(1, ".old")});
}

// A run killed at any step of replacing a held component leaves a file under the component's name
// by the end of the next run, also one that does not tick it: the old file renamed aside is put
// back before anything that copies to that name left is deleted. Run k ticks and kills component k.
TEST_F(InstallationRun, WhereverAReplacementIsKilledTheNextRunLeavesAFileUnderTheComponentsName) {
  Tool();
  const auto path = [&](int i, const std::string& end) { return kSystem + Name(i) + end; };
  const std::pair<fake::Op, std::string> kills[] = {{fake::Op::kRenameAside, path(1, "")},
                                                    {fake::Op::kRename, path(2, ".new")},  // between the renames
                                                    {fake::Op::kRename, path(3, ".old")},  // the rename back
                                                    {fake::Op::kDeleteAtRestart, path(4, ".old")}};
  const std::string killed_leaves[] = {"old|-|new", "-|old|new", "-|old|new", "new|old|-"},
                    next_run_leaves[] = {"old|-|-", "old|-|-", "old|-|-", "new|old|-"};
  host.files.InjectFailure(fake::Op::kRename, path(3, ".new"), "Access is denied.");
  for (int k = 1; k <= 5; ++k) {
    window.boxes = "00000000";
    if (k <= 4) {
      Source(k, "20040312"), Installed(k, "19990101"), host.files.Hold(path(k, ""), true);
      host.files.InjectKill(kills[k - 1].first, kills[k - 1].second);
      window.boxes[k - 1] = '1';
      EXPECT_THROW(Run(), fake::Killed) << k;
      host.lock.held = false;  // the system frees a killed run's lock
      EXPECT_EQ(Where(k), killed_leaves[k - 1]) << k;
    } else {
      Run();
    }
    if (k >= 2) {
      EXPECT_EQ(Where(k - 1), next_run_leaves[k - 2]) << k;
    }
  }
}

// A backup is not replaced by a copy of the file being installed, as a forced run with the same
// backup folder would otherwise do: the older backup stays, and the line has no "(kopierad)". Where
// there is no backup yet, one is made, so that a roll-back from the folder finds every component.
TEST_F(InstallationRun, ABackupIsNeverReplacedByTheFileBeingInstalled) {
  Tool();
  const auto backup = [&](int i) -> std::string { return "d:\\kopior\\" + Name(i); };
  for (int i : {1, 2, 3}) Source(i, "20040312"), host.files.AddFile(kSystem + Name(i), "19990101", New(i));
  for (int i : {1, 2}) host.files.AddFile(backup(i), "19980101", "oldest " + Name(i));
  Installed(2, "19990101");
  window.boxes = "11100000";
  const std::string old = "  20040312  \tBefintlig fil: 19990101  ", copied = old + "(kopierad)  \tInlagd ";
  EXPECT_NE(Run(kSystem, "d:\\kopior")->ReportText.find(Lines({Name(1) + old + "\tInlagd ", Name(2) + copied, Name(3) + copied})),
            std::string::npos);
  EXPECT_EQ(host.files.File(backup(1)).content + host.files.File(backup(2)).content + host.files.File(backup(3)).content,
            "oldest " + Name(1) + "old " + Name(2) + New(3));
}
