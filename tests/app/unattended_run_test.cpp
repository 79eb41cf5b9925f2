// The run without windows on the in-memory platform: its exit codes, its log, its waits and its check.
#include <functional>

#include <gtest/gtest.h>

#include "app/unattended_run.h"
#include "engine/installation_run.h"
#include "tests/support/fake_system.h"

namespace {

const std::string kSystem = "c:\\windows\\system32\\";
const std::string kBom = "\xEF\xBB\xBF";
constexpr std::chrono::milliseconds kWait{250};

// A Windows system folder with its tool, and the eight components of 2004-03-12 in the current
// folder "c:\ebrona"; none installed yet.
struct Scene {
  Scene() {
    engine::FillCatalogue(catalogue);
    host.files.AddFile(kSystem + "msvbvm60.dll", "19980101");
    host.files.AddFile(kSystem + "regsvr32.exe", "19980101");
    for (int i = 1; i <= 8; ++i) host.files.AddFile(Name(i), "20040312", "new");
  }
  std::string Name(int index) const { return catalogue.ComponentCatalogue[index]; }
  void Installed(int index, const char* date) { host.files.AddFile(kSystem + Name(index), date, "old"); }
  void Fail(fake::Op op, const std::string& path) { host.files.InjectFailure(op, path, "Access is denied."); }

  int Run(const std::vector<std::string>& arguments) {
    const app::ParsedArguments parsed = app::ParseArguments(arguments);
    EXPECT_EQ(parsed.error, "");
    return app::RunUnattended(
        parsed.choices, host.system, [this](const std::string& line) { errors.push_back(line); },
        kWait);
  }

  engine::InstallerState catalogue;
  fake::FakeSystem host;
  std::vector<std::string> errors;
};

TEST(UnattendedRun, ExitCodeTellsTheLowestFailureTheLogTellsTheReportAndCheckChangesNothing) {
  const auto all_installed = [](Scene& s) { for (int i = 1; i <= 8; ++i) s.Installed(i, "20040312"); };
  const auto no_tool = [](Scene& s) { s.Fail(fake::Op::kFileLength, kSystem + "regsvr32.exe"); };
  const auto no_system_folder = [](Scene& s) { s.Fail(fake::Op::kFileLength, kSystem + "msvbvm60.dll"); };
  const auto copy_fails = [](Scene& s) { s.Fail(fake::Op::kCopyTo, kSystem + s.Name(5)); };
  const auto log_fails = [](Scene& s) { s.Fail(fake::Op::kWriteFile, "r.txt"); };
  const auto ends_with_1 = [](Scene& s) { s.host.processes.EndWith(2, 1); };
  const auto held = [](Scene& s) { s.Installed(1, "19990101"), s.host.files.Hold(kSystem + s.Name(1), true); };
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::function<void(Scene&)>> arrange;
    int expected;
    std::string log_has = {};  // in the log "r.txt", when given
  };
  const Case cases[] = {
      {{"/S"}, {}, 0},
      {{"/S"}, {all_installed}, 0},
      {{"/S", "/LOG=r.txt", "/SOURCE=."}, {copy_fails}, 1, "\r\nmsinet.ocx KUNDE INTE LÄGGAS IN. Access is denied.\r\n"},
      {{"/S"}, {no_tool}, 2},
      {{"/S"}, {no_tool, copy_fails}, 1},
      {{"/S"}, {held, copy_fails}, 1},
      {{"/S", "/LOG=r.txt"}, {held, no_tool}, 2, "körs.\r\n\r\nFöljande filer användes av program som körs"},
      {{"/S"}, {[](Scene& s) { s.host.processes.FailStart(3, "Bad format."); }}, 2},
      {{"/S"}, {ends_with_1}, 3},
      {{"/S", "/LOG=r.txt"}, {[](Scene& s) { s.host.processes.EndWith(8, std::nullopt); }}, 3,
       kSystem + "pdf_itb.ocx registrerad\r\n\r\n" + kSystem +
       "pdf_itb.ocx: regsvr32.exe svarade inte inom 60 sekunder\r\n"},
      {{"/S", "/LOG=r.txt"}, {no_system_folder}, 4, kBom + "Ange destinationsmapp för systemfiler.\r\n"},
      {{"/S", "/DIR=   "}, {}, 4},
      {{"/S", "/LOG=r.txt"}, {log_fails}, 5},
      {{"/S", "/LOG=r.txt"}, {log_fails, ends_with_1}, 3},
      {{"/CHECK", "/LOG=r.txt"}, {}, 1},
      {{"/CHECK"}, {all_installed}, 0},
      {{"/CHECK"}, {all_installed, [](Scene& s) { s.Installed(7, "20040311"); }}, 1},
      {{"/CHECK", "/COMPONENTS=comdlg32.ocx"}, {all_installed, [](Scene& s) { s.Installed(5, "20000101"); }}, 0},
      {{"/CHECK", "/COMPONENTS=comdlg32.ocx"}, {[](Scene& s) { s.Fail(fake::Op::kModificationDate, s.Name(1)); }}, 0},
      {{"/CHECK"}, {no_system_folder}, 4},
  };
  for (const Case& c : cases) {
    const std::string what = testing::PrintToString(c.arguments) + " case " + std::to_string(&c - cases);
    Scene scene;
    for (const auto& arrange : c.arrange) arrange(scene);
    const auto before = scene.host.files.Files();
    EXPECT_EQ(scene.Run(c.arguments), c.expected) << what;
    if (!c.log_has.empty()) {
      EXPECT_NE(scene.host.files.File("r.txt").content.find(c.log_has), std::string::npos) << what;
    }
    // Each registration is waited for, with the limit given.
    EXPECT_EQ(scene.host.processes.Waits(), std::vector(scene.host.processes.Started().size(), kWait)) << what;
    if (c.expected == 4) {
      EXPECT_EQ(scene.errors, std::vector<std::string>{engine::kNoDestination}) << what;
    }
    if (c.arguments[0] == "/CHECK") {
      EXPECT_EQ(scene.host.files.Files(), before) << what;
      EXPECT_EQ(scene.host.processes.Attempts(), 0) << what;
    }
  }
}

}  // namespace
