#pragma once

#include <string>

// The program's command-line interface: its switches, its exit codes and the usage text written
// from both tables.
namespace app {

// How a run ends. When several apply, the lowest non-zero one is given.
enum ExitCode : int {
  kExitDone = 0,                // finished without failure, also when nothing needed installing
  kExitFilesFailed = 1,         // files could not be installed; /CHECK: something would be copied or is broken
  kExitToolNotStarted = 2,      // a copied file left unregistered: regsvr32.exe missing or not startable
  kExitRegistrationFailed = 3,  // a registration command failed, did not end in time, or its check failed
  kExitRefused = 4,             // refused before anything was done: a folder or a component is missing
  kExitLogNotWritten = 5,       // the log file could not be written
  kExitUsage = 87,              // a usage error (ERROR_INVALID_PARAMETER)
  // Another installation held the lock throughout the wait; nothing was done. On Windows
  // ERROR_INSTALL_ALREADY_RUNNING, which deployment tools retry; a POSIX exit status has 8 bits,
  // in which 1618 would arrive as 82, so on Linux EX_TEMPFAIL of sysexits.h: try again later.
#ifdef _WIN32
  kExitAnotherRun = 1618,
#else
  kExitAnotherRun = 75,
#endif
  // No failure, but files in use were replaced (ERROR_SUCCESS_REBOOT_REQUIRED). Windows only: on
  // Linux a rename replaces a file that a program holds, so no run ends with it there.
  kExitRestartNeeded = 3010,
};

// The lowest non-zero of the two codes, or 0; so 1 to 5 win over kExitRestartNeeded.
// kExitAnotherRun is never combined: nothing was done.
inline int Worse(int a, int b) { return a == 0 ? b : b == 0 ? a : (a < b ? a : b); }

enum class SwitchId { kSilent, kDir, kBackup, kSource, kComponents, kLog, kCheck, kHelp, kVersion, kForce };

// One switch: its names without the leading "/" (lower case), what its value is called (nothing
// for a switch without a value) and what it does.
struct Switch {
  SwitchId id;
  const char* name;
  const char* alias;
  const char* value;
  const char* meaning;
};

inline constexpr Switch kSwitches[] = {
    {SwitchId::kSilent, "s", "silent", nullptr, "inget fönster: installera med värdena nedan och avsluta"},
    {SwitchId::kDir, "dir", nullptr, "mapp", "installera i mappen (annars den föreslagna systemmappen)"},
    {SwitchId::kBackup, "backup", nullptr, "mapp", "spara kopior av överskrivna filer i mappen (annars inga)"},
    {SwitchId::kSource, "source", nullptr, "mapp", "läs komponentfilerna i mappen (annars den aktuella mappen)"},
    {SwitchId::kComponents, "components", nullptr, "namn,namn,...", "installera bara dessa komponenter"},
    {SwitchId::kLog, "log", nullptr, "fil", "skriv rapporten till filen (med /S)"},
    {SwitchId::kCheck, "check", nullptr, nullptr, "ändra inget: slutkod 1 om något skulle kopieras, annars 0"},
    {SwitchId::kForce, "force", nullptr, nullptr, "installera de valda komponenterna oavsett datum (med /S eller /CHECK)"},
    {SwitchId::kHelp, "?", "help", nullptr, "visa den här texten"},
    {SwitchId::kVersion, "version", nullptr, nullptr, "visa programmets namn och version"},
};

// The spellings that Linux users type first, each read as the switch it stands for, whole and
// without regard to case ("-?" is "/?" already).
struct Spelling {
  const char* argument;
  SwitchId id;
};

inline constexpr Spelling kSpellings[] = {
    {"-h", SwitchId::kHelp},
    {"--help", SwitchId::kHelp},
    {"--version", SwitchId::kVersion},
};

struct ExitCodeMeaning {
  ExitCode code;
  const char* meaning;
};

inline constexpr const char* kAnotherRunMeaning =
    "en annan installation pågick i 10 minuter: inget gjordes, försök igen senare";

// The codes in increasing order, those that this build gives.
inline constexpr ExitCodeMeaning kExitCodes[] = {
    {kExitDone, "klart utan fel, även när inget behövde installeras"},
    {kExitFilesFailed, "en eller flera filer kunde inte installeras"},
    {kExitToolNotStarted, "en kopierad fil registrerades inte: regsvr32.exe saknas eller kunde inte startas"},
    {kExitRegistrationFailed, "en registrering misslyckades, svarade inte inom 60 sekunder eller stämmer inte i registret"},
    {kExitRefused, "avbrutet innan något gjorts: en mapp eller komponent saknas eller är fel"},
    {kExitLogNotWritten, "loggfilen kunde inte skrivas"},
#ifndef _WIN32
    {kExitAnotherRun, kAnotherRunMeaning},
#endif
    {kExitUsage, "felaktiga argument, eller en loggfil som är en mapp eller som körningen själv använder"},
#ifdef _WIN32
    {kExitAnotherRun, kAnotherRunMeaning},
    {kExitRestartNeeded, "klart, men filer som användes av program har ersatts: en omstart slutför installationen"},
#endif
};

// How the usage text writes the switch: its names, each with its "/", the value it takes and the
// spellings that stand for it ("/DIR=<mapp>", "/?, /HELP, -h, --help").
std::string SwitchNames(const Switch& s);

// How the usage text lines up its two columns: with blanks, for the fixed-width font of a console
// or a terminal, or for a message box's proportional font, each switch on a line of its own with
// its meaning on the next after a TAB, and each exit code and its meaning parted by a TAB.
enum class Layout { kColumns, kWindow };

// The usage text, lines ended by "\n": the switches, the components and the exit codes.
std::string UsageText(Layout layout = Layout::kColumns);

// What a message box says after a usage error, in place of the whole usage text: where to read it.
inline constexpr const char* kUsageInConsole = "Skriv ebrona-installer /? i en kommandotolk för att se växlarna.";

// The answer to /VERSION: the program's name and its version, in one line ended by "\n".
std::string VersionText();

}  // namespace app
