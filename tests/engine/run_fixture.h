#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/installation_run.h"
#include "tests/support/fake_system.h"

// The main window as a run sees it: eight check boxes and the warnings shown.
class FakeHost : public engine::RunHost {
 public:
  FakeHost() { values.fill(1); }
  std::int16_t CheckValue(int index) const override { return values.at(index); }
  void ShowWarning(const std::string& prompt, const std::string& title) override {
    warnings.emplace_back(prompt, title);
  }
  void TickOnly(std::initializer_list<int> ticked) {
    values.fill(0);
    for (int index : ticked) values[index] = 1;
  }

  std::array<std::int16_t, 21> values{};
  std::vector<std::pair<std::string, std::string>> warnings;
};

// A loaded installer on the in-memory host, with the components in the current folder "c:\ebrona".
class RunFixture : public ::testing::Test {
 protected:
  RunFixture() {
    engine::FillCatalogue(state);
    state.ComponentCount = engine::kInstalledComponentCount;
    host.files.AddFolder("c:\\windows\\system32");
  }

  std::string Name(int index) const { return state.ComponentCatalogue[index]; }
  void Source(int index, const std::string& date) { host.files.AddFile(Name(index), date, "new " + Name(index)); }
  void Installed(int index, const std::string& date) {
    host.files.AddFile("c:\\windows\\system32\\" + Name(index), date, "old " + Name(index));
  }
  void Tool() { host.files.AddFile("c:\\windows\\system32\\regsvr32.exe", "20010101", ""); }

  std::optional<engine::RunValues> Run(const std::string& destination = "c:\\windows\\system32\\",
                                       const std::string& backup = "") {
    return engine::RunInstallationValues(state, destination, backup, window, host.system);
  }

  engine::InstallerState state;
  fake::FakeSystem host;
  FakeHost window;
};

inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
