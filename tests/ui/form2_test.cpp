#include <gtest/gtest.h>

#include <tuple>

#include "tests/ui/form_fixture.h"

namespace {

using namespace fake;

constexpr const char* kComponents[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                       "msinet.ocx",   "riched32.dll", "richtx32.ocx", "pdf_itb.ocx"};

TEST(Form2, LoadStacksTickedBoxesAndProposesTheSystemFolder) {
  FormFixture f;
  f.Start();

  EXPECT_EQ(f.window->Caption(), "Installera systemfiler för Ebronaprogrammen");
  EXPECT_TRUE(f.window->design.application_icon);
  // Box 1 keeps its place; each other box goes below the one before, with box 1's left and width.
  for (int i = 1; i <= 8; ++i) {
    const FakeControl& box = f.Find("Check1_" + std::to_string(i));
    EXPECT_EQ(std::tuple(box.Caption(), box.value, box.Left(), box.Top(), box.Width(), box.Height()),
              std::tuple(std::string(kComponents[i - 1]), 1, 210.0f, 645.0f + 375 * (i - 1), 2055.0f, 375.0f));
  }
  EXPECT_EQ(std::pair(f.Find("Text2").Left(), f.Find("Text2").Width()),
            std::pair(f.Find("Text1").Left(), f.Find("Text1").Width()));
  EXPECT_EQ(f.Find("Text1").text, "c:\\windows\\sysWOW64\\");
  // Tab walks the controls from the backup box, where the focus starts.
  EXPECT_EQ(f.window->TabOrder(), (std::vector<std::string>{"Text2", "Check1_8", "Text1", "Command3", "Command2",
                                                            "Command1", "Check1_7", "Check1_6", "Check1_5", "Check1_4",
                                                            "Check1_3", "Check1_2", "Check1_1", "Command4"}));
  EXPECT_EQ(Misplaced(*f.window), std::vector<std::string>{});
}

// With a destination box of blanks only: what each button and the title bar's close box do; and
// "Installera" while another installation holds the lock.
TEST(Form2, ButtonsAndTheCloseBox) {
  const std::string help =
      "Hjälp (information): "
      "Programmet installerar de dll- och ocx-filer som är speciella för Ebronaprogrammen. Redan inlagda filer "
      "skrivs bara över om de är av äldre datum. Du kan välja att ta kopior på de filer som kommer att skrivas "
      "över. Använd i så fall knappen Bläddra/skapa mapp för att välja mapp eller skapa ny mapp.\r\n\r\n"
      "Behörighet kan krävas för att utföra installationen. Tala med den tekniskt ansvarige om installationen "
      "misslyckas. Kopiera och skriv ut den rapport som visas.\r\n\r\n"
      "På Windows ber programmet självt om administratörsbehörighet när det startar. UAC (User Account "
      "Control, användarkontroll) ska inte stängas av.\r\n\r\n"
      "För datorer med 64-bitars Windows ska installation göras i windows\\sysWOW64, som bör vara den mapp som "
      "föreslås.";
  const struct {
    std::string act;  // a button, or "close"
    bool ends_program;
    std::vector<std::string> messages;
  } cases[] = {
      {"Command3", false, {help}},
      {"Command1", false, {"Installera systemfiler (warning): Ange destinationsmapp för systemfiler."}},
      {"busy", false, {"Installera systemfiler (warning): " + std::string(engine::kAnotherRun)}},
      {"Command2", true, {}},
      {"close", true, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.act);
    FormFixture f;
    f.Start();
    f.host.lock.taken = false;  // another installation holds it all the time
    if (c.act != "busy") f.Find("Text1").text = "   ";
    bool ended = false;
    try {
      c.act == "close" ? f.window->CloseFromTitleBar() : f.Find(c.act == "busy" ? "Command1" : c.act).Click();
    } catch (const ProgramEnded&) {
      ended = true;
    }
    EXPECT_EQ(ended, c.ends_program);
    EXPECT_EQ(f.kit.messages, c.messages);
    EXPECT_EQ(f.host.lock.waits, std::vector(c.act == "busy", std::chrono::milliseconds(0))) << "the window waits not";
  }
}

TEST(Form2, InstallationEndsWithTheReportOverTheMainWindowAndThenTheProgramEnds) {
  FormFixture f;
  for (const char* name : kComponents) f.host.files.AddFile(name, "20240301");
  f.Start();
  f.Find("Check1_2").value = 2;  // greyed counts as not ticked

  f.kit.when_modal["Form3"] = [](FakeWindow& form3) {
    const FakeControl& report = form3.Find("Text1");
    EXPECT_NE(report.text.find("comdlg32.ocx  20240301  \tInlagd"), std::string::npos) << report.text;
    EXPECT_EQ(report.text.find("msflxgrd.ocx"), std::string::npos) << report.text;
    EXPECT_TRUE(report.HasFocus() && report.style.multi_line && !report.style.scroll_bars);
    // A quarter of Form2's outer size (7200 x 4200) in from its corner, a fifth and a sixth of the
    // screen in.
    EXPECT_EQ(std::pair(form3.Left(), form3.Top()), std::pair(7200 / 4 + 3072.0f, 4200 / 4 + 1920.0f));
    EXPECT_EQ(Misplaced(form3), std::vector<std::string>{});
    form3.CloseFromTitleBar();
  };

  EXPECT_THROW(f.Find("Command1").Click(), ProgramEnded);
  EXPECT_TRUE(f.kit.when_modal.empty());
}

}  // namespace
