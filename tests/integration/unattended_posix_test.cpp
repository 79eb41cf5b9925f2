// The program itself, started without a display in a temporary prefix: the engine wired to the
// real files and processes. An unattended installation into the system folder it finds, over
// folder names with blanks, Swedish letters and mixed separators, with a backup, a log and a
// registration that fails; then the check; and the window program, which says in one line of its
// own that it has no display to show its windows on.
#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "tests/platform/posix/temp_prefix.h"
#include "tests/support/pe_image.h"

namespace {

namespace fs = std::filesystem;

// Runs the program through the shell with `arguments`, each quoted, its error stream into `errors`
// and its output into the descriptor `output`, and returns its exit status.
int RunProgram(const std::vector<std::string>& arguments, const fs::path& errors = "/dev/null", int output = 1) {
  std::string command = EBRONA_PROGRAM;
  for (const std::string& argument : arguments) command += " '" + argument + "'";
  command += " >&" + std::to_string(output);
  return WEXITSTATUS(std::system((command + " 2>'" + errors.string() + "'").c_str()));
}

using UnattendedProgram = TempPrefixTest;

TEST_F(UnattendedProgram, InstallsIntoTheFoundSystemFolderWithBackupsAndLogsTheReport) {
  // Were a window kit started, Qt would try this platform and end the program with status 1.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  const fs::path system = DriveC() / "Windows" / "SysWOW64", backup = DriveC() / "Kopior med blanksteg, åäö";
  WriteFile(system / "MSVBVM60.DLL", "");
  // A tool that the program starts while it holds the lock of one installation must not keep it.
  WriteFile(system / "regsvr32.exe", "#!/bin/sh\nls -l /proc/$$/fd | grep -q ebrona-installer.lock && exit 9\n"
                                     "case \"$2\" in *msinet.ocx) exit 5;; esac\n");
  fs::permissions(system / "regsvr32.exe", fs::perms(0755));
  WriteFile(system / "COMDLG32.OCX", "old comdlg32");
  SetDate(system / "COMDLG32.OCX", 1999, 5, 5);
  WriteFile(system / "msflxgrd.ocx", "same day");
  SetDate(system / "msflxgrd.ocx", 2004, 3, 12);
  for (const char* name : {"comdlg32.ocx", "msflxgrd.ocx", "msinet.ocx", "pdf_itb.ocx"}) {
    WriteFile(DriveC() / "Ebrona Komponenter" / name, fake::PeImage(std::string("new ") + name));
    SetDate(DriveC() / "Ebrona Komponenter" / name, 2004, 3, 12);
  }
  fs::create_directories(backup);
  fs::create_directories(DriveC() / "loggar");
  const std::vector<std::string> choices = {"/SOURCE=c:/Ebrona Komponenter",
                                            "/COMPONENTS=comdlg32.ocx,msflxgrd.ocx,msinet.ocx,pdf_itb.ocx"};

  // A log that would replace a file the run uses, or the program, is refused before anything is done.
  AddDrive("p:", fs::path(EBRONA_PROGRAM).parent_path());
  fs::current_path(DriveC() / "Ebrona Komponenter");
  for (const auto& [log, clash] : std::initializer_list<std::pair<std::string, std::string>>{
           {"MSINET.OCX", "komponenten msinet.ocx i källmappen"},
           {"c:\\windows\\syswow64\\tabctl32.ocx.", "komponenten tabctl32.ocx i destinationsmappen"},
           {"c:/kopior med blanksteg, åäö/COMDLG32.ocx", "komponenten comdlg32.ocx i mappen för kopior"},
           {"c:\\windows\\syswow64\\msvbvm60.dll", "markörfilen c:\\windows\\sysWOW64\\msvbvm60.dll"},
           {"c:\\windows\\syswow64\\REGSVR32.EXE", "registreringsverktyget c:\\windows\\sysWOW64\\regsvr32.exe"},
           {"p:\\ebrona-installer", "programmet självt"}}) {
    EXPECT_EQ(RunProgram({"/S", "/LOG=" + log, "/BACKUP=c:\\Kopior med blanksteg, åäö", choices[0]}, root_ / "errors"), 87);
    EXPECT_EQ(ReadFile(root_ / "errors"), "ebrona-installer: Loggfilen " + log + " skulle skriva över " + clash +
                                              ". Ange en annan fil med /LOG=<fil>.\n");
  }
  umask(022);  // the program's new files get 0644 under it
  EXPECT_EQ(RunProgram({"/S", "/LOG=c:\\loggar\\rapport.txt", "/BACKUP=c:\\kopior med blanksteg, ÅÄÖ\\", choices[0],
                        choices[1]}), 3);
  EXPECT_EQ(ReadFile(backup / "comdlg32.ocx"), "old comdlg32") << "a new file takes the name as written";
  const std::string sys = "c:\\windows\\sysWOW64\\";
  EXPECT_EQ(ReadFile(DriveC() / "loggar" / "rapport.txt"),
            "\xEF\xBB\xBF"
            "comdlg32.ocx  20040312  \tBefintlig fil: 19990505  (kopierad)  \tInlagd \r\n"
            "msflxgrd.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)\r\n"
            "msinet.ocx  20040312  \tInlagd \r\npdf_itb.ocx  20040312  \tInlagd \r\n\r\n" +
                sys + "comdlg32.ocx registrerad\r\n" + sys + "msinet.ocx KUNDE INTE REGISTRERAS\r\n" + sys +
                "pdf_itb.ocx registrerad\r\n\r\n" + sys +
                "msinet.ocx: regsvr32.exe avslutades med kod 5: DllRegisterServer misslyckades.\r\n" + sys +
                "comdlg32.ocx: har inget typbibliotek; registreringen kan inte kontrolleras.\r\n" + sys +
                "pdf_itb.ocx: har inget typbibliotek; registreringen kan inte kontrolleras.\r\n");
  EXPECT_EQ(fs::status(DriveC() / "loggar" / "rapport.txt").permissions(), fs::perms(0644)) << "a new file's mode";
  EXPECT_EQ(RunProgram({"/CHECK", choices[0], choices[1]}), 0);

  // Qt finds no display (its words stand in the brackets), then the program finds none itself.
  const std::string no_display = "ebrona-installer: ingen bildskärm att visa fönstren på (";
  for (const char* platform : {"xcb", ""}) {
    setenv("QT_QPA_PLATFORM", platform, 1);
    EXPECT_EQ(RunProgram({}, root_ / "errors"), 1);
    const std::string said = ReadFile(root_ / "errors");
    EXPECT_TRUE(said.starts_with(no_display) && said.find(")\n") == said.size() - 2) << said;
  }
  EXPECT_EQ(ReadFile(root_ / "errors"), no_display + "DISPLAY är inte satt)\n");
}

// Odd files where the run expects plain ones, none of which may be installed, started or replaced:
// a FIFO in the place of a component, a regsvr32.exe in a folder that is not the system's, and logs
// that are a FIFO, a character device, the program's own descriptors by name (a socket and a pipe
// whose reader has gone among them) and a link planted to lead into another file. Then SIGTERM in
// the middle of a copy: its temporary file goes, and the program ends by the signal.
TEST_F(UnattendedProgram, OddFilesAreNeitherInstalledNorStartedNorReplacedAndASignalLeavesNoTemporaryFile) {
  const fs::path system = DriveC() / "windows" / "system32", planted = DriveC() / "planted", komp = DriveC() / "komp";
  AddDrive("s:", system);  // the system folder under another name
  WriteFile(system / "regsvr32.exe", "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
  fs::permissions(system / "regsvr32.exe", fs::perms(0755));
  WriteFile(planted / "msinet.ocx", "old");
  SetDate(planted / "msinet.ocx", 1999, 5, 5);
  fs::copy_file(system / "regsvr32.exe", planted / "regsvr32.exe");
  WriteFile(komp / "comdlg32.ocx", fake::PeImage("new"));
  SetDate(komp / "comdlg32.ocx", 2004, 3, 12);
  for (const fs::path& fifo : {komp / "msinet.ocx", DriveC() / "fifo"}) ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  // /dev/null's twin, or without the right to make one, a link to it.
  if (mknod((DriveC() / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0) fs::create_symlink("/dev/null", DriveC() / "null");
  WriteFile(root_ / "passwd", "root:x:0:0::/root:/bin/sh\n");
  fs::create_symlink("/proc/self/root" + (root_ / "passwd").string(), DriveC() / "passwd");
  AddDrive("z:", "/");

  const int reader = open((DriveC() / "fifo").c_str(), O_RDONLY | O_NONBLOCK);  // without one the log fails at once
  // 0: comdlg32.ocx went in and the system's own tool registered it; 1 would be the FIFO taken
  // for a component that failed.
  EXPECT_EQ(RunProgram({"/S", "/SOURCE=c:\\komp", "/DIR=c:\\planted", "/LOG=c:\\fifo"}), 0);
  close(reader);
  EXPECT_FALSE(fs::exists(planted / "ran")) << "a regsvr32.exe outside the system's folders was started";
  EXPECT_EQ(ReadFile(planted / "msinet.ocx"), "old") << "a FIFO was installed";
  EXPECT_EQ(RunProgram({"/CHECK", "/SOURCE=c:\\komp", "/DIR=c:\\planted"}), 0) << "a FIFO counts as a newer component";
  // 0: the system folder's tool, under another name, was started (2 if not).
  EXPECT_EQ(RunProgram({"/S", "/SOURCE=c:\\komp", "/COMPONENTS=comdlg32.ocx", "/DIR=s:", "/LOG=c:\\null"}), 0);
  const auto log = [](const std::string& name) {
    return std::vector<std::string>{"/S", "/SOURCE=c:\\komp", "/COMPONENTS=comdlg32.ocx", "/DIR=s:", "/LOG=" + name};
  };
  EXPECT_EQ(RunProgram(log("c:\\passwd")), 0);
  EXPECT_TRUE(fs::is_character_file(DriveC() / "null") && !fs::is_symlink(DriveC() / "passwd") && fs::is_fifo(DriveC() / "fifo") &&
              ReadFile(root_ / "passwd") == "root:x:0:0::/root:/bin/sh\n") << "the report went through a planted link";
  fs::create_directory_symlink("/proc/self/fd", DriveC() / "fds");
  for (const char* name : {"z:\\dev\\stderr", "z:\\proc\\self\\fd\\2", "z:\\dev\\fd\\2", "c:\\fds\\2"}) {
    EXPECT_EQ(RunProgram(log(name), root_ / "errors"), 0);
    EXPECT_TRUE(ReadFile(root_ / "errors").starts_with("\xEF\xBB\xBFInstallation av systemfiler klar.\r\n")) << name;
  }
  // Output into a socket, as the journal gives it (opened by name it fails otherwise), whose reader
  // has gone: SIGPIPE would end the program.
  int ends[2];
  ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
  close(ends[0]);
  EXPECT_EQ(RunProgram(log("z:\\dev\\stdout"), root_ / "errors", ends[1]), 5);
  close(ends[1]);
  EXPECT_NE(ReadFile(root_ / "errors").find(std::strerror(EPIPE) + std::string("\nInstallation av systemfiler klar.\n")),
            std::string::npos) << ReadFile(root_ / "errors");

  // Newer now, and 4 GiB, sparse: seconds to copy, and nothing on the disk.
  fs::resize_file(komp / "comdlg32.ocx", std::uintmax_t{4} << 30);
  const auto entries = [&] { return std::distance(fs::directory_iterator(system), fs::directory_iterator()); };
  const auto before = entries();  // until the temporary file comes
  const pid_t program = fork();
  if (program == 0) _exit(execl(EBRONA_PROGRAM, EBRONA_PROGRAM, "/S", "/SOURCE=c:\\komp", "/DIR=s:", nullptr));
  while (entries() == before) ASSERT_EQ(waitpid(program, nullptr, WNOHANG), 0) << "the program ended before copying";
  kill(program, SIGTERM);
  int status = 0;
  waitpid(program, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM && entries() == before) << status;
  EXPECT_EQ(ReadFile(system / "comdlg32.ocx"), fake::PeImage("new"));
}

}  // namespace
