#include "engine/report_text.h"

namespace engine::report {
namespace {
constexpr const char* kCopyHint =
    "Följande rapport kan kopieras för utskrift i Anteckningar eller valfri ordbehandlare.";
}

std::string BackupFailed(const std::string& backup_folder, const std::string& error_text) {
  return "KOPIERING TILL " + backup_folder + " MISSLYCKADES, FILEN ERSÄTTS EJ. " + error_text;
}

std::string FailureHeader(std::int16_t failed_count, std::int16_t component_count) {
  std::string first_line;
  if (failed_count == component_count) {
    first_line = "INGA FILER KUNDE INSTALLERAS.";
  } else if (failed_count > 0) {
    // The count is written as a blank followed by its digits: " 3 FILER ...".
    first_line.append(" ").append(std::to_string(failed_count)).append(" FILER KUNDE INTE INSTALLERAS.");
  } else {
    return {};
  }
  return first_line + kLineEnd + kCopyHint + kLineEnd + kLineEnd;
}

std::string RegistrationFailureBlock(const std::string& error_text) {
  return error_text + kLineEnd +
         ". Systemfilerna är inlagda men kunde inte registreras. De registreras när programmen körs." + kLineEnd +
         kLineEnd;
}

std::string SummaryBlock(std::int16_t not_replaced_count, std::int16_t failed_count,
                         std::int16_t component_count) {
  if (not_replaced_count == component_count) return std::string("Inga systemfiler behövde installeras.") + kLineEnd + kLineEnd;
  if (failed_count == 0) return std::string("Installation av systemfiler klar.") + kLineEnd + kLineEnd;
  return {};
}

std::string InUseBlock(const std::vector<std::string>& files) {
  std::string block = std::string(kLineEnd) +
                      "Följande filer användes av program som körs och har ersatts. Programmen använder de nya "
                      "filerna när de har startats om:" + kLineEnd;
  for (const std::string& file : files) block += file + kLineEnd;
  return block;
}

std::string RegistrationExitCode(const std::string& component, std::uint32_t status,
                                 const std::vector<std::string>& missing) {
  std::string line = component + ": regsvr32.exe avslutades med kod " + std::to_string(status);
  // The statuses regsvr32 gives for a file it could not load, one without DllRegisterServer, and
  // a DllRegisterServer that failed.
  if (status == 3) line += ": filen kunde inte läsas in.";
  if (status == 4) line += ": filen har ingen DllRegisterServer.";
  if (status == 5) line += ": DllRegisterServer misslyckades.";
  if (status != 3 || missing.empty()) return line;
  line += " Saknas: ";
  for (std::size_t i = 0; i < missing.size(); ++i) line += (i ? ", " : "") + missing[i];
  return line + ".";
}

std::string RegistrationTimedOut(const std::string& component) {
  return component + ": regsvr32.exe svarade inte inom 60 sekunder";
}

}  // namespace engine::report
