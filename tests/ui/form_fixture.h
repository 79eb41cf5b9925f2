#pragma once

#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

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
  void Start() {
    form2 = std::make_unique<ui::Form2>(kit, host.system);
    form2->Form_Load();
    form2->Show();
    window = &dynamic_cast<fake::FakeWindow&>(form2->window());
  }
  fake::FakeControl& Find(const std::string& name) const { return window->Find(name); }

  fake::FakeSystem host;
  fake::FakeWindowKit kit;
  std::unique_ptr<ui::Form2> form2;
  fake::FakeWindow* window = nullptr;
};

// Controls that reach outside their window's client area, and pairs of controls that overlap.
inline std::vector<std::string> Misplaced(const fake::FakeWindow& window) {
  std::vector<std::string> found;
  const float width = window.design.client_width, height = window.design.client_height;
  for (auto a = window.controls.begin(); a != window.controls.end(); ++a) {
    const platform::ControlSpec& p = a->second->design;
    if (std::min(p.left, p.top) < 0 || p.left + p.width > width || p.top + p.height > height) found.push_back(p.name);
    for (auto b = std::next(a); b != window.controls.end(); ++b) {
      const platform::ControlSpec& q = b->second->design;
      if (p.left < q.left + q.width && q.left < p.left + p.width && p.top < q.top + q.height &&
          q.top < p.top + p.height)
        found.push_back(p.name + "|" + q.name);
    }
  }
  return found;
}
