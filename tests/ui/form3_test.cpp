#include <gtest/gtest.h>

#include "tests/support/fake_system.h"
#include "tests/ui/fake_window_kit.h"
#include "ui/form3.h"

namespace {

// The report window's corner lies a quarter of the main window's outer size in from the main
// window's corner, unrounded and not kept on the screen.
TEST(Form3, LoadPlacesTheWindowOverTheMainWindow) {
  struct Case {
    float main_left, main_top, main_width, main_height, left, top;
  };
  fake::FakeFileSystem files;
  fake::FakeWindowKit kit(files);
  for (const Case& c : {Case{1500, 1000, 7200, 4200, 3300, 2050}, Case{15000, 11000, 7200, 4200, 16800, 12050},
                        Case{3072, 1920, 7110 + 90, 3765 + 435, 4872, 2970}, Case{1, 2, 7201, 4203, 1801.25f, 1052.75f}}) {
    fake::FakeWindow main_window(kit, {.name = "Main",
                                       .caption = "Main",
                                       .client_width = c.main_width - fake::FakeWindow::kFrameWidth,
                                       .client_height = c.main_height - fake::FakeWindow::kFrameHeight,
                                       .application_icon = true});
    main_window.SetLeft(c.main_left);
    main_window.SetTop(c.main_top);

    ui::Form3 form3(kit);
    form3.Form_Load(main_window);

    EXPECT_EQ(form3.window().Left(), c.left);
    EXPECT_EQ(form3.window().Top(), c.top);
  }
}

TEST(Form3, HoldsTheReportInAMultiLineBoxWithoutScrollBars) {
  fake::FakeFileSystem files;
  fake::FakeWindowKit kit(files);
  ui::Form3 form3(kit);
  auto* window = kit.Window("Form3");
  const auto& text1 = window->Find<fake::FakeTextBox>("Text1");
  EXPECT_EQ(window->Caption(), "Installationsrapport");
  EXPECT_FALSE(window->Design().application_icon);
  EXPECT_TRUE(text1.Style().multi_line);
  EXPECT_FALSE(text1.Style().scroll_bars);
  EXPECT_EQ(text1.Text(), "");
}

}  // namespace
