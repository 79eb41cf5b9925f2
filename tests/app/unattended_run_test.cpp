// The run without windows on the in-memory platform: its exit codes, its log, its waits and its check.
#include <functional>

#include <gtest/gtest.h>

#include "app/switches.h"
#include "app/unattended_run.h"
#include "engine/installation_run.h"
#include "tests/support/fake_system.h"

namespace {

const std::string kSystem = "c:\\windows\\system32\\";
const std::string kBom = "\xEF\xBB\xBF";
constexpr std::chrono::milliseconds kWait{250}, kLockWait{750};

// A Windows system folder with its tool, and the eight components of 2004-03-12 in the current
// folder "c:\ebrona"; none installed yet.
struct Scene {
  Scene() {
    engine::FillCatalogue(catalogue);
    host.files.AddFile(kSystem + "msvbvm60.dll", "19980101");
    host.files.AddFile(kSystem + "regsvr32.exe", "19980101");
    for (int i = 1; i <= 8; ++i) host.files.AddFile(Name(i), "20040312", fake::PeImage("new"));
  }
  std::string Name(int index) const { return catalogue.ComponentCatalogue[index]; }
  void Installed(int index, const char* date) { host.files.AddFile(kSystem + Name(index), date, "old"); }
  void Fail(fake::Op op, const std::string& path) { host.files.InjectFailure(op, path, "Access is denied."); }

  int Run(const std::vector<std::string>& arguments) {
    const app::ParsedArguments parsed = app::ParseArguments(arguments);
    EXPECT_EQ(parsed.error, "");
    return app::RunUnattended(
        parsed.choices, host.system, [this](const std::string& text) { errors += text; }, kWait, kLockWait);
  }

