#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "platform/qt/qt_look.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/twips.h"
#include "platform/window_kit.h"

namespace platform {

namespace {

constexpr const char* kNoDisplay = "ebrona-installer: ingen bildskärm att visa fönstren på (DISPLAY är inte satt)";

// Qt's messages while the application object connects to the display. Qt ends the process with a
// fatal message when it cannot (a DISPLAY that names no server); that becomes one line of our own,
// with the reason Qt gave first, instead of Qt's abort.
QStringList* start_messages = nullptr;

void HoldStartMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    start_messages->append(message);
    return;
  }
  const QString reason = start_messages->isEmpty() ? message.section(QLatin1Char('\n'), 0, 0) : start_messages->first();
  std::fprintf(stderr, "ebrona-installer: ingen bildskärm att visa fönstren på (%s)\n", qUtf8Printable(reason));
  std::_Exit(1);
}

std::unique_ptr<QApplication> StartApplication() {
  static int argc = 1;
  static char name[] = "ebrona-installer";
  static char* argv[] = {name, nullptr};
  QStringList messages;
  start_messages = &messages;
  const QtMessageHandler previous = qInstallMessageHandler(HoldStartMessage);
  auto application = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  start_messages = nullptr;
  for (const QString& message : messages) std::fprintf(stderr, "%s\n", qUtf8Printable(message));
  QApplication::setFont(platform::qt::DialogFont());
  return application;
}

class QtWindowKit : public WindowKit {
 public:
  QtWindowKit(FileSystem& files, std::unique_ptr<QApplication> application)
      : files_(files), application_(std::move(application)) {
    // The program ends when its windows say so, not when the last one is closed.
    QApplication::setQuitOnLastWindowClosed(false);
  }
  ~QtWindowKit() override {
    // Widgets of destroyed windows still waiting for deletion go before the application object.
    if (application_) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  std::unique_ptr<Window> NewWindow(const WindowSpec& design) override {
    return std::make_unique<qt::QtWindow>(design, files_);
  }

  float ScreenWidth() const override { return qt::PixelsToTwips(ScreenSize().width(), qt::Axis::kHorizontal); }
  float ScreenHeight() const override { return qt::PixelsToTwips(ScreenSize().height(), qt::Axis::kVertical); }

  void ShowMessage(const std::string& prompt, const std::string& title, MessageIcon icon) override {
    QMessageBox box(icon == MessageIcon::kWarning ? QMessageBox::Warning : QMessageBox::Information, qt::ToQt(title),
                    qt::ToQtLines(prompt), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();  // without a parent: modal to the whole application
  }

  int Run() override { return QApplication::exec(); }

 private:
  static QSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->geometry().size() : QSize();
  }

  FileSystem& files_;
  std::unique_ptr<QApplication> application_;  // when this kit made it
};

bool DisplayNamed() {
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

std::unique_ptr<WindowKit> NewNativeWindowKit(FileSystem& files, std::string& error) {
  std::unique_ptr<QApplication> application;
  if (QApplication::instance() == nullptr) {
    if (!DisplayNamed()) {
      error = kNoDisplay;
      return nullptr;
    }
    application = StartApplication();
  }
  return std::make_unique<QtWindowKit>(files, std::move(application));
}

}  // namespace platform
