#include <gtest/gtest.h>

#include "tests/ui/form_fixture.h"

namespace {

using namespace fake;

// Opens the chooser with "Bläddra/skapa mapp" and runs `act` inside it. When `act` leaves the
// chooser open (a refusal), "Avbryt" hides it so the modal showing returns.
void InChooser(FormFixture& f, const std::function<void(FakeWindow&)>& act) {
  f.kit.when_modal["Form4"] = [&](FakeWindow& form4) {
    act(form4);
    if (form4.IsVisible()) form4.Find("Command2").Click();
  };
  f.Find("Command4").Click();
  EXPECT_TRUE(f.kit.when_modal.empty());
}

// What "OK" does with the name typed for a new folder: the chosen folder goes into the backup box
// (with a new folder made in it), or the chooser stays open with a warning.
TEST(Form4, OkOutcomes) {
  const std::string warning = "Skapa ny mapp (warning): ";
  const std::string name_only =
      warning + "Välj först i mapplistan var ny mapp ska ligga. Skriv sedan bara mappens namn i rutan.";
  const std::string kept = "d:\\earlier";
  const struct {
    std::string typed, text2_after;
    std::vector<std::string> messages, folders_made;  // a warning keeps the chooser open
    const char* open_first = nullptr;
  } cases[] = {
      {"   ", "c:\\ebrona\\", {}, {}},
      {"  Kopior 2 ", "c:\\ebrona\\Kopior 2", {}, {"c:\\ebrona\\kopior 2"}},
      {"Nytt", "c:\\Nytt", {}, {"c:\\nytt"}, "c:\\"},  // no doubled backslash at a root
      {"a\\b", kept, {name_only}, {}},
      {"a/b", kept, {name_only}, {}},
      {"Finns", kept, {warning + "Kan inte skapa c:\\ebrona\\Finns.\r\n" + FakeFileSystem::kExists}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("typed '" + c.typed + "'");
    FormFixture f;
    f.host.files.AddFolder("c:\\ebrona\\Finns");
    f.Start();
    f.Find("Text2").text = kept;

    bool open_after_ok = false;
    InChooser(f, [&](FakeWindow& form4) {
      if (c.open_first != nullptr) form4.Find("Dir1").Open(c.open_first);
      form4.Find("Text1").text = c.typed;
      form4.Find("Command1").Click();
      open_after_ok = form4.IsVisible();
    });

    EXPECT_EQ(open_after_ok, !c.messages.empty());
    EXPECT_EQ(f.Find("Text2").text, c.text2_after);
    EXPECT_EQ(f.kit.messages, c.messages);
    EXPECT_EQ(f.host.files.FoldersMade(), c.folders_made);
  }
}

TEST(Form4, HidingKeepsTheChooserWhileClosingItDiscardsIt) {
  FormFixture f;
  f.kit.screen_width = 15361, f.kit.screen_height = 11521;  // the main window off whole twips, unrounded
  f.host.files.AddFolder("c:\\ebrona\\sub");
  f.Start();

  InChooser(f, [](FakeWindow& form4) {
    form4.Find("Dir1").Open("c:\\ebrona\\sub");
    form4.Find("Text1").text = "half typed";
    form4.SetLeft(100);
    form4.Find("Command2").Click();  // Avbryt
  });
  InChooser(f, [](FakeWindow& form4) {
    EXPECT_EQ(std::tuple(form4.Find("Dir1").Path(), form4.Find("Text1").text, form4.Left()),
              std::tuple("c:\\ebrona\\sub", "half typed", 100.0f));
    form4.CloseFromTitleBar();
  });
  EXPECT_EQ(f.Find("Text2").text, "");

  InChooser(f, [](FakeWindow& form4) {
    EXPECT_EQ(std::tuple(form4.Find("Dir1").Path(), form4.Find("Text1").text, form4.focused),
              std::tuple("c:\\ebrona", "", "Command1"));
    EXPECT_EQ(std::pair(form4.Left(), form4.Top()), std::pair(7200 / 4 + 15361 / 5.0f, 4200 / 4 + 11521 / 6.0f));
    // The name box starts left of the window and reaches into the caption above it.
    EXPECT_EQ(Misplaced(form4), (std::vector<std::string>{"Label1|Text1", "Text1"}));
  });
}

// Started on drive D, the chooser still opens on drive C. A drive without a medium is reported and
// the lists go back to the drive of the folder shown, on that drive's current folder.
TEST(Form4, ADriveWithoutAMediumIsReportedAndTheListsReturnToTheDriveShown) {
  FormFixture f("d:");
  f.host.files.AddDrive("d:");
  f.host.files.AddDrive("e:");
  f.host.files.InjectFailure(Op::kDriveCurrentFolder, "e:", "The device is not ready.");
  f.Start();

  InChooser(f, [](FakeWindow& form4) {
    FakeControl& drive1 = form4.Find("Drive1");
    FakeControl& dir1 = form4.Find("Dir1");
    EXPECT_EQ(drive1.Drive() + " " + dir1.Path(), "c: c:\\ebrona");
    drive1.SetDrive("d:");
    dir1.Open("d:\\kopior");
    drive1.SetDrive("e:");
    EXPECT_EQ(drive1.Drive() + " " + dir1.Path(), "d: d:\\");
  });
  EXPECT_EQ(f.kit.messages, std::vector<std::string>{"Ny sökväg (warning): The device is not ready."});
}

}  // namespace
