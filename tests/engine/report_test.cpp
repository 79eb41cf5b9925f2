// Whole reports, from runs on the in-memory host: the pieces of each file line byte for byte, and
// which blocks stand above and below the lines in every kind of run.
#include <gtest/gtest.h>

#include "tests/engine/run_fixture.h"

using Report = RunFixture;

namespace {

const std::string kHint = "Följande rapport kan kopieras för utskrift i Anteckningar eller valfri ordbehandlare.";
const std::string kToolMissing =
    "HITTAR INTE regsvr32.exe. Inlagda filer är inte införda i registret men registreras när programmen körs.";

// True when `text` is `pattern`, where "…" in the pattern stands for any text.
bool Matches(const std::string& text, const std::string& pattern) {
  const std::size_t gap = pattern.find("…");
  if (gap == std::string::npos) return text == pattern;
  const std::string head = pattern.substr(0, gap), tail = pattern.substr(gap + 3);
  return text.size() >= head.size() + tail.size() && text.starts_with(head) && text.ends_with(tail);
}

}  // namespace

// Each kind of run by its boxes ('1' ticked, '2' greyed), its sources ('s' present, dated 20040312),
// the installed files ('o' older, 'e' the same day, 'n' newer) and the registration tool.
TEST_F(Report, BlocksAboveAndBelowTheFileLines) {
  struct Case {
    const char *ticks, *sources, *installed;
    bool tool;
    std::string destination, expected;
    int failing_start = 0, starts = 0;
  };
  const std::string sys = "c:\\windows\\system32\\";
  const Case cases[] = {
      {"11111111", "ssssssss", "eneneene", true, sys, "Inga systemfiler behövde installeras.\r\n\r\n"
       "comdlg32.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)\r\n…(ej ersatt)\r\n\r\n"},
      {"11111110", "ssssssss", "eeeeeee-", true, sys, "Installation av systemfiler klar.\r\n\r\ncomdlg32.ocx…"
       "richtx32.ocx  20040312  \tBefintlig fil: 20040312  (ej ersatt)\r\n\r\n"},
      {"00000000", "ssssssss", "--------", true, sys, "Installation av systemfiler klar.\r\n\r\n\r\n"},
      {"20000000", "ssssssss", "--------", false, sys, "\r\n" + kToolMissing},
      // A regsvr32.exe outside the system's folders is not the system's tool: it never runs.
      {"10000000", "ssssssss", "--------", true, "c:\\program\\", "comdlg32.ocx  20040312  \tInlagd \r\n\r\n" + kToolMissing},
      {"11111111", "ssssssss", "--------", false, "c:\\saknas", "INGA FILER KUNDE INSTALLERAS.\r\n" + kHint +
       "\r\n\r\ncomdlg32.ocx  20040312  \r\ncomdlg32.ocx KUNDE INTE LÄGGAS IN. " + fake::FakeFileSystem::kPathNotFound +
       "\r\n…pdf_itb.ocx KUNDE INTE LÄGGAS IN. " + fake::FakeFileSystem::kPathNotFound + "\r\n"},
      {"01010101", "--------", "--------", true, sys, Lines({" 4 FILER KUNDE INTE INSTALLERAS.", kHint, "",
       "msflxgrd.ocx  KÄLLFIL SAKNAS", "tabctl32.ocx  KÄLLFIL SAKNAS", "riched32.dll  KÄLLFIL SAKNAS",
       "pdf_itb.ocx  KÄLLFIL SAKNAS", ""})},
      // The second start fails: its block stands above the failure header, and nothing after it is started.
      {"11101000", "sss-----", "--------", true, sys, Lines({"Åtkomst nekad.",
       ". Systemfilerna är inlagda men kunde inte registreras. De registreras när programmen körs.", "",
       " 1 FILER KUNDE INTE INSTALLERAS.", kHint, "", "comdlg32.ocx  20040312  \tInlagd ",
       "msflxgrd.ocx  20040312  \tInlagd ", "msmapi32.ocx  20040312  \tInlagd ", "msinet.ocx  KÄLLFIL SAKNAS", "",
       sys + "comdlg32.ocx registrerad"}), 2, 1},
  };
  for (const Case& c : cases) {
    fake::FakeSystem world;
    window.boxes = c.ticks;
    const char* dates[] = {"19990505", "20040312", "20050101"};
    for (int i = 1; i <= 8; ++i) {
      if (c.sources[i - 1] == 's') world.files.AddFile(Name(i), "20040312");
      const auto kind = std::string("oen").find(c.installed[i - 1]);
      if (kind != std::string::npos) world.files.AddFile(sys + Name(i), dates[kind]);
    }
    world.files.AddFolder(sys);
    if (c.tool) world.files.AddFile(c.destination + "regsvr32.exe", "20010101", "");
    if (c.failing_start) world.processes.FailStart(c.failing_start, "Åtkomst nekad.");
    const auto run = engine::RunInstallationValues(state, c.destination, "", window, world.system);
    ASSERT_TRUE(run.has_value());
    EXPECT_TRUE(Matches(run->ReportText, c.expected)) << c.ticks << c.installed << " gave:\n" << run->ReportText;
    EXPECT_EQ(static_cast<int>(world.processes.Started().size()), c.starts) << c.ticks << c.installed;
  }
}
