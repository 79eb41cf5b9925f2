// The run without windows on the in-memory platform: its exit codes, its log and its check.
#include <functional>

#include <gtest/gtest.h>

#include "app/unattended_run.h"
#include "engine/system_folder_detection.h"
#include "tests/engine/run_fixture.h"

namespace {

constexpr const char* kSystem = "c:\\windows\\system32\\";
constexpr const char* kBom = "\xEF\xBB\xBF";

// A Windows system folder with its tool, and the eight components of 2004-03-12 in the current
// folder; none installed yet.
struct Scene {
  Scene() {
    engine::FillCatalogue(catalogue);
    host.files.AddFile(std::string(kSystem) + "msvbvm60.dll", "19980101");
    host.files.AddFile(std::string(kSystem) + "regsvr32.exe", "19980101");
    for (int i = 1; i <= 8; ++i) host.files.AddFile(Name(i), "20040312", "new");
  }
  std::string Name(int index) const { return catalogue.ComponentCatalogue[index]; }
  void Installed(int index, const char* date) { host.files.AddFile(kSystem + Name(index), date, "old"); }
  void Unreadable(int index) {
    host.files.InjectFailure(fake::Op::kModificationDate, Name(index), "Access is denied.");
  }

  int Run(const std::vector<std::string>& arguments) {
    const app::ParsedArguments parsed = app::ParseArguments(arguments);
    EXPECT_EQ(parsed.error, "");
    return app::RunUnattended(
        parsed.choices, host.system, [this](const std::string& line) { errors.push_back(line); },
        std::chrono::milliseconds(250));
  }

