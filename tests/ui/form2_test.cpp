#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

namespace {

using fake::FakeCheckBox;
using fake::FakeLabel;
using fake::FakeTextBox;
using fake::FakeWindow;
using platform::MessageIcon;

constexpr const char* kComponents[] = {"comdlg32.ocx", "msflxgrd.ocx", "msmapi32.ocx", "tabctl32.ocx",
                                       "msinet.ocx",   "riched32.dll", "richtx32.ocx", "pdf_itb.ocx"};

TEST(Form2, LoadStacksCaptionsAndTicksTheBoxesAndProposesTheSystemFolder) {
  FormFixture f;
  ui::Form2& form2 = f.Start();

  EXPECT_EQ(f.window->Caption(), "Installera systemfiler för Ebronaprogrammen");
  EXPECT_TRUE(f.window->Design().application_icon);
  EXPECT_EQ(f.window->Width(), 7110 + FakeWindow::kFrameWidth);
  for (int i = 1; i <= 8; ++i) {
    SCOPED_TRACE(i);
    const auto& box = f.Control<FakeCheckBox>("Check1_" + std::to_string(i));
    EXPECT_EQ(box.Caption(), kComponents[i - 1]);
    EXPECT_EQ(box.Value(), 1);
    EXPECT_EQ(box.Left(), 210);
    EXPECT_EQ(box.Width(), 2055);
    EXPECT_EQ(box.Height(), 375);
    EXPECT_EQ(box.Top(), 645 + 375 * (i - 1));
  }
  const auto& text1 = f.Control<FakeTextBox>("Text1");
  const auto& text2 = f.Control<FakeTextBox>("Text2");
  EXPECT_EQ(text2.Left(), 3765);
  EXPECT_EQ(text2.Width(), 3060);
  EXPECT_EQ(text2.Left(), text1.Left());
  EXPECT_EQ(text2.Width(), text1.Width());
  EXPECT_EQ(text1.Text(), "c:\\windows\\sysWOW64\\");
  EXPECT_EQ(text2.Text(), "");

  EXPECT_EQ(form2.state().ComponentCount, 8);
  EXPECT_EQ(form2.state().SystemFolder, "c:\\windows\\sysWOW64\\");
  EXPECT_EQ(form2.state().SourceFolder, "");
  EXPECT_TRUE(f.window->IsVisible());
}

TEST(Form2, IsPlacedAtAFifthOfTheScreenWidthAndASixthOfItsHeight) {
  struct Case {
    float screen_width, screen_height, left, top;
  };
  for (const Case& c : {Case{15360, 11520, 3072, 1920}, Case{19200, 10800, 3840, 1800},
                        Case{20490, 11520, 20490.0f / 5.0f, 1920}}) {
    FormFixture f;
    f.kit.SetScreen(c.screen_width, c.screen_height);
    f.Start();
    EXPECT_EQ(f.window->Left(), c.left) << c.screen_width;
    EXPECT_EQ(f.window->Top(), c.top) << c.screen_height;
  }
}

TEST(Form2, LabelsAreBoldWithTheirDesignedColours) {
  FormFixture f;
  f.Start();
  for (const char* name : {"Label2", "Label3", "Label4"}) {
    const platform::ControlSpec& design = f.Control<FakeLabel>(name).Design();
    EXPECT_EQ(design.font.family, "MS Sans Serif") << name;
    EXPECT_EQ(design.font.points, 8.25f) << name;
    EXPECT_TRUE(design.font.bold) << name;
    EXPECT_EQ(design.foreground.kind, platform::Colour::Kind::kWindowText) << name;
  }
  const platform::Colour grey = f.Control<FakeLabel>("Label3").Design().background;
  EXPECT_EQ(grey.kind, platform::Colour::Kind::kRgb);
  EXPECT_EQ(grey.red + grey.green + grey.blue, 3 * 224);
  EXPECT_EQ(f.Control<FakeLabel>("Label4").Design().background.kind, platform::Colour::Kind::kWindowBackground);
  EXPECT_EQ(f.Control<FakeTextBox>("Text1").Design().background.red, 255);
  EXPECT_EQ(f.Control<FakeLabel>("Label3").Caption(), "Spara kopior av överskrivna filer i");
}

TEST(Form2, TabOrderRunsFromText2ToCommand4AndTheFocusStartsInText2) {
  FormFixture f;
  f.Start();
  const std::vector<std::string> expected{"Text2",    "Check1_8", "Text1",    "Command3", "Command2",
                                          "Command1", "Check1_7", "Check1_6", "Check1_5", "Check1_4",
                                          "Check1_3", "Check1_2", "Check1_1", "Command4"};
  EXPECT_EQ(f.window->TabOrder(), expected);
  EXPECT_EQ(f.window->Focused(), "Text2");
}

TEST(Form2, HelpShowsTheFourParagraphsEveryTime) {
  FormFixture f;
  f.Start();
  f.Click("Command3");
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
  ASSERT_EQ(f.kit.Messages().size(), 2u);
  for (const fake::Message& message : f.kit.Messages()) {
    EXPECT_EQ(message.prompt, expected);
    EXPECT_EQ(message.title, "Hjälp");
    EXPECT_EQ(message.icon, MessageIcon::kInformation);
  }
}

TEST(Form2, AnEmptyDestinationIsRefusedAndTheWindowStaysOpen) {
  FormFixture f;
  f.host.files = fake::FakeFileSystem();  // no system folder found
  f.Start();
  ASSERT_EQ(f.Control<FakeTextBox>("Text1").Text(), "");

  EXPECT_NO_THROW(f.Click("Command1"));

  ASSERT_EQ(f.kit.Messages().size(), 1u);
  EXPECT_EQ(f.kit.Messages()[0].prompt, "Ange destinationsmapp för systemfiler.");
  EXPECT_EQ(f.kit.Messages()[0].icon, MessageIcon::kWarning);
  EXPECT_EQ(f.kit.Created("Form3"), 0);
  EXPECT_TRUE(f.host.files.Copies().empty());
  EXPECT_TRUE(f.window->IsVisible());
}

TEST(Form2, InstallationEndsWithTheReportOverTheMainWindowAndThenTheProgramEnds) {
  FormFixture f;
  f.host.files.AddFile("c:\\windows\\sysWOW64\\regsvr32.exe", "20080414");
  f.host.files.AddFile("c:\\windows\\sysWOW64\\msinet.ocx", "20010101");
  for (const char* name : kComponents) f.host.files.AddFile(name, "20240301");
  f.Start();
  f.Control<FakeCheckBox>("Check1_2").SetValue(0);
  f.Control<FakeCheckBox>("Check1_3").SetValue(2);  // greyed counts as not ticked

  std::string report;
  bool report_had_focus = false;
  float left = 0, top = 0;
  f.kit.WhenModal("Form3", [&](FakeWindow& form3) {
    const auto& text1 = form3.Find<FakeTextBox>("Text1");
    report = text1.Text();
    report_had_focus = text1.HasFocus();
    left = form3.Left(), top = form3.Top();
    form3.CloseFromTitleBar();
  });

  EXPECT_THROW(f.Click("Command1"), fake::ProgramEnded);

  EXPECT_NE(report.find("comdlg32.ocx  20240301  \tInlagd"), std::string::npos) << report;
  EXPECT_NE(report.find("msinet.ocx  20240301  \tBefintlig fil: 20010101  \tInlagd"), std::string::npos) << report;
  EXPECT_EQ(report.find("msflxgrd.ocx"), std::string::npos) << report;
  EXPECT_EQ(report.find("msmapi32.ocx"), std::string::npos) << report;
  EXPECT_EQ(f.host.files.File("c:\\windows\\sysWOW64\\msinet.ocx").date, "20240301");
  EXPECT_FALSE(f.host.files.Exists("c:\\windows\\sysWOW64\\msflxgrd.ocx"));
  EXPECT_EQ(f.host.processes.Started().size(), 6u);
  EXPECT_TRUE(report_had_focus);
  // Form2 stands at (3072, 1920) with an outer size of 7200 x 4200.
  EXPECT_EQ(left, 7200 / 4 + 3072);
  EXPECT_EQ(top, 4200 / 4 + 1920);
}

TEST(Form2, AvbrytAndClosingTheWindowEndTheProgramAlsoAfterTheChooserWasHidden) {
  struct Case {
    const char* how;
    bool open_chooser_first;
  };
  for (const Case& c : {Case{"Avbryt", false}, Case{"close box", false}, Case{"Avbryt", true},
                        Case{"close box", true}}) {
    SCOPED_TRACE(std::string(c.how) + (c.open_chooser_first ? " after the chooser" : ""));
    FormFixture f;
    f.Start();
    f.Control<FakeTextBox>("Text2").SetText("c:\\kopior");
    if (c.open_chooser_first) {
      f.kit.WhenModal("Form4", [](FakeWindow& form4) { form4.Find<fake::FakeButton>("Command2").Click(); });
      f.Click("Command4");
    }
    if (std::string(c.how) == "Avbryt") {
      EXPECT_THROW(f.Click("Command2"), fake::ProgramEnded);
    } else {
      EXPECT_THROW(f.window->CloseFromTitleBar(), fake::ProgramEnded);
    }
    EXPECT_TRUE(f.host.files.Copies().empty());
    EXPECT_TRUE(f.host.files.FoldersMade().empty());
  }
}

}  // namespace
