#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

namespace {

using namespace fake;
using platform::MessageIcon;

// Controls that reach outside their window's client area, and pairs of controls that overlap.
std::vector<std::string> Misplaced(const FakeWindow& window) {
  std::vector<std::string> found;
  const auto controls = window.Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const platform::ControlSpec& a = controls[i]->design;
    if (a.left < 0 || a.top < 0 || a.left + a.width > window.Design().client_width ||
        a.top + a.height > window.Design().client_height) {
      found.push_back(a.name);
    }
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const platform::ControlSpec& b = controls[j]->design;
      if (a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
          b.top < a.top + a.height) {
        found.push_back(a.name + "|" + b.name);
      }
    }
  }
  return found;
}

constexpr const char* kComponents[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                       "msinet.ocx",   "riched32.dll", "richtx32.ocx", "pdf_itb.ocx"};

TEST(Form2, LoadStacksTickedBoxesProposesTheSystemFolderAndPlacesTheWindow) {
  FormFixture f;
  ui::Form2& form2 = f.Start();

  EXPECT_EQ(f.window->Caption(), "Installera systemfiler för Ebronaprogrammen");
  EXPECT_TRUE(f.window->Design().application_icon);
  EXPECT_EQ(f.window->Width(), 7110 + FakeWindow::kFrameWidth);
  for (int i = 1; i <= 8; ++i) {
    const auto& box = f.window->Find<FakeCheckBox>("Check1_" + std::to_string(i));
    EXPECT_EQ(box.Caption() + " " + std::to_string(box.Value()), std::string(kComponents[i - 1]) + " 1");
    EXPECT_EQ(std::pair(box.design.left, box.design.height), std::pair(210.0f, 375.0f)) << i;
    EXPECT_EQ(box.design.top, 645 + 375 * (i - 1)) << i;
  }
  for (const char* name : {"Text1", "Text2"}) {
    EXPECT_EQ(f.Text(name).Left(), 3765) << name;
    EXPECT_EQ(f.Text(name).Width(), 3060) << name;
  }
  EXPECT_EQ(f.Text("Text1").Text(), "c:\\windows\\sysWOW64\\");
  EXPECT_EQ(f.Text("Text2").Text(), "");
  EXPECT_EQ(form2.state().ComponentCount, 8);
  EXPECT_EQ(form2.state().SystemFolder, "c:\\windows\\sysWOW64\\");
  // A fifth of the screen width and a sixth of its height in.
  EXPECT_EQ(f.window->Left(), 3072);
  EXPECT_EQ(f.window->Top(), 1920);
  EXPECT_EQ(Misplaced(*f.window), std::vector<std::string>{});
  // The chooser's name box starts left of its window and reaches into the caption above it.
  f.kit.WhenModal("Form4", [](FakeWindow& form4) {
    EXPECT_EQ(Misplaced(form4), (std::vector<std::string>{"Label1|Text1", "Text1"}));
    form4.Hide();
  });
  f.Click("Command4");
}

TEST(Form2, HelpShowsTheFourParagraphs) {
  FormFixture f;
  f.Start();
  f.Click("Command3");

  const std::string expected =
      "Programmet installerar de dll- och ocx-filer som är speciella för Ebronaprogrammen. Redan inlagda filer "
      "skrivs bara över om de är av äldre datum. Du kan välja att ta kopior på de filer som kommer att skrivas "
      "över. Använd i så fall knappen Bläddra/skapa mapp för att välja mapp eller skapa ny mapp.\r\n\r\n"
      "Behörighet kan krävas för att utföra installationen. Tala med den tekniskt ansvarige om installationen "
      "misslyckas. Kopiera och skriv ut den rapport som visas.\r\n\r\n"
      "Med Windows Vista eller senare ska UAC (User Account Control, användarkontroll) stängas av under "
      "installationen. Hittas via Kontrollpanelen, men lite olika beroende på windows-version, t ex: "
      "Användarkonton / Aktivera eller inaktivera UAC. Eller: System och säkerhet / Åtgärdscenter / Ändra "
      "inställningar för User Account Control. Kan kräva omstart av datorn. Sätt på UAC igen efter "
      "installationen.\r\n\r\n"
      "För datorer med 64-bitars Windows ska installation göras i windows\\sysWOW64, som bör vara den mapp som "
      "föreslås.";
  ASSERT_EQ(f.kit.messages.size(), 1u);
  EXPECT_EQ(f.kit.messages[0].prompt, expected);
  EXPECT_EQ(f.kit.messages[0].title, "Hjälp");
  EXPECT_EQ(f.kit.messages[0].icon, MessageIcon::kInformation);
}

TEST(Form2, AnEmptyDestinationIsRefusedAndTheWindowStaysOpen) {
  FormFixture f;
  f.host.files = FakeFileSystem();  // no system folder found
  f.Start();
  ASSERT_EQ(f.Text("Text1").Text(), "");

  EXPECT_NO_THROW(f.Click("Command1"));  // a report window would fail for want of a script

  ASSERT_EQ(f.kit.messages.size(), 1u);
  EXPECT_EQ(f.kit.messages[0].prompt, "Ange destinationsmapp för systemfiler.");
  EXPECT_EQ(f.kit.messages[0].icon, MessageIcon::kWarning);
  EXPECT_TRUE(f.host.files.Copies().empty());
  EXPECT_TRUE(f.window->IsVisible());
}

TEST(Form2, InstallationEndsWithTheReportOverTheMainWindowAndThenTheProgramEnds) {
  FormFixture f;
  f.host.files.AddFile("c:\\windows\\sysWOW64\\regsvr32.exe", "20080414");
  f.host.files.AddFile("c:\\windows\\sysWOW64\\msinet.ocx", "20010101");
  for (const char* name : kComponents) f.host.files.AddFile(name, "20240301");
  f.Start();
  f.window->Find<FakeCheckBox>("Check1_2").SetValue(0);
  f.window->Find<FakeCheckBox>("Check1_3").SetValue(2);  // greyed counts as not ticked

  std::string report;
  bool report_had_focus = false, multi_line = false;
  float left = 0, top = 0;
  f.kit.WhenModal("Form3", [&](FakeWindow& form3) {
    const auto& text1 = form3.Find<FakeTextBox>("Text1");
    report = text1.Text();
    report_had_focus = text1.HasFocus();
    multi_line = text1.style.multi_line && !text1.style.scroll_bars;
    left = form3.Left(), top = form3.Top();
    EXPECT_EQ(Misplaced(form3), std::vector<std::string>{});
    form3.CloseFromTitleBar();
  });

  EXPECT_THROW(f.Click("Command1"), ProgramEnded);

  EXPECT_NE(report.find("comdlg32.ocx  20240301  \tInlagd"), std::string::npos) << report;
  EXPECT_NE(report.find("msinet.ocx  20240301  \tBefintlig fil: 20010101  \tInlagd"), std::string::npos) << report;
  EXPECT_EQ(report.find("msflxgrd.ocx"), std::string::npos) << report;
  EXPECT_EQ(report.find("msmapi32.ocx"), std::string::npos) << report;
  EXPECT_EQ(f.host.files.File("c:\\windows\\sysWOW64\\msinet.ocx").date, "20240301");
  EXPECT_EQ(f.host.processes.Started().size(), 6u);
  EXPECT_TRUE(report_had_focus);
  EXPECT_TRUE(multi_line);
  // A quarter of Form2's outer size (7200 x 4200) in from its corner (3072, 1920).
  EXPECT_EQ(left, 7200 / 4 + 3072);
  EXPECT_EQ(top, 4200 / 4 + 1920);
}

}  // namespace
