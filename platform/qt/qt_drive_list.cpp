#include "platform/qt/qt_drive_list.h"

#include <QComboBox>
#include <cerrno>
#include <system_error>

namespace platform::qt {

namespace {

bool IsRoot(const std::string& folder) { return folder.size() <= 3; }  // "c:\"

// "D:\kopior" -> "d:"; empty when `path` does not start with a drive.
std::string DriveOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':') return {};
  return QString::fromStdString(path.substr(0, 2)).toLower().toStdString();
}

}  // namespace

std::string StartDrive(FileSystem& files) {
  const std::vector<std::string> drives = files.Drives();
  for (const std::string& drive : drives) {
    const Result<std::string> folder = files.DriveCurrentFolder(drive);
    if (folder.ok() && !IsRoot(folder.value())) return drive;
  }
  for (const std::string& drive : drives) {
    if (drive == "c:") return drive;
  }
  return drives.empty() ? std::string("c:") : drives.front();
}

QtDriveList::QtDriveList(QWidget& parent, const ControlSpec& design, FileSystem& files, const std::string& start_drive)
    : QtControl(*new QComboBox(&parent), design), combo_(static_cast<QComboBox&>(widget())) {
  for (const std::string& drive : files.Drives()) combo_.addItem(ToQt(drive));
  const int start = combo_.findText(ToQt(start_drive));
  combo_.setCurrentIndex(start >= 0 ? start : 0);
  drive_ = FromQt(combo_.currentText());
  Keep(QObject::connect(&combo_, &QComboBox::currentIndexChanged, &combo_, [this](int index) { Changed(index); }));
}

Status QtDriveList::SetDrive(const std::string& path) {
  const int index = combo_.findText(ToQt(DriveOf(path)));
  if (index < 0) return Status::Failure(std::generic_category().message(ENODEV));
  combo_.setCurrentIndex(index);  // raises Changed when the drive is another
  return Status::Ok();
}

void QtDriveList::Changed(int index) {
  const std::string drive = index >= 0 ? FromQt(combo_.itemText(index)) : std::string();
  if (drive == drive_) return;
  drive_ = drive;
  // The handler may set the drive again (back to the previous one after a failure); that change
  // raises the handler once more, inside this call.
  const std::function<void()> handler = on_change_;
  if (handler) handler();
}

}  // namespace platform::qt
