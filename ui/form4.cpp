#include "ui/form4.h"

#include "engine/installer_state.h"
#include "ui/placement.h"

namespace ui {

namespace {

using enum ControlKind;
using platform::MessageIcon;

const platform::WindowSpec kForm4{
    .name = "Form4", .caption = "Välj/skapa mapp", .client_width = 2790, .client_height = 3870};

// kind              name        caption                            left  top   width height tab
const ControlRow kControls[] = {
    {kDriveList,     Design("Drive1",   "",                                 0,    0,  2790,  315,  3)},
    {kDirectoryList, Design("Dir1",     "",                                 0,  345,  2775, 2115,  2)},
    {kLabel,         Design("Label1",   "Skapa ny mapp i ovan vald mapp",  30, 2640,  2715,  375,  4)},
    {kTextBox,       Design("Text1",    "",                               -15, 2940,  2760,  300,  1)},
    {kButton,        Design("Command1", "OK",                             417, 3390,   855,  360,  0)},
    {kButton,        Design("Command2", "Avbryt",                        1519, 3390,   855,  360,  5)},
};

constexpr const char* kNewPathTitle = "Ny sökväg";
constexpr const char* kNewFolderTitle = "Skapa ny mapp";
constexpr const char* kNameOnly =
    "Välj först i mapplistan var ny mapp ska ligga. Skriv sedan bara mappens namn i rutan.";

// A folder separator in a new folder's name. The name must be a single level below the folder
// chosen in the list. "\" is the Windows separator; "/" is refused the same way because it
// separates folders on POSIX, and Windows accepts it as a separator too, so a name holding it
// would make a folder somewhere other than in the chosen one, or fail with a confusing text.
bool HoldsSeparator(const std::string& name) { return name.find_first_of("\\/") != std::string::npos; }

}  // namespace

Form4::Form4(platform::WindowKit& kit, platform::FileSystem& files, const platform::Window& main_window,
             platform::TextBox& backup_box)
    : kit_(kit),
      files_(files),
      main_window_(main_window),
      backup_box_(backup_box),
      window_(kit.NewWindow(kForm4)),
      controls_(*window_, kControls),
      Drive1(controls_.Get<platform::DriveList>("Drive1")),
      Dir1(controls_.Get<platform::DirectoryList>("Dir1")),
      Label1(controls_.Get<platform::Label>("Label1")),
      Text1(controls_.Get<platform::TextBox>("Text1")),
      Command1(controls_.Get<platform::Button>("Command1")),
      Command2(controls_.Get<platform::Button>("Command2")) {
  Drive1.OnChange([this] { Drive1_Change(); });
  Command1.OnClick([this] { Command1_Click(); });
  Command2.OnClick([this] { Command2_Click(); });
  window_->OnCloseRequest([this] { closed_from_title_bar_ = true; });
}

void Form4::Form_Load() {
  PlaceOverMainWindow(*window_, main_window_);
  // Only a change of drive raises Drive1_Change: when the current drive already is C, the
  // directory list stays on the process's current folder.
  Drive1.SetDrive("c:\\");
}

void Form4::ShowModal() {
  closed_from_title_bar_ = false;
  window_->ShowModal();
}

void Form4::Drive1_Change() {
  platform::Status moved = Dir1.SetPath(Drive1.Drive());
  if (moved.ok()) return;
  kit_.ShowMessage(moved.text(), kNewPathTitle, MessageIcon::kWarning);
  // The directory list still shows the previous folder: going back to its drive raises this
  // handler again, which moves the list to that drive's current folder.
  Drive1.SetDrive(Dir1.Path());
}

void Form4::Command1_Click() {
  std::string chosen_folder = Dir1.Path();
  if (chosen_folder.empty() || chosen_folder.back() != '\\') chosen_folder += '\\';
  const std::string new_name = engine::TrimSpaces(Text1.Text());

  if (!new_name.empty()) {
    if (HoldsSeparator(new_name)) {
      kit_.ShowMessage(kNameOnly, kNewFolderTitle, MessageIcon::kWarning);
      return;
    }
    // Creating the folder is the only step of "OK" that can fail; its failure names the folder.
    const std::string new_folder = chosen_folder + new_name;
    platform::Status made = files_.MakeFolder(new_folder);
    if (!made.ok()) {
      kit_.ShowMessage("Kan inte skapa " + new_folder + ".\r\n" + made.text(), kNewFolderTitle,
                       MessageIcon::kWarning);
      return;
    }
  }

  backup_box_.SetText(chosen_folder + new_name);
  window_->Hide();
}

void Form4::Command2_Click() { window_->Hide(); }

}  // namespace ui
