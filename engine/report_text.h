#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The fixed texts of the installation report and the blocks put in front of it. Line ends are CR LF.
namespace engine::report {

inline constexpr const char* kLineEnd = "\r\n";
inline constexpr const char* kTab = "\t";
inline constexpr const char* kGap = "  ";
inline constexpr const char* kExisting = "Befintlig fil: ";
inline constexpr const char* kNotReplaced = "(ej ersatt)";
inline constexpr const char* kBackedUp = "(kopierad)  ";
inline constexpr const char* kInstalled = "Inlagd ";
inline constexpr const char* kSourceMissing = "KÄLLFIL SAKNAS";
// A source file that is empty or does not start as a PE image; the installed file stays.
inline constexpr const char* kNotAComponent = "KÄLLFILEN ÄR INGEN GILTIG KOMPONENT. FILEN ERSÄTTS EJ.";
inline constexpr const char* kCouldNotInstall = " KUNDE INTE LÄGGAS IN. ";
// Why a copy was refused whose destination is the very file it reads or the one the entry installs.
inline constexpr const char* kSameFile = "Målet är samma fil som källan.";
inline constexpr const char* kRegistered = " registrerad";
inline constexpr const char* kToolMissing =
    "HITTAR INTE regsvr32.exe. Inlagda filer är inte införda i registret men registreras när programmen körs.";

// "KOPIERING TILL " + backup folder + " MISSLYCKADES, FILEN ERSÄTTS EJ. " + error text.
std::string BackupFailed(const std::string& backup_folder, const std::string& error_text);

// The header over the file lines when entries failed; empty when none did.
std::string FailureHeader(std::int16_t failed_count, std::int16_t component_count);

// The block that tells that the registration could not be started.
std::string RegistrationFailureBlock(const std::string& error_text);

// The line after the report of an unattended run for a registration command that ended with a
// non-zero `status`, with the status's meaning where it has a known one and, for a file that could
// not be loaded, the DLLs it imports that are `missing`; and for one that did not end in time.
std::string RegistrationExitCode(const std::string& component, std::uint32_t status,
                                 const std::vector<std::string>& missing = {});
std::string RegistrationTimedOut(const std::string& component);

// The block that closes the report when files in use were replaced: an empty line, the sentence,
// and each file's path on a line of its own.
std::string InUseBlock(const std::vector<std::string>& files);

// The summary line with its empty line, or nothing.
std::string SummaryBlock(std::int16_t not_replaced_count, std::int16_t failed_count,
                         std::int16_t component_count);

}  // namespace engine::report