  engine::InstallerState catalogue;
  fake::FakeSystem host;
  std::string errors;
};

TEST(UnattendedRun, ExitCodeTellsTheLowestFailureTheLogTellsTheReportAndCheckChangesNothing) {
  const auto all_installed = [](Scene& s) { for (int i = 1; i <= 8; ++i) s.Installed(i, "20040312"); };
  const auto no_tool = [](Scene& s) { s.Fail(fake::Op::kFileLength, kSystem + "regsvr32.exe"); };
  const auto no_system_folder = [](Scene& s) { s.Fail(fake::Op::kFileLength, kSystem + "msvbvm60.dll"); };
  const auto copy_fails = [](Scene& s) { s.Fail(fake::Op::kCopyTo, kSystem + s.Name(5)); };
  const auto log_fails = [](Scene& s) { s.Fail(fake::Op::kWriteFile, "r.txt"); };
  const auto ends_with_1 = [](Scene& s) { s.host.processes.EndWith(2, 1); };
  const auto lock_busy = [](Scene& s) { s.host.lock.taken = false; };
  const auto only_msinet = [](Scene& s) {
    for (int i : {1, 2, 3, 4, 6, 7, 8}) s.Fail(fake::Op::kModificationDate, s.Name(i));
  };
  const auto empty_source = [](Scene& s) { s.host.files.AddFile(s.Name(7), "20040313", ""); };
  const auto held = [](Scene& s) { s.Installed(1, "19990101"), s.host.files.Hold(kSystem + s.Name(1), true); };
  // comdlg32.ocx has a type library; the registry holds nothing of it until regsvr32 runs.
  const auto verifiable = [](Scene& s) { s.host.registration.Component(kSystem + s.Name(1), 32, {"{C1}"}); };
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::function<void(Scene&)>> arrange;
    int expected;
    std::string log_has = {};    // in the log "r.txt", when given
    std::string error_has = {};  // on the error stream, when given
  };
  const Case cases[] = {
      {{"/S", "/LOG=r.txt", "/SOURCE=."}, {copy_fails}, 1, "\r\nmsinet.ocx KUNDE INTE LÄGGAS IN. Access is denied.\r\n",
       "ebrona-installer: msinet.ocx  20040312  \nebrona-installer: msinet.ocx KUNDE INTE LÄGGAS IN. Access is denied.\n"},
      {{"/S"}, {no_tool, all_installed}, 0},
      {{"/S"}, {held}, 3010},
      {{"/S", "/LOG=r.txt"}, {held, no_tool}, 2, "körs.\r\n\r\nFöljande filer användes av program som körs"},
      {{"/S"}, {[](Scene& s) { s.host.processes.FailStart(3, "Bad format."); }}, 2},
      {{"/S", "/LOG=r.txt"}, {[](Scene& s) { s.host.processes.EndWith(8, std::nullopt); }}, 3,
       kSystem + "pdf_itb.ocx KUNDE INTE REGISTRERAS\r\n\r\n" + kSystem +
       "pdf_itb.ocx: regsvr32.exe svarade inte inom 60 sekunder\r\n",
       ": " + kSystem + "pdf_itb.ocx: regsvr32.exe svarade inte inom 60 sekunder\n"},
      {{"/S", "/LOG=r.txt"}, {no_system_folder}, 4, kBom + "Ange destinationsmapp för systemfiler.\r\n",
       "systemfiler.\nebrona-installer: Ingen systemmapp hittades: msvbvm60.dll finns inte i c:\\windows\\sysWOW64\\, "
       "c:\\windows\\system32\\, c:\\windows\\system\\ eller c:\\winnt\\system32\\. Ange destinationsmappen med /DIR=<mapp>.\n"},
      {{"/S", "/LOG=r.txt"}, {log_fails}, 5, "", "skrivas: Access is denied.\nInstallation av systemfiler klar.\n\ncomdlg32.ocx "},
      {{"/S", "/LOG=r.txt"}, {only_msinet}, 0, "klar.\r\n\r\nmsinet.ocx  20040312  \tInlagd \r\n\r\n"},
      {{"/S", "/DIR=c:\\nowhere"}, {}, 4, "", ": Destinationsmappen c:\\nowhere\\ finns inte eller är ingen mapp.\n"},
      {{"/S", "/BACKUP=msinet.ocx"}, {}, 4, "", ": Mappen för kopior msinet.ocx är en fil, inte en mapp.\n"},
      {{"/S", "/BACKUP=."}, {}, 4, "", ": Mappen för kopior .\\ är källmappen. Ange en annan mapp med /BACKUP=<mapp>.\n"},
      {{"/CHECK", "/BACKUP=C:\\Windows\\System32"}, {}, 4, "", " är destinationsmappen. Ange en annan mapp med"},
      {{"/S", "/LOG=c:\\windows"}, {}, 87, "", ": Loggfilen c:\\windows är en mapp. Ange en fil med /LOG=<fil>.\n"},
      {{"/CHECK", "/SOURCE=c:\\saknas"}, {}, 4, "", ": Källmappen c:\\saknas\\ finns inte eller är ingen mapp.\n"},
      {{"/CHECK"}, {[](Scene& s) { s.host.files.SetCurrentFolder(kSystem); }}, 4, "",
       ": Källmappen c:\\windows\\system32\\ är destinationsmappen. Ange komponenternas mapp med /SOURCE=<mapp>.\n"},
      {{"/S", "/SOURCE=c:\\windows"}, {}, 4, "", ": Källmappen c:\\windows\\ innehåller ingen av komponenterna.\n"},
      {{"/S", "/COMPONENTS=msinet.ocx,pdf_itb.ocx,comdlg32.ocx"}, {only_msinet}, 4, "",
       ": Finns inte i källmappen c:\\ebrona\\: comdlg32.ocx, pdf_itb.ocx.\n"},
      {{"/S", "/LOG=r.txt"}, {log_fails, ends_with_1}, 3},
      {{"/S", "/LOG=r.txt"}, {lock_busy}, app::kExitAnotherRun, kBom + engine::kAnotherRun + "\r\n",
       "ebrona-installer: Väntar på att en annan installation ska bli klar, högst 10 minuter.\nebrona-installer: En "},
      {{"/S", "/LOG=r.txt"}, {lock_busy, log_fails}, app::kExitAnotherRun},
      {{"/S"}, {[](Scene& s) { s.host.lock.taken = platform::Status::Failure("Access is denied."); }}, 1},
      {{"/S", "/FORCE", "/LOG=r.txt"}, {all_installed}, 0, "msinet.ocx  20040312  \tBefintlig fil: 20040312  \tInlagd "},
      {{"/CHECK", "/LOG=r.txt"}, {}, 1},
      {{"/CHECK"}, {all_installed, verifiable}, 1, "", ": c:\\windows\\system32\\comdlg32.ocx: INTE REGISTRERAD: klassen {C1} saknas i registret.\n"},
      {{"/CHECK", "/FORCE"}, {all_installed}, 1},
      {{"/CHECK"}, {all_installed, [](Scene& s) { s.Installed(7, "20040311"); }}, 1},
      {{"/CHECK", "/COMPONENTS=comdlg32.ocx"}, {all_installed, [](Scene& s) { s.Installed(5, "20000101"); }}, 0},
      // A newer source that is no component is not copied (a run fails it), so /CHECK does not count it.
      {{"/CHECK"}, {all_installed, empty_source}, 0},
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
    EXPECT_NE(scene.errors.find(c.error_has), std::string::npos) << what << scene.errors;
    // Only a run past the checks takes the lock; finding it taken, it waits as long as it was told.
    const bool locks = c.arguments[0] == "/S" && c.expected != 4 && c.expected != 87;
    const bool busy = c.expected == app::kExitAnotherRun;
    const auto waits = busy ? std::vector{std::chrono::milliseconds(0), kLockWait} : std::vector(locks, kLockWait * 0);
    EXPECT_EQ(scene.host.lock.waits, waits) << what;
    if (c.arguments[0] == "/CHECK" || busy) {
      EXPECT_TRUE(busy || scene.host.files.Files() == before) << what;
      EXPECT_EQ(scene.host.processes.Started().size(), 0u) << what;
    }
  }
#ifndef _WIN32  // a POSIX exit status keeps 8 bits, in which 1618 would arrive as 82
  for (const app::ExitCodeMeaning& exit : app::kExitCodes) EXPECT_LT(exit.code, 256);
#endif
}

}  // namespace
