#include "platform/qt/qt_directory_list.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QTreeWidget>
#include <QTreeWidgetItem>

#include <functional>

namespace platform::qt {

// The list's tree, which opens an entry on a double-click or Enter and on nothing else. Qt's
// activation of items is not used: styles that activate items on a single click would open a
// folder that the user merely highlighted.
class FolderTree : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;
  std::function<void(QTreeWidgetItem&)> on_open;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && currentItem() != nullptr && on_open) {
      on_open(*currentItem());
    } else {
      QTreeWidget::keyPressEvent(event);
    }
  }

  void mouseDoubleClickEvent(QMouseEvent* event) override {
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && item != nullptr && on_open) {
      on_open(*item);
    } else {
      QTreeWidget::mouseDoubleClickEvent(event);
    }
  }
};

namespace {

constexpr int kPathRole = Qt::UserRole;

// "c:/a/b\" -> "c:\a\b"; a root keeps its "\" ("c:" stays a bare drive).
std::string FolderString(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

bool IsBareDrive(const std::string& path) { return path.size() == 2 && path[1] == ':'; }

std::string Child(const std::string& folder, const std::string& name) {
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

QTreeWidgetItem* NewEntry(QTreeWidgetItem* parent, QTreeWidget& tree, const std::string& text,
                          const std::string& path, QStyle::StandardPixmap icon) {
  auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&tree);
  item->setText(0, ToQt(text));
  item->setData(0, kPathRole, ToQt(path));
  item->setIcon(0, tree.style()->standardIcon(icon));
  return item;
}

}  // namespace

QtDirectoryList::QtDirectoryList(QWidget& parent, const ControlSpec& design, FileSystem& files,
                                 const std::string& start_drive)
    : QtControl(*new FolderTree(&parent), design), tree_(static_cast<FolderTree&>(widget())), files_(files) {
  tree_.setHeaderHidden(true);
  tree_.setColumnCount(1);
  tree_.setRootIsDecorated(false);
  tree_.setItemsExpandable(false);
  tree_.setExpandsOnDoubleClick(false);
  tree_.setIndentation(tree_.fontMetrics().averageCharWidth() * 2);
  tree_.setUniformRowHeights(true);
  // Indentation alone shows the levels; every level is open, so no branch arrows.
  tree_.setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
  tree_.on_open = [this](QTreeWidgetItem& item) { Opened(item); };
  const Result<std::string> start = files_.DriveCurrentFolder(start_drive);
  if (!start.ok() || !Open(start.value()).ok()) path_ = start_drive + "\\";
}

// The tree belongs to the window and may outlive this control by a moment.
QtDirectoryList::~QtDirectoryList() { tree_.on_open = nullptr; }

Status QtDirectoryList::SetPath(const std::string& path) {
  if (!IsBareDrive(path)) return Open(path);
  const Result<std::string> folder = files_.DriveCurrentFolder(path);
  if (!folder.ok()) return folder.status();
  return Open(folder.value());
}

Status QtDirectoryList::Open(const std::string& path) {
  const std::string folder = FolderString(path);
  const Result<std::vector<std::string>> sub_folders = files_.SubFolders(folder);
  if (!sub_folders.ok()) return sub_folders.status();

  tree_.clear();
  // The root "c:\", then each folder on the way down, each a child of the one before.
  const std::size_t root_end = folder.find('\\');
  std::string walked = root_end == std::string::npos ? folder + "\\" : folder.substr(0, root_end + 1);
  QTreeWidgetItem* current = NewEntry(nullptr, tree_, walked, walked, QStyle::SP_DirOpenIcon);
  for (std::size_t start = walked.size(); start < folder.size();) {
    std::size_t end = folder.find('\\', start);
    if (end == std::string::npos) end = folder.size();
    const std::string name = folder.substr(start, end - start);
    if (!name.empty()) {
      walked = Child(walked, name);
      current = NewEntry(current, tree_, name, walked, QStyle::SP_DirOpenIcon);
    }
    start = end + 1;
  }
  for (const std::string& name : sub_folders.value()) {
    NewEntry(current, tree_, name, Child(walked, name), QStyle::SP_DirClosedIcon);
  }
  tree_.expandAll();
  tree_.setCurrentItem(current);
  tree_.scrollToItem(current);
  current_ = current;
  path_ = walked;
  return Status::Ok();
}

void QtDirectoryList::Opened(const QTreeWidgetItem& item) {
  // A folder that cannot be read is not entered; the list stays on its current folder.
  const std::string path = FromQt(item.data(0, kPathRole).toString());
  if (!Open(path).ok() && current_ != nullptr) tree_.setCurrentItem(current_);
}

}  // namespace platform::qt
