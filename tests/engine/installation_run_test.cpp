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
  // 5: installed normally after all that; 6: backed up and replaced; 7: the same day, kept; 8: greyed.
  Source(5, "20040312");
  Source(6, "20040312");
  Installed(6, "19990505");
  Source(7, "20040312");
  Installed(7, "20040312");
  Source(8, "20040312");
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
  EXPECT_EQ(host.files.File(kSystem + Name(6)).content, "new " + Name(6));
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
    EXPECT_EQ(host.files.File(Name(1)).content, "new " + Name(1));
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
  // Each component's file in place, renamed aside, and new beside it; a failed rename back leaves
  // the old file aside, for the next run to put back.
  const auto where = [&] {
    std::string found;
    for (int i = 1; i <= 6; ++i) {
      for (const std::string end : {"", ".old", ".new"}) {
        found += (host.files.Exists(path(i, end)) ? host.files.File(path(i, end)).content.substr(0, 3) : "-") + (end == ".new" ? " " : "|");
      }
    }
    return found;
  };
  EXPECT_EQ(where(), "new|old|- old|-|- old|-|- -|old|- new|old|- old|-|- ");
  EXPECT_EQ(host.files.DeletedAtRestart(), std::vector<std::string>{path(1, ".old")});

  // Once the programs have ended, the next run puts 4 back before anything else, deletes the old
  // files nobody holds (with 1's restart entry) and replaces what is still older.
  for (int i = 1; i <= 6; ++i) host.files.LetGo(path(i, i == 1 || i == 4 || i == 5 ? ".old" : ""));
  ASSERT_EQ(Run()->FailedCount, 0);
  EXPECT_EQ(where(), "new|-|- new|-|- new|-|- new|-|- new|-|- new|-|- ");
  EXPECT_EQ(host.files.DeletedAtRestart(), std::vector<std::string>{});
}

// A run killed at any step of replacing a held component, or whose step fails, leaves a file under
// the component's name by the end of the next run, also one that does not tick it: the old file
// renamed aside is put back before anything that copies to that name left is deleted.
TEST_F(InstallationRun, WhereverAReplacementIsKilledTheNextRunLeavesAFileUnderTheComponentsName) {
  struct World : RunFixture {
    void TestBody() override {}
  };
  using fake::Op;
  const std::string c = kSystem + "comdlg32.ocx", held_by = " Filen används av: Ebrona Kassa (4711).";
  struct Case {
    std::vector<std::pair<Op, std::string>> fail, kill;  // the kill, if any, after the failures
    std::string after_run, after_next_run;              // the component, renamed aside, new: content or "-"
  };
  const Case cases[] = {
      {{}, {{Op::kRenameAside, c}}, "old|-|new", "old|-|-"},
      {{}, {{Op::kRename, c + ".new"}}, "-|old|new", "old|-|-"},  // between the two renames
      {{{Op::kRename, c + ".new"}}, {{Op::kRename, c + ".old"}}, "-|old|new", "old|-|-"},
      {{{Op::kRename, c + ".new"}, {Op::kRename, c + ".old"}}, {}, "-|old|-", "old|-|-"},
      {{}, {{Op::kDeleteAtRestart, c + ".old"}}, "new|old|-", "new|old|-"},
  };
  for (const Case& test : cases) {
    World w;
    w.Tool();
    w.Source(1, "20040312");
    w.Source(2, "20040312");
    w.Installed(1, "19990101");
    w.host.files.Hold(c, true);
    for (const auto& [op, file] : test.fail) w.host.files.InjectFailure(op, file, "Access is denied.");
    for (const auto& [op, file] : test.kill) w.host.files.InjectKill(op, file);
    w.window.boxes = "10000000";
    if (test.kill.empty()) {
      w.Run();
    } else {
      EXPECT_THROW(w.Run(), fake::Killed);
      w.host.lock.held = false;  // the system frees a killed run's lock
    }
    const auto where = [&] {
      std::string found;
      for (const std::string end : {"", ".old", ".new"}) {
        found += (end.empty() ? "" : "|") + (w.host.files.Exists(c + end) ? w.host.files.File(c + end).content.substr(0, 3) : "-");
      }
      return found;
    };
    EXPECT_EQ(where(), test.after_run) << test.after_next_run;
    w.window.boxes = "01000000";
    w.Run();
    EXPECT_EQ(where(), test.after_next_run) << test.after_run;
  }
}

// A backup is not replaced by a copy of the file being installed, as a forced run with the same
// backup folder would otherwise do: the older backup stays, and the line has no "(kopierad)". Where
// there is no backup yet, one is made, so that a roll-back from the folder finds every component.
TEST_F(InstallationRun, ABackupIsNeverReplacedByTheFileBeingInstalled) {
  Tool();
  for (int i : {1, 2, 3}) Source(i, "20040312");
  for (int i : {1, 2}) host.files.AddFile("d:\\kopior\\" + Name(i), "19980101", "oldest " + Name(i));
  for (int i : {1, 3}) host.files.AddFile(kSystem + Name(i), "19990101", "new " + Name(i));  // the same file, dated earlier
  Installed(2, "19990101");
  window.boxes = "11100000";
  const auto run = Run(kSystem, "d:\\kopior");
  const std::string old = "  20040312  \tBefintlig fil: 19990101  ";
  EXPECT_NE(run->ReportText.find(Lines({Name(1) + old + "\tInlagd ", Name(2) + old + "(kopierad)  \tInlagd ",
                                        Name(3) + old + "(kopierad)  \tInlagd "})),
            std::string::npos) << run->ReportText;
  for (int i : {1, 2, 3}) {
    EXPECT_EQ(host.files.File("d:\\kopior\\" + Name(i)).content, (i == 1 ? "oldest " : i == 2 ? "old " : "new ") + Name(i));
  }
}
