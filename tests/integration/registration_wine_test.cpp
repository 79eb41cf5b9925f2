// The program itself against a real Wine prefix and Wine's own regsvr32, with stand-in components
// whose DllRegisterServer registers them rightly or wrongly, or that cannot load: what /S reports and repairs
// and what /CHECK sees. Wine is started by the `wine` on PATH, as for the user.
#include <sys/wait.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/platform/posix/temp_prefix.h"

namespace {

namespace fs = std::filesystem;

const std::string kClass = "{6E3F4A12-2B7C-4D5E-9A81-3C4B5D6E7F80}";
const std::string kSystem = "c:\\windows\\system32\\";

class RegistrationUnderWine : public TempPrefixTest {
 protected:
  void SetUp() override {
    TempPrefixTest::SetUp();
    if (std::system(EBRONA_SOURCE "/scripts/wine.sh --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no Wine";
    WriteFile(root_ / "bin" / "wine", "#!/bin/sh\nexec " EBRONA_SOURCE "/scripts/wine.sh \"$@\"\n");
    fs::permissions(root_ / "bin" / "wine", fs::perms(0755));
    setenv("PATH", (root_.string() + "/bin:" + std::getenv("PATH")).c_str(), 1);
    setenv("WINEDEBUG", "-all", 1);
    setenv("WINEARCH", "win64", 1);
    // wineboot's own status tells of parts of the prefix that no test here uses.
    Shell("wine wineboot -i; wineserver -p 60");
  }
  void TearDown() override {
    Shell("wineserver -k");
    TempPrefixTest::TearDown();
  }
  static int Shell(const std::string& command) {
    return WEXITSTATUS(std::system(("(" + command + ") >/dev/null 2>&1").c_str()));
  }
  // Puts the stand-in `stand_in` into the source folder as `name`.
  void Source(const std::string& stand_in, const std::string& name) {
    WriteFile(DriveC() / "komponenter" / name, ReadFile(fs::path(EBRONA_STAND_INS) / stand_in));
  }
  // Runs the program on component `name`; the log and the error stream are kept.
  int Run(const std::string& mode, const std::string& name) {
    const std::string command = std::string(EBRONA_PROGRAM) + " " + mode +
                                " '/DIR=c:\\windows\\system32' '/SOURCE=c:\\komponenter' /COMPONENTS=" + name +
                                (mode == "/S" ? " '/LOG=c:\\logg.txt'" : "") + " 2>'" + (root_ / "errors").string() + "'";
    const int status = WEXITSTATUS(std::system(command.c_str()));
    log_ = mode == "/S" ? ReadFile(DriveC() / "logg.txt") : "";
    errors_ = ReadFile(root_ / "errors");
    return status;
  }
  bool Logged(const std::string& text) const { return log_.find(text) != std::string::npos; }

  std::string log_, errors_;
};

TEST_F(RegistrationUnderWine, SRegistersChecksAndRepairsWhatCheckFindsBroken) {
  Source("registers_this_file-64.dll", "comdlg32.ocx");
  EXPECT_EQ(Run("/S", "comdlg32.ocx"), 0) << log_;
  EXPECT_TRUE(Logged(kSystem + "comdlg32.ocx registrerad\r\n\r\n" + kSystem +
                     "comdlg32.ocx: registreringen kontrollerad.\r\n")) << log_;

  // A cleaner took the class away: the check sees it, a run repairs it, and the check is content.
  Shell("wine reg delete 'HKCR\\CLSID\\" + kClass + "' /f");
  EXPECT_EQ(Run("/CHECK", "comdlg32.ocx"), 1);
  EXPECT_NE(errors_.find(kSystem + "comdlg32.ocx: INTE REGISTRERAD: klassen " + kClass + " saknas i registret."),
            std::string::npos) << errors_;
  EXPECT_EQ(Run("/S", "comdlg32.ocx"), 0) << log_;
  EXPECT_TRUE(Logged("(ej ersatt)\r\n\r\n" + kSystem + "comdlg32.ocx registrerad\r\n")) << log_;
  EXPECT_EQ(Run("/CHECK", "comdlg32.ocx"), 0) << errors_;

  // Another copy wins the class.
  Source("registers_another_file-64.dll", "msinet.ocx");
  EXPECT_EQ(Run("/S", "msinet.ocx"), 3) << log_;
  EXPECT_TRUE(Logged(kSystem + "msinet.ocx KUNDE INTE REGISTRERAS\r\n\r\n" + kSystem +
                     "msinet.ocx: REGISTRERAD TILL EN ANNAN FIL: " + kClass +
                     " pekar på C:\\Program Files\\Gammal\\probe.ocx.\r\n")) << log_;

  // A DLL that cannot be loaded, and the one it lacks.
  Source("imports_absent-64.dll", "tabctl32.ocx");
  EXPECT_EQ(Run("/S", "tabctl32.ocx"), 3) << log_;
  EXPECT_TRUE(Logged(kSystem + "tabctl32.ocx: regsvr32.exe avslutades med kod 3: filen kunde inte läsas in. "
                               "Saknas: ebrona_absent.dll.\r\n")) << log_;
}

}  // namespace
