#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

namespace {

using namespace fake;

constexpr const char* kNameOnly =
    "Välj först i mapplistan var ny mapp ska ligga. Skriv sedan bara mappens namn i rutan.";

// Opens the chooser with "Bläddra/skapa mapp" and runs `act` inside it. When `act` leaves the
// chooser open (a refusal), "Avbryt" hides it so the modal showing returns.
void InChooser(FormFixture& f, const std::function<void(FakeWindow&)>& act) {
  f.kit.WhenModal("Form4", [&](FakeWindow& form4) {
    act(form4);
    if (form4.IsVisible()) form4.Find<FakeButton>("Command2").Click();
  });
  f.Click("Command4");
}

void TypeAndConfirm(FakeWindow& form4, const std::string& name) {
  form4.Find<FakeTextBox>("Text1").SetText(name);
  form4.Find<FakeButton>("Command1").Click();
}

TEST(Form4, OkOutcomes) {
  struct Case {
    std::string typed, text2_after;
    bool stays_open;
    std::string message, folder_made;  // empty: none
    const char* open_first = nullptr;
  };
  const std::string kept = "d:\\earlier";
  const Case cases[] = {
      {"", "c:\\ebrona\\", false, "", ""},
      {"   ", "c:\\ebrona\\", false, "", ""},
      {"  Kopior 2 ", "c:\\ebrona\\Kopior 2", false, "", "c:\\ebrona\\Kopior 2"},
      {"Nytt", "c:\\Nytt", false, "", "c:\\Nytt", "c:\\"},  // no doubled backslash at a root
      {"a\\b", kept, true, kNameOnly, ""},
      {"\\Kopior", kept, true, kNameOnly, ""},
      {"a/b", kept, true, kNameOnly, ""},
      {"Finns", kept, true, "Kan inte skapa c:\\ebrona\\Finns.\r\n" + std::string(FakeFileSystem::kExists), ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("typed '" + c.typed + "'");
    FormFixture f;
    f.host.files.AddFolder("c:\\ebrona\\Finns");
    f.Start();
    f.Text("Text2").SetText(kept);

    bool open_after_ok = false;
    InChooser(f, [&](FakeWindow& form4) {
      if (c.open_first != nullptr) form4.Find<FakeDirectoryList>("Dir1").Open(c.open_first);
      TypeAndConfirm(form4, c.typed);
      open_after_ok = form4.IsVisible();
    });

    EXPECT_EQ(open_after_ok, c.stays_open);
    EXPECT_EQ(f.Text("Text2").Text(), c.text2_after);
    ASSERT_EQ(f.kit.messages.size(), c.message.empty() ? 0u : 1u);
    if (!c.message.empty()) {
      EXPECT_EQ(f.kit.messages[0].prompt + "|" + f.kit.messages[0].title, c.message + "|Skapa ny mapp");
      EXPECT_EQ(f.kit.messages[0].icon, platform::MessageIcon::kWarning);
    }
    EXPECT_EQ(f.host.files.FoldersMade().size(), c.folder_made.empty() ? 0u : 1u);
    EXPECT_TRUE(c.folder_made.empty() || f.host.files.IsFolder(c.folder_made));
  }
}

TEST(Form4, SecondOkAfterCreatingFailsAndKeepsTheFirstResult) {
  FormFixture f;
  f.Start();
  InChooser(f, [&](FakeWindow& form4) { TypeAndConfirm(form4, "Kopior"); });
  InChooser(f, [&](FakeWindow& form4) {
    form4.Find<FakeButton>("Command1").Click();
    EXPECT_TRUE(form4.IsVisible());
  });
  EXPECT_EQ(f.Text("Text2").Text(), "c:\\ebrona\\Kopior");
  ASSERT_EQ(f.kit.messages.size(), 1u);
  EXPECT_EQ(f.kit.messages[0].prompt.rfind("Kan inte skapa c:\\ebrona\\Kopior.\r\n", 0), 0u);
}

TEST(Form4, HidingKeepsTheChooserWhileClosingItDiscardsIt) {
  FormFixture f;
  f.kit.screen_width = 15361, f.kit.screen_height = 11521;  // the main window off whole twips, unrounded
  f.host.files.AddFolder("c:\\ebrona\\sub");
  f.Start();
  f.Text("Text2").SetText("before");

  InChooser(f, [&](FakeWindow& form4) {
    form4.Find<FakeDirectoryList>("Dir1").Open("c:\\ebrona\\sub");
    form4.Find<FakeTextBox>("Text1").SetText("half typed");
    form4.SetLeft(100);
    form4.Find<FakeButton>("Command2").Click();  // Avbryt
  });
  InChooser(f, [&](FakeWindow& form4) {
    EXPECT_EQ(form4.Find<FakeDirectoryList>("Dir1").Path(), "c:\\ebrona\\sub");
    EXPECT_EQ(form4.Find<FakeTextBox>("Text1").Text(), "half typed");
    EXPECT_EQ(form4.Left(), 100);
    form4.CloseFromTitleBar();
  });
  EXPECT_EQ(f.kit.Window("Form4"), nullptr);
  EXPECT_EQ(f.Text("Text2").Text(), "before");

  InChooser(f, [&](FakeWindow& form4) {
    EXPECT_EQ(form4.Find<FakeTextBox>("Text1").Text(), "");
    EXPECT_EQ(form4.Find<FakeDirectoryList>("Dir1").Path(), "c:\\ebrona");
    EXPECT_EQ(f.window->Left(), 15361 / 5.0f);
    EXPECT_EQ(form4.Left(), 7200 / 4 + 15361 / 5.0f);
    EXPECT_EQ(form4.Top(), 4200 / 4 + 11521 / 6.0f);
    EXPECT_EQ(form4.focused, "Command1");
    form4.Find<FakeButton>("Command1").Click();
  });
  EXPECT_EQ(f.Text("Text2").Text(), "c:\\ebrona\\");
}

// Started on drive D, the chooser still opens on drive C.
TEST(Form4, ADriveWithoutAMediumIsReportedAndTheListReturnsToTheFolderShown) {
  FormFixture f("d:");
  f.host.files.AddDrive("d:");
  f.host.files.AddDrive("e:");
  f.host.files.InjectFailure(Op::kDriveCurrentFolder, "e:", "The device is not ready.");
  f.host.files.AddFolder("d:\\kopior");
  f.Start();

  InChooser(f, [&](FakeWindow& form4) {
    auto& drive1 = form4.Find<FakeDriveList>("Drive1");
    auto& dir1 = form4.Find<FakeDirectoryList>("Dir1");
    EXPECT_EQ(drive1.Drive(), "c:");
    EXPECT_EQ(dir1.Path(), "c:\\ebrona");
    EXPECT_TRUE(drive1.SetDrive("d:").ok());
    EXPECT_EQ(dir1.Path(), "d:\\");
    dir1.Open("d:\\kopior");
    EXPECT_TRUE(drive1.SetDrive("e:").ok());
    EXPECT_EQ(drive1.Drive(), "d:");
    // Back on drive D the list shows that drive's current folder, not the folder it showed.
    EXPECT_EQ(dir1.Path(), "d:\\");
  });

  ASSERT_EQ(f.kit.messages.size(), 1u);
  EXPECT_EQ(f.kit.messages[0].prompt + "|" + f.kit.messages[0].title, "The device is not ready.|Ny sökväg");
  EXPECT_EQ(f.kit.messages[0].icon, platform::MessageIcon::kWarning);
}

}  // namespace
