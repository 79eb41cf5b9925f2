#include "ui/form2.h"

#include "engine/system_folder_detection.h"
#include "ui/form3.h"
#include "ui/form4.h"

namespace ui {

namespace {

using enum ControlKind;
using platform::Colour;
using platform::MessageIcon;

const platform::WindowSpec kForm2{.name = "Form2",
                                  .caption = "Installera systemfiler för Ebronaprogrammen",
                                  .client_width = 7110,
                                  .client_height = 3765,
                                  .application_icon = true,
                                  .minimise_button = true};

const platform::Font kLabelFont{.family = "MS Sans Serif", .points = 8.25f, .bold = true};

// The looks of the table's rows: check boxes with text in the window-text colour, the destination
// box on white, the two folder captions on light grey and the heading on the window background,
// all three labels in bold.
const Look kCheckBoxLook{Colour::Default(), Colour::WindowText(), {}};
const Look kWhiteBox{Colour::Rgb(255, 255, 255), Colour::Default(), {}};
const Look kFolderCaption{Colour::Rgb(224, 224, 224), Colour::WindowText(), kLabelFont};
const Look kHeading{Colour::WindowBackground(), Colour::WindowText(), kLabelFont};

// In the designer's creation order. Check boxes are restacked and captioned by Form_Load. The two
// folder captions name their boxes for screen readers.
// kind        name        caption                                left  top   width height tab  look            caption of
const ControlRow kControls[] = {
    {kButton,   Design("Command4", "Bläddra/skapa mapp",                  4950, 1860, 1890,  270, 16)},
    {kCheckBox, Design("Check1_1", "",                                     210,  645, 2055,  375, 12, kCheckBoxLook)},
    {kCheckBox, Design("Check1_2", "",                                     210,  975, 1980,  375, 11, kCheckBoxLook)},
    {kCheckBox, Design("Check1_3", "",                                     210, 1320, 2055,  375, 10, kCheckBoxLook)},
    {kCheckBox, Design("Check1_4", "",                                     210, 1665, 1980,  375,  9, kCheckBoxLook)},
    {kCheckBox, Design("Check1_5", "",                                     210, 2070, 1980,  375,  8, kCheckBoxLook)},
    {kCheckBox, Design("Check1_6", "",                                     210, 2460, 1980,  375,  7, kCheckBoxLook)},
    {kCheckBox, Design("Check1_7", "",                                     210, 2835, 1980,  375,  6, kCheckBoxLook)},
    {kButton,   Design("Command1", "Installera",                          3375, 3210, 1065,  375,  5)},
    {kButton,   Design("Command2", "Avbryt",                              4740, 3210,  945,  375,  4)},
    {kButton,   Design("Command3", "Hjälp",                               5985, 3210,  945,  375,  3)},
    {kTextBox,  Design("Text1",    "",                                    3765,  795, 3060,  285,  2, kWhiteBox)},
    {kCheckBox, Design("Check1_8", "",                                     210, 3255, 2070,  375,  1, kCheckBoxLook)},
    {kTextBox,  Design("Text2",    "",                                    3765, 1470, 3075,  285,  0)},
    {kLabel,    Design("Label2",   "Installera i",                        2325,  870, 1125,  285, 15, kFolderCaption), "Text1"},
    {kLabel,    Design("Label3",   "Spara kopior av överskrivna filer i", 2310, 1350, 1290,  675, 14, kFolderCaption), "Text2"},
    {kLabel,    Design("Label4",   "Installera",                           210,  270, 2115,  330, 13, kHeading)},
};

const std::string kHelpText =
    "Programmet installerar de dll- och ocx-filer som är speciella för Ebronaprogrammen. "
    "Redan inlagda filer skrivs bara över om de är av äldre datum. "
    "Du kan välja att ta kopior på de filer som kommer att skrivas över. Använd i så fall knappen "
    "Bläddra/skapa mapp för att välja mapp eller skapa ny mapp."
    "\r\n\r\n"
    "Behörighet kan krävas för att utföra installationen. Tala med den tekniskt ansvarige om "
    "installationen misslyckas. Kopiera och skriv ut den rapport som visas."
    "\r\n\r\n"
    "På Windows ber programmet självt om administratörsbehörighet när det startar. UAC (User Account "
    "Control, användarkontroll) ska inte stängas av."
    "\r\n\r\n"
    "För datorer med 64-bitars Windows ska installation göras i windows\\sysWOW64, som bör vara den "
    "mapp som föreslås.";

}  // namespace

Form2::Form2(platform::WindowKit& kit, platform::System& system)
    : kit_(kit),
      system_(system),
      window_(kit.NewWindow(kForm2)),
      controls_(*window_, kControls),
      Command1(controls_.Get<platform::Button>("Command1")),
      Command2(controls_.Get<platform::Button>("Command2")),
      Command3(controls_.Get<platform::Button>("Command3")),
      Command4(controls_.Get<platform::Button>("Command4")),
      Text1(controls_.Get<platform::TextBox>("Text1")),
      Text2(controls_.Get<platform::TextBox>("Text2")),
      Label2(controls_.Get<platform::Label>("Label2")),
      Label3(controls_.Get<platform::Label>("Label3")),
      Label4(controls_.Get<platform::Label>("Label4")) {
  for (int i = 1; i <= engine::kInstalledComponentCount; ++i) {
    check1_[static_cast<std::size_t>(i)] = &controls_.Get<platform::CheckBox>("Check1_" + std::to_string(i));
  }
  Command1.OnClick([this] { Command1_Click(); });
  Command2.OnClick([this] { Command2_Click(); });
  Command3.OnClick([this] { Command3_Click(); });
  Command4.OnClick([this] { Command4_Click(); });
  window_->OnCloseRequest([this] { Form_CloseRequest(); });
}

Form2::~Form2() = default;

void Form2::Form_Load() {
  engine::FillCatalogue(state_);

  window_->SetLeft(kit_.ScreenWidth() / 5.0f);
  window_->SetTop(kit_.ScreenHeight() / 6.0f);

  state_.ComponentCount = engine::kInstalledComponentCount;

  // Box 1 keeps its place; every other box goes directly below the one before it, all sharing
  // box 1's left edge and width.
  for (int i = 1; i <= state_.ComponentCount; ++i) {
    Check1(i).SetLeft(Check1(1).Left());
    Check1(i).SetWidth(Check1(1).Width());
    if (i > 1) Check1(i).SetTop(Check1(i - 1).Top() + Check1(1).Height());
    Check1(i).SetCaption(state_.ComponentCatalogue[static_cast<std::size_t>(i)]);
    Check1(i).SetValue(1);
  }

  Text2.SetLeft(Text1.Left());
  Text2.SetWidth(Text1.Width());

  engine::DetectSystemFolder(state_, system_.files);
  Text1.SetText(state_.SystemFolder);
}

void Form2::ShowWarning(const std::string& prompt, const std::string& title) {
  kit_.ShowMessage(prompt, title, MessageIcon::kWarning);
}

// "Installera": the run, then the report in its own window; closing that window ends the program.
void Form2::Command1_Click() {
  std::optional<std::string> report = engine::RunInstallation(state_, Text1.Text(), Text2.Text(), *this, system_);
  if (!report) return;  // refused for an empty destination; the warning has been shown

  Form3 form3(kit_);
  form3.Form_Load(*window_);
  form3.Text1.SetText(*report);
  form3.ShowModal();
  system_.end.EndNow();
}

// "Avbryt": ends the program at once, hidden folder chooser and all.
void Form2::Command2_Click() { system_.end.EndNow(); }

// "Hjälp"
void Form2::Command3_Click() { kit_.ShowMessage(kHelpText, "Hjälp", MessageIcon::kInformation); }

// "Bläddra/skapa mapp": the chooser is loaded on first use and kept while "OK" or "Avbryt" only
// hide it; after a close from its title bar it is discarded, so the next press loads it afresh.
void Form2::Command4_Click() {
  if (!form4_) {
    form4_ = std::make_unique<Form4>(kit_, system_.files, *window_, Text2);
    form4_->Form_Load();
  }
  form4_->ShowModal();
  if (form4_->ClosedFromTitleBar()) form4_.reset();
}

// Closing the main window by its title bar ends the program the same way as "Avbryt".
void Form2::Form_CloseRequest() { system_.end.EndNow(); }

}  // namespace ui
