#include "qt/qt_dialogs.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "qt/desktop.h"
#include "words/messages.h"

namespace qt {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon qtIcon(form::Icon icon) {
  switch (icon) {
    case form::Icon::None: return QMessageBox::NoIcon;
    case form::Icon::Information: return QMessageBox::Information;
    case form::Icon::Warning: return QMessageBox::Warning;
    case form::Icon::Error: return QMessageBox::Critical;
    case form::Icon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// How wide a box must be for the title bar to show `title` whole, in the larger bold font title
// bars use, beside the frame's icon and buttons; a short text ("保存しました") would otherwise
// make the box too narrow for its title.
int widthForTitle(const QWidget& box, const QString& title) {
  QFont font = box.font();
  font.setBold(true);
  font.setPointSizeF(font.pointSizeF() * 1.3);
  return QFontMetrics(font).horizontalAdvance(title) + 160;
}

// A box over a window that is not shown yet (a start-up error) stands on its own.
QWidget* visibleOwner(QWidget* owner) { return owner && owner->isVisible() ? owner : nullptr; }

}  // namespace

void QtDialogs::prepareModal() {
  useProgramIcon();
  if (beforeModal_) beforeModal_();
}

form::Answer QtDialogs::MsgBox(const std::string& text, const std::string& title, form::Icon icon,
                               form::Buttons buttons) {
  return showBox(text, title, icon, buttons, false);
}

form::Answer QtDialogs::MsgBoxDefaultSecond(const std::string& text, const std::string& title, form::Icon icon,
                                            form::Buttons buttons) {
  return showBox(text, title, icon, buttons, true);
}

form::Answer QtDialogs::showBox(const std::string& text, const std::string& title, form::Icon icon,
                                form::Buttons buttons, bool secondDefault) {
  prepareModal();
  QMessageBox box(qtIcon(icon), q(title), q(text), QMessageBox::NoButton, visibleOwner(owner_));
  box.setTextFormat(Qt::PlainText);
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  switch (buttons) {
    case form::Buttons::OK:
      ok = box.addButton("OK", QMessageBox::AcceptRole);
      box.setEscapeButton(ok);
      break;
    case form::Buttons::OKCancel:
      ok = box.addButton("OK", QMessageBox::AcceptRole);
      cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
    case form::Buttons::YesNo:
      yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
      no = box.addButton("いいえ(&N)", QMessageBox::NoRole);
      box.setEscapeButton(no);
      break;
    case form::Buttons::YesNoCancel:
      yes = box.addButton("はい(&Y)", QMessageBox::YesRole);
      no = box.addButton("いいえ(&N)", QMessageBox::NoRole);
      cancel = box.addButton("キャンセル", QMessageBox::RejectRole);
      box.setEscapeButton(cancel);
      break;
  }
  if (secondDefault && (cancel || no))
    box.setDefaultButton(cancel ? cancel : no);
  else
    box.setDefaultButton(ok ? ok : yes);
  // A message box sizes itself to its text; a spacer across its layout widens it.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(widthForTitle(box, box.windowTitle()), 0, QSizePolicy::Minimum), grid->rowCount(), 0,
                  1, grid->columnCount());
  // The hourglass belongs to the work, not to the question.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  QApplication::restoreOverrideCursor();
  QAbstractButton* clicked = box.clickedButton();
  if (buttons == form::Buttons::YesNo) return clicked == yes ? form::Answer::Yes : form::Answer::No;
  if (buttons == form::Buttons::YesNoCancel)
    return clicked == yes ? form::Answer::Yes : clicked == no ? form::Answer::No : form::Answer::Cancel;
  if (buttons == form::Buttons::OKCancel) return clicked == ok ? form::Answer::OK : form::Answer::Cancel;
  return form::Answer::OK;
}

std::optional<std::string> QtDialogs::InputBox(const std::string& prompt, const std::string& title,
                                               const std::string& defaultText) {
  prepareModal();
  QInputDialog dialog(visibleOwner(owner_));
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(q(title));
  dialog.setLabelText(q(prompt));
  dialog.setTextValue(q(defaultText));
  dialog.setOkButtonText("OK");
  dialog.setCancelButtonText("キャンセル");
  dialog.setMinimumWidth(widthForTitle(dialog, dialog.windowTitle()));
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int result = dialog.exec();
  QApplication::restoreOverrideCursor();
  if (result != QDialog::Accepted) return std::nullopt;
  return dialog.textValue().toStdString();
}

std::optional<std::string> QtDialogs::ChooseFolder(const std::string& title) {
  prepareModal();
  const QString dir = QFileDialog::getExistingDirectory(owner_, q(title), QDir::homePath());
  if (dir.isEmpty()) return std::nullopt;
  return dir.toStdString();
}

std::optional<std::string> QtDialogs::ChooseFile(const std::string& title, const std::string& filter) {
  prepareModal();
  const QString file = QFileDialog::getOpenFileName(owner_, q(title), QDir::homePath(), q(filter));
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

std::optional<int> QtDialogs::ChooseFromList(const std::string& title, const std::string& prompt,
                                             const std::vector<std::string>& items) {
  prepareModal();
  QStringList list;
  for (const auto& item : items) list << q(item);
  QInputDialog dialog(owner_);
  dialog.setWindowTitle(q(title));
  dialog.setLabelText(q(prompt));
  dialog.setComboBoxItems(list);
  dialog.setComboBoxEditable(false);
  dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
  dialog.setOkButtonText("OK");
  dialog.setCancelButtonText("キャンセル");
  dialog.resize(560, 360);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int index = static_cast<int>(list.indexOf(dialog.textValue()));
  if (index < 0) return std::nullopt;
  return index;
}

void QtDialogs::showHelp(const std::string& fileName) {
  const QString name = q(fileName);
  for (auto& w : help_) {
    auto* help = qobject_cast<HelpWindow*>(w.data());
    if (help && help->fileName() == name) {
      help->show();
      help->raise();
      help->activateWindow();
      return;
    }
  }
  useProgramIcon();
  auto* help = new HelpWindow(name, nullptr, helpFolder_);
  help->setAttribute(Qt::WA_DeleteOnClose);
  help_.emplace_back(help);
  help->show();
}

void QtDialogs::closeHelp() {
  for (auto& w : help_)
    if (w) w->close();
  help_.clear();
}

std::vector<QWidget*> QtDialogs::openHelpWindows() const {
  std::vector<QWidget*> out;
  for (const auto& w : help_)
    if (w && w->isVisible()) out.push_back(w.data());
  return out;
}

store::DateTime QtClock::now() const {
  if (fixed) return *fixed;
  const QDateTime t = QDateTime::currentDateTime();
  const QDate d = t.date();
  const QTime tm = t.time();
  store::DateTime out;
  out.date = store::makeDate(d.year(), static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()));
  out.hour = tm.hour();
  out.minute = tm.minute();
  out.second = tm.second();
  return out;
}

HelpWindow::HelpWindow(const QString& fileName, QWidget* parent, const QString& folder)
    : QWidget(parent, Qt::Window), fileName_(fileName), browser_(new QTextBrowser(this)) {
  setObjectName("helpWindow");
  setWindowTitle(QString::fromUtf8(words::kHelpTitle));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(false);
  resize(640, 560);
  // Closed from the keyboard as other reading windows are.
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);

  const QFileInfo info(folder.isEmpty() ? QDir::current() : QDir(folder), fileName);
  QFile file(info.absoluteFilePath());
  if (!file.open(QIODevice::ReadOnly)) {
    browser_->setPlainText(QString::fromStdString(
        words::helpFileMissing(fileName.toStdString(), QDir::toNativeSeparators(info.absolutePath()).toStdString())));
    return;
  }
  const QByteArray bytes = file.readAll();
  // The file says its own character set; without one it is UTF-8.
  QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
  if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
  QString html = decoder.decode(bytes);
  browser_->setSearchPaths({info.absolutePath()});
  browser_->setHtml(html);
}

}  // namespace qt
