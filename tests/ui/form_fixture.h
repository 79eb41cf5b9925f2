#pragma once

#include <memory>

#include "tests/support/fake_system.h"
#include "tests/ui/fake_window_kit.h"
#include "ui/form2.h"

// The main window on the in-memory host: a system folder with the marker file, the components in
// the current folder c:\ebrona, and a 1024 x 768 pixel screen.
struct FormFixture {
  explicit FormFixture(const std::string& current_drive = "c:") : kit(host.files, current_drive) {
    host.files.AddFile("c:\\windows\\sysWOW64\\msvbvm60.dll", "20080414");
  }

  // Creates and loads Form2, then shows it.
  ui::Form2& Start() {
    form2 = std::make_unique<ui::Form2>(kit, host.system);
    form2->Form_Load();
    form2->Show();
    window = kit.Window("Form2");
    return *form2;
  }
  fake::FakeTextBox& Text(const std::string& name) const { return window->Find<fake::FakeTextBox>(name); }
  void Click(const std::string& button) { window->Find<fake::FakeButton>(button).Click(); }

  fake::FakeSystem host;
  fake::FakeWindowKit kit;
  std::unique_ptr<ui::Form2> form2;
  fake::FakeWindow* window = nullptr;
};