  engine::InstallerState catalogue;
  fake::FakeSystem host;
  std::vector<std::string> errors;
};

TEST(UnattendedRun, ExitCodeTellsTheLowestFailureAndCheckChangesNothing) {
  const auto all_installed = [](Scene& s) {
    for (int i = 1; i <= 8; ++i) s.Installed(i, "20040312");
  };
  const auto no_tool = [](Scene& s) {
    s.host.files.InjectFailure(fake::Op::kFileLength, std::string(kSystem) + "regsvr32.exe", "Not found.");
  };
  const auto no_system_folder = [](Scene& s) {
    s.host.files.InjectFailure(fake::Op::kFileLength, std::string(kSystem) + "msvbvm60.dll", "Not found.");
  };
  const auto copy_fails = [](Scene& s) {
    s.host.files.InjectFailure(fake::Op::kCopyTo, kSystem + s.Name(5), "Access is denied.");
  };
  const auto log_fails = [](Scene& s) { s.host.files.InjectFailure(fake::Op::kWriteFile, "logg.txt", "Disk full."); };
  struct Case {
    const char* what;
    std::vector<std::string> arguments;
    std::vector<std::function<void(Scene&)>> arrange;
    int expected;
  };
  const Case cases[] = {
      {"copied and registered", {"/S"}, {}, 0},
      {"all up to date", {"/S"}, {all_installed}, 0},
      {"one file fails", {"/S"}, {copy_fails}, 1},
      {"every source missing", {"/S", "/SOURCE=c:\\saknas"}, {}, 1},
      {"tool missing", {"/S"}, {no_tool}, 2},
      {"tool missing and a file fails", {"/S"}, {no_tool, copy_fails}, 1},
      {"a start fails", {"/S"}, {[](Scene& s) { s.host.processes.FailStart(3, "Bad format."); }}, 2},
      {"status 5", {"/S"}, {[](Scene& s) { s.host.processes.EndWith(2, 5); }}, 3},
      {"never ends", {"/S"}, {[](Scene& s) { s.host.processes.EndWith(8, std::nullopt); }}, 3},
      {"no system folder", {"/S"}, {no_system_folder}, 4},
      {"destination of blanks", {"/S", "/DIR=   "}, {}, 4},
      {"log not written", {"/S", "/LOG=logg.txt"}, {log_fails}, 5},
      {"log not written after status 5", {"/S", "/LOG=logg.txt"},
       {log_fails, [](Scene& s) { s.host.processes.EndWith(1, 5); }}, 3},
      {"check: all missing", {"/CHECK", "/LOG=logg.txt"}, {}, 1},
      {"check: all up to date", {"/CHECK"}, {all_installed}, 0},
      {"check: one older", {"/CHECK"}, {all_installed, [](Scene& s) { s.Installed(7, "20040311"); }}, 1},
      {"check: one newer", {"/CHECK"}, {all_installed, [](Scene& s) { s.Installed(7, "20050101"); }}, 0},
      {"check: only unreadable sources missing", {"/CHECK", "/COMPONENTS=msinet.ocx,comdlg32.ocx"},
       {[](Scene& s) { s.Unreadable(1), s.Unreadable(5); }}, 0},
      {"check: an unticked one older", {"/CHECK", "/COMPONENTS=comdlg32.ocx"},
       {all_installed, [](Scene& s) { s.Installed(5, "20000101"); }}, 0},
      {"check: no system folder", {"/CHECK"}, {no_system_folder}, 4},
  };
  for (const Case& c : cases) {
    Scene scene;
    for (const auto& arrange : c.arrange) arrange(scene);
    const auto before = scene.host.files.Files();
    EXPECT_EQ(scene.Run(c.arguments), c.expected) << c.what;
    if (c.arguments[0] == "/CHECK") {
      EXPECT_EQ(scene.host.files.Files(), before) << c.what;
      EXPECT_EQ(scene.host.processes.Attempts(), 0) << c.what;
    }
  }
}

// The log holds the window's report byte for byte, then the registrations that went wrong.
TEST(UnattendedRun, LogIsTheReportWithByteOrderMarkThenTheRegistrationNotes) {
  Scene window;
  engine::InstallerState state = window.catalogue;
  state.ComponentCount = 8;
  FakeHost boxes;
  const std::string report = engine::RunInstallation(state, kSystem, "", boxes, window.host.system).value();

  Scene scene;
  scene.host.processes.EndWith(2, 5);
  scene.host.processes.EndWith(3, std::nullopt);
  scene.host.files.AddFolder("c:\\loggar");
  EXPECT_EQ(scene.Run({"/S", "/LOG=c:\\loggar\\rapport åäö.txt"}), 3);
  EXPECT_EQ(scene.host.processes.Waits(), std::vector<std::chrono::milliseconds>(8, std::chrono::milliseconds(250)));
  EXPECT_EQ(window.host.processes.Waits().size(), 0u) << "the window's run does not wait";
  EXPECT_EQ(scene.host.files.File("c:\\loggar\\rapport åäö.txt").content,
            kBom + report + "\r\n" + kSystem + "msflxgrd.ocx: regsvr32.exe avslutades med kod 5\r\n" + kSystem +
                "msmapi32.ocx: regsvr32.exe svarade inte inom 60 sekunder\r\n");
}

TEST(UnattendedRun, RefusalForNoDestinationGoesToTheErrorStreamAndTheLog) {
  Scene scene;
  scene.host.files.InjectFailure(fake::Op::kFileLength, std::string(kSystem) + "msvbvm60.dll", "Not found.");
  EXPECT_EQ(scene.Run({"/S", "/LOG=c:\\rapport.txt"}), 4);
  EXPECT_EQ(scene.errors, std::vector<std::string>{"Ange destinationsmapp för systemfiler."});
  EXPECT_EQ(scene.host.files.File("c:\\rapport.txt").content, kBom + std::string("Ange destinationsmapp för systemfiler.\r\n"));
  EXPECT_TRUE(scene.host.files.Copies().empty());
}

// Sources read from another folder still show their bare names in the report.
TEST(UnattendedRun, SourceFolderIsReadButFailureLinesNameTheBareFile) {
  Scene scene;
  for (const char* name : {"comdlg32.ocx", "msinet.ocx"}) {
    scene.host.files.AddFile(std::string("d:\\komponenter\\") + name, "20040312", "from d");
  }
  scene.host.files.InjectFailure(fake::Op::kCopyTo, std::string(kSystem) + "comdlg32.ocx", "Access is denied.");
  EXPECT_EQ(scene.Run({"/S", "/SOURCE=d:\\komponenter", "/COMPONENTS=comdlg32.ocx,msinet.ocx", "/LOG=r.txt"}), 1);
  EXPECT_EQ(scene.host.files.File(std::string(kSystem) + "msinet.ocx").content, "from d");
  const std::string log = scene.host.files.File("r.txt").content;
  EXPECT_NE(log.find("\r\ncomdlg32.ocx KUNDE INTE LÄGGAS IN. Access is denied.\r\n"), std::string::npos) << log;
}

}  // namespace
