#pragma once

// The promises of platform/window_kit.h, kept alike by every window kit. A kit's test program
// includes this after defining KitDriver: a gtest fixture that makes the kit over files_ on the
// first call of Kit() and does what the interface cannot: act as the user, read the native geometry
// and wait for the window system. The screen has 96 dots per inch: 15 twips make a pixel.
#include <array>
#include <tuple>

namespace {

platform::ControlSpec Design(const char* name, float left, float top, float width, float height, int tab = 0,
                             const char* caption = "") {
  return {name, caption, left, top, width, height, tab, {}, {}, {}};
}

class KitConformance : public KitDriver {
 protected:
  std::unique_ptr<platform::Window> NewWindow(float width = 7110, float height = 3765, bool minimise = false) {
    return Kit().NewWindow({"Form9", "Prov", width, height, false, minimise});
  }
};

// Twips become whole pixels and read back as set while the pixels stand; a window has a fixed
// client area in twips, its outer place and size in twips, read afresh once moved natively.
TEST_F(KitConformance, TwipsBecomeWholePixelsAndReadBackAsSetWhileThePixelsStand) {
  auto window = NewWindow();
  for (auto [twips, pixels] : {std::pair{210.0f, 14}, {-15.0f, -1}, {22.0f, 1}, {23.0f, 2}}) {
    platform::Button& button = window->AddButton(Design("Command1", twips, 0, 1500, 375));
    EXPECT_EQ(ControlPixels(*window, "Command1"), (std::pair{pixels, pixels + 100})) << twips;
    button.SetTop(375.5f);
    EXPECT_EQ(std::pair(button.Left(), button.Top()), std::pair(twips, 375.5f));
    window = NewWindow();
  }
  auto fixed = NewWindow(7110, 3765, true);
  EXPECT_EQ(ClientPixels(*fixed), (std::pair{474, 251}));
  EXPECT_EQ(std::tuple(Resizable(*fixed), HasMinimiseButton(*window), HasMinimiseButton(*fixed)),
            std::tuple(false, false, true));
  fixed->SetLeft(3300.25f);
  fixed->SetTop(1234.5f);
  fixed->Show();
  WaitShown(*fixed);
  EXPECT_EQ(std::pair(fixed->Left(), fixed->Top()), std::pair(3300.25f, 1234.5f));
  const std::array<int, 3> outer = OuterPixels(*fixed);  // left, width, height
  EXPECT_EQ(std::tuple(fixed->Width(), fixed->Height(), outer[0]), std::tuple(outer[1] * 15.0f, outer[2] * 15.0f, 220));
  MoveNatively(*fixed, 101, 57);
  EXPECT_EQ(std::pair(fixed->Left(), fixed->Top()), std::pair(1515.0f, 855.0f));
}

// The focus starts at the lowest tab index that takes it, Tab follows the indices and Enter presses
// the focused button; a modal showing blocks the other windows until it is hidden or closed by the
// title bar (hidden after the close handler), and a later showing keeps the focus where it was.
// Screen readers name a box by its caption, and another by its window's caption.
TEST_F(KitConformance, TabOrderFocusAndModalShowing) {
  auto window = NewWindow();
  platform::Button& browse = window->AddButton(Design("Command4", 4950, 1860, 1890, 270, 3));
  window->AddCheckBox(Design("Check1_1", 210, 645, 2055, 375, 2));
  platform::Label& caption = window->AddLabel(Design("Label2", 2325, 870, 1125, 285, 0, "Spara kopior av ö"));
  window->SetCaptionOf(window->AddTextBox(Design("Text1", 3765, 795, 3060, 285, 4)), caption);
  platform::TextBox& text2 = window->AddTextBox(Design("Text2", 3765, 1470, 3075, 285, 1));
  window->NameAfterWindow(text2);
  EXPECT_EQ(AccessibleName(*window, "Text1") + "|" + AccessibleName(*window, "Text2"), "Spara kopior av ö|Prov");
  int clicks = 0;
  browse.OnClick([&] { ++clicks; });
  window->Show();
  WaitShown(*window);
  EXPECT_TRUE(text2.HasFocus());
  std::vector<std::string> visited;
  for (int i = 0; i < 4; ++i) visited.push_back((Press(kTab), Focused()));
  EXPECT_EQ(visited, (std::vector<std::string>{"Check1_1", "Command4", "Text1", "Text2"}));
  browse.SetFocus();
  Press(kEnter);
  EXPECT_EQ(clicks, 1);
  for (bool by_title_bar : {false, true}) {
    auto chooser = NewWindow(2790, 3870);
    int close_requests = 0;
    bool blocked = false;
    chooser->OnCloseRequest([&] { close_requests += chooser->IsVisible() ? 1 : 100; });
    Soon([&] {
      blocked = !TakesInput(*window);
      by_title_bar ? CloseByTitleBar(*chooser) : chooser->Hide();
    });
    chooser->ShowModal();
    EXPECT_EQ(close_requests, by_title_bar ? 1 : 0);
    EXPECT_TRUE(blocked && !chooser->IsVisible() && TakesInput(*window)) << by_title_bar;
    WaitShown(*window);
    EXPECT_TRUE(browse.HasFocus()) << by_title_bar;
  }
  window->Hide();
  window->Show();
  WaitShown(*window);
  EXPECT_TRUE(browse.HasFocus()) << "a later showing keeps the focus";
}

// Check box values 0, 1 and 2, each clicked once: a click only ticks or unticks. A long multi-line
// text with CR LF and TAB reads back whole.
TEST_F(KitConformance, CheckBoxValuesAndMultiLineText) {
  auto window = NewWindow();
  platform::CheckBox& box = window->AddCheckBox(Design("Check1_3", 210, 1320, 2055, 375));
  for (auto [value, after_click] : {std::pair<std::int16_t, std::int16_t>{0, 1}, {1, 0}, {2, 1}}) {
    box.SetValue(value);
    EXPECT_EQ(box.Value(), value);
    ClickBox(*window, "Check1_3");
    EXPECT_EQ(box.Value(), after_click) << "clicked at " << value;
  }
  platform::TextBox& report = window->AddTextBox(Design("Text1", 15, 45, 6525, 3000), {true, false});
  std::string text = "Rad ett\r\n\tåäö ÅÄÖ\r\n\r\n";  // longer than a Windows edit control takes by default
  while (text.size() < 40000) text += "comdlg32.ocx\t20240105\tinstallerad\r\n";
  report.SetText(text);
  EXPECT_EQ(report.Text(), text);
  EXPECT_TRUE(MultiLineWithoutScrollBars(*window, "Text1"));
}

class FolderListsConformance : public KitConformance {
 protected:
  bool Arrange() {
    for (const char* folder : {"c:\\ebrona\\arkiv\\2024", "c:\\ebrona\\kopior", "d:\\kopior"}) files_.AddFolder(folder);
    for (const char* drive : {"d:", "e:"}) files_.AddDrive(drive);
    files_.InjectFailure(fake::Op::kDriveCurrentFolder, "e:", "Enheten är inte klar.");
    files_.InjectFailure(fake::Op::kSubFolders, "d:\\kopior", "Åtkomst nekad.");
    return true;
  }
  const bool arranged_ = Arrange();  // before the kit and the lists are made
  std::unique_ptr<platform::Window> window_ = NewWindow(2790, 3870);
  platform::DriveList& drives_ = window_->AddDriveList(Design("Drive1", 0, 0, 2790, 315, 3));
  platform::DirectoryList& folders_ = window_->AddDirectoryList(Design("Dir1", 0, 345, 2775, 2115, 2));
};

// Every change raises the handler: by the program, by the user, and by the handler itself going
// back to the drive shown; the same drive again raises nothing, an unknown one fails.
TEST_F(FolderListsConformance, DriveListRaisesChangeOnEveryChangeAlsoFromInsideTheHandler) {
  std::vector<std::string> seen;
  drives_.OnChange([&] {
    seen.push_back(drives_.Drive());
    if (!folders_.SetPath(drives_.Drive()).ok()) {
      ASSERT_TRUE(drives_.SetDrive(folders_.Path()).ok());
    }
  });
  EXPECT_EQ(drives_.Drive(), "c:");
  for (auto [path, ok] : {std::pair{"c:\\", true}, {"D:\\kopior", true}, {"x:", false}, {"e:", true}}) {
    EXPECT_EQ(drives_.SetDrive(path).ok(), ok) << path;
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"d:", "e:", "d:"}));
  EXPECT_EQ(drives_.Drive() + " " + folders_.Path(), "d: d:\\");
  window_->Show();
  WaitShown(*window_);
  UserPicksDriveAbove(*window_);
  EXPECT_EQ(seen.back(), "c:");
}

