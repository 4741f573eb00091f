#pragma once
// Message boxes, input boxes, the help window and the clock for the real program.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "form/dialogs.h"

class QTextBrowser;

namespace qt {

class QtDialogs : public form::Dialogs {
 public:
  form::Answer MsgBox(const std::string& text, const std::string& title, form::Icon icon,
                      form::Buttons buttons) override;
  form::Answer MsgBoxDefaultSecond(const std::string& text, const std::string& title, form::Icon icon,
                                   form::Buttons buttons) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  std::optional<std::string> ChooseFile(const std::string& title, const std::string& filter) override;
  std::optional<int> ChooseFromList(const std::string& title, const std::string& prompt,
                                    const std::vector<std::string>& items) override;
  void showHelp(const std::string& fileName) override;
  void closeHelp() override;

  // Where the help file is looked for; the current folder when empty.
  void setHelpFolder(const QString& folder) { helpFolder_ = folder; }

  // The window boxes belong to (centred over it); may stay null.
  void setOwner(QWidget* owner) { owner_ = owner; }
  // Runs before every modal box, so the window shows the state the box talks about.
  void setBeforeModal(std::function<void()> hook) { beforeModal_ = std::move(hook); }

  // Help windows still open (for tests).
  std::vector<QWidget*> openHelpWindows() const;

 private:
  void prepareModal();
  form::Answer showBox(const std::string& text, const std::string& title, form::Icon icon, form::Buttons buttons,
                       bool secondDefault);

  QPointer<QWidget> owner_;
  QString helpFolder_;
  std::function<void()> beforeModal_;
  std::vector<QPointer<QWidget>> help_;
};

class QtClock : public form::Clock {
 public:
  store::DateTime now() const override;
  // A clock that stands still (--clock), so a run can be repeated exactly.
  std::optional<store::DateTime> fixed;
};

// The in-program help viewer: one HTML file from the program folder.
class HelpWindow : public QWidget {
  Q_OBJECT
 public:
  // `folder` holds the file; the current folder when empty.
  explicit HelpWindow(const QString& fileName, QWidget* parent = nullptr, const QString& folder = QString());
  const QString& fileName() const { return fileName_; }
  QTextBrowser* browser() const { return browser_; }

 private:
  QString fileName_;
  QTextBrowser* browser_;
};

}  // namespace qt
