#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/installation_run.h"
#include "engine/installer_state.h"
#include "platform/system.h"
#include "platform/window_kit.h"
#include "ui/control_table.h"

namespace ui {

class Form4;

// The main window: the component files as check boxes, the destination and backup folder boxes,
// and the buttons "Installera", "Avbryt", "Hjälp" and "Bläddra/skapa mapp". It owns the installer
// state for the whole program run.
class Form2 : public engine::RunHost {
 public:
  Form2(platform::WindowKit& kit, platform::System& system);
  ~Form2() override;

  // Fills the catalogue, places the window, stacks and ticks the check boxes, lines the backup box
  // up with the destination box and proposes the detected system folder. Runs before Show.
  void Form_Load();

  // Shows the window; the focus goes to Text2, the control with the lowest tab index.
  void Show() { window_->Show(); }

  platform::Window& window() { return *window_; }
  const engine::InstallerState& state() const { return state_; }
  engine::InstallerState& state() { return state_; }

  // The check box of catalogue entry `index`, 1 to 8.
  platform::CheckBox& Check1(int index) const { return *check1_.at(static_cast<std::size_t>(index)); }

  // engine::RunHost
  std::int16_t CheckValue(int index) const override { return Check1(index).Value(); }
  void ShowWarning(const std::string& prompt, const std::string& title) override;

 private:
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Form_CloseRequest();

  platform::WindowKit& kit_;
  platform::System& system_;
  engine::InstallerState state_;
  std::unique_ptr<platform::Window> window_;
  Controls controls_;
  std::array<platform::CheckBox*, 9> check1_{};  // indices 1 to 8, as the catalogue's
  std::unique_ptr<Form4> form4_;                  // loaded on the first "Bläddra/skapa mapp"

 public:
  platform::Button& Command1;
  platform::Button& Command2;
  platform::Button& Command3;
  platform::Button& Command4;
  platform::TextBox& Text1;
  platform::TextBox& Text2;
  platform::Label& Label2;
  platform::Label& Label3;
  platform::Label& Label4;
};

}  // namespace ui