// Highlighting a row moves nothing; a double-click or Enter opens it, and the opened folder is the
// highlighted row ("> "). A bare drive means its current folder; a failure keeps the folder and its rows.
TEST_F(FolderListsConformance, DirectoryListOpensOnlyOnDoubleClickOrEnterAndKeepsItsFolderOnFailure) {
  using Rows = std::vector<std::string>;
  window_->Show();
  WaitShown(*window_);
  EXPECT_EQ(FolderRows(*window_), (Rows{"c:\\", "> ebrona", "arkiv", "kopior"}));
  Highlight(*window_, 2);
  EXPECT_EQ(folders_.Path(), "c:\\ebrona");
  DoubleClick(*window_, 2);
  EXPECT_EQ(FolderRows(*window_), (Rows{"c:\\", "ebrona", "> arkiv", "2024"}));
  Highlight(*window_, 0);
  folders_.SetFocus();
  Press(kEnter);
  EXPECT_EQ(FolderRows(*window_), (Rows{"> c:\\", "ebrona"}));
  for (auto [path, failure, after] : {std::tuple{"d:", "", "d:\\"}, {"c:\\ebrona\\", "", "c:\\ebrona"},
                                      {"e:", "Enheten är inte klar.", "c:\\ebrona"},
                                      {"d:\\kopior", "Åtkomst nekad.", "c:\\ebrona"}}) {
    EXPECT_EQ(folders_.SetPath(path).text(), failure) << path;
    EXPECT_EQ(folders_.Path(), after) << path;
  }
  EXPECT_EQ(FolderRows(*window_), (Rows{"c:\\", "> ebrona", "arkiv", "kopior"}));
}

}  // namespace
