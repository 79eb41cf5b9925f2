#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/installation_run.h"
#include "tests/support/fake_system.h"

// The main window as a run sees it: the values of the eight check boxes, one digit each ('1'
// ticked, '2' greyed), the warnings shown, and how long it waits for each registration (the
// window's own run waits not; the unattended run does).
struct FakeHost : engine::RunHost {
  std::int16_t CheckValue(int index) const override { return static_cast<std::int16_t>(boxes.at(index - 1) - '0'); }
  void ShowWarning(const std::string& prompt, const std::string& title) override { warnings.emplace_back(prompt, title); }
  std::optional<std::chrono::milliseconds> RegistrationWaitLimit() const override { return wait_limit; }

  std::string boxes = "11111111";
  std::vector<std::pair<std::string, std::string>> warnings;
  std::optional<std::chrono::milliseconds> wait_limit;
};

// A loaded installer on the in-memory host, with the components in the current folder "c:\ebrona".
struct RunWorld {
  RunWorld() {
    engine::FillCatalogue(state);
    state.ComponentCount = engine::kInstalledComponentCount;
    host.files.AddFolder("c:\\windows\\system32");
  }

  std::string Name(int index) const { return state.ComponentCatalogue[index]; }
  // The content of entry `index`'s source file, a component.
  std::string New(int index) const { return fake::PeImage("new " + Name(index)); }
  void Source(int index, const std::string& date) { host.files.AddFile(Name(index), date, New(index)); }
  void Installed(int index, const std::string& date) {
    host.files.AddFile("c:\\windows\\system32\\" + Name(index), date, "old " + Name(index));
  }
  void Tool() { host.files.AddFile("c:\\windows\\system32\\regsvr32.exe", "20010101", ""); }
  // Where component `index` is: under its name, renamed aside, new beside it; "old", "new" or "-".
  std::string Where(int index) const {
    std::string found;
    for (const std::string end : {"", ".old", ".new"}) {
      const std::string path = "c:\\windows\\system32\\" + Name(index) + end;
      found += std::string(end.empty() ? "" : "|") +
               (!host.files.Exists(path) ? "-" : host.files.File(path).content == New(index) ? "new" : "old");
    }
    return found;
  }

  std::optional<engine::RunValues> Run(const std::string& destination = "c:\\windows\\system32\\",
                                       const std::string& backup = "") {
    return engine::RunInstallationValues(state, destination, backup, window, host.system);
  }

  engine::InstallerState state;
  fake::FakeSystem host;
  FakeHost window;
};

class RunFixture : public ::testing::Test, public RunWorld {
 public:
  using RunWorld::Run;
};

inline std::string Lines(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}
