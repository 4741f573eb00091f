// Events in: what the user does to a widget goes to the core as the event of its control.
#include <QApplication>
#include <QChartView>
#include <QCheckBox>
#include <QDrag>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>

#include "qt/main_window.h"
#include "qt/window_widgets.h"

namespace qt {

void MainWindow::connectEvents(size_t index) {
  Entry& e = entries_[index];
  const std::string name = e.control->name();
  QWidget* w = e.widget;
  switch (e.control->kind()) {
    case form::Kind::Label:
    case form::Kind::Frame:
    case form::Kind::Image:
      // The data folder's path keeps the mouse, so its text can be selected.
      if (name != "lblDataFolder") w->installEventFilter(this);
      break;
    case form::Kind::CommandButton:
      w->installEventFilter(this);
      connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this,
              [this, name] { forward([this, name] { m_.Click(name); }); });
      break;
    case form::Kind::CheckBox:
      w->installEventFilter(this);
      // Qt has already toggled the box; the model toggles its value and the box is redrawn from it.
      connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this, [this, index, name] {
        entries_[index].dirty = true;
        forward([this, name] { m_.Click(name); });
      });
      break;
    case form::Kind::OptionButton:
      w->installEventFilter(this);
      connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this, [this, name] {
        markOptionGroupDirty(name);
        forward([this, name] { m_.Click(name); });
      });
      break;
    case form::Kind::TextBox:
      w->installEventFilter(this);
      if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // Typed characters go through the key filter; this catches paste, cut, delete and undo.
        connect(edit, &QLineEdit::textEdited, this, [this, name](const QString& text) {
          if (!applying_) forward([this, name, text] { m_.SetText(name, text.toStdString()); });
        });
      } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, name] {
          if (!applying_) forward([this, name, text = stored(edit->toPlainText())] { m_.SetText(name, text); });
        });
      }
      break;
    case form::Kind::ListBox: {
      auto* list = static_cast<QListView*>(w);
      list->installEventFilter(this);
      list->viewport()->installEventFilter(this);
      // Keyboard moves; mouse presses are handled by the filter.
      connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, list, name] {
        if (applying_) return;
        const int row = list->currentIndex().row();
        if (row >= 0 && row != m_.form(name).listIndex()) forward([this, name, row] { m_.Select(name, row); });
      });
      break;
    }
    case form::Kind::Grid:
      w->installEventFilter(this);
      // The room for the columns changes when the vertical scroll bar comes or goes.
      static_cast<QTableWidget*>(w)->viewport()->installEventFilter(this);
      break;
    case form::Kind::Chart:
      w->installEventFilter(this);
      static_cast<QChartView*>(w)->viewport()->installEventFilter(this);
      break;
    case form::Kind::Shape: break;
    case form::Kind::ScrollBar: {
      auto* bar = static_cast<QScrollBar*>(w);
      bar->installEventFilter(this);
      // Only the BMI slider follows its thumb while it is dragged; the others act when it is let go.
      const bool tracks = name == "HScroll1";
      connect(bar, &QScrollBar::valueChanged, this, [this, bar, name, tracks](int v) {
        if (applying_) return;
        if (!bar->isSliderDown())
          forward([this, name, v] { m_.Scroll(name, v); });
        else if (tracks)
          forward([this, name, v] { m_.ScrollTrack(name, v); });
      });
      connect(bar, &QScrollBar::sliderReleased, this,
              [this, bar, name] { forward([this, name, v = bar->value()] { m_.Scroll(name, v); }); });
      break;
    }
  }
}

void MainWindow::markOptionGroupDirty(const std::string& name) {
  const std::string base = app::splitControlName(name).first;
  for (Entry& e : entries_)
    if (e.control->kind() == form::Kind::OptionButton && app::splitControlName(e.control->name()).first == base)
      e.dirty = true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  Entry* found = entryOf(watched);
  if (!found) return QMainWindow::eventFilter(watched, event);
  Entry& e = *found;
  if (event->type() == QEvent::Show && watched == e.widget) {
    if (e.pending) showPending(e);
    return false;
  }
  const std::string name = e.control->name();
  const form::Kind kind = e.control->kind();

  if (event->type() == QEvent::FocusIn && watched == e.widget) {
    // Only the user's own moves raise GotFocus; focus moved by the program or given back by a closing
    // box does not. A click into an inactive window arrives as its activation, on another control.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    const bool byUser = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                        reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason ||
                        (reason == Qt::ActiveWindowFocusReason && m_.form.focus() != name);
    if (!applying_ && byUser) forward([this, name] { m_.UserFocus(name); });
    return false;
  }

  if (event->type() == QEvent::KeyPress && watched == e.widget) {
    // F2 corrects, Delete deletes the selected record of a table or list that has a menu.
    const int pressed = static_cast<QKeyEvent*>(event)->key();
    if ((pressed == Qt::Key_F2 || pressed == Qt::Key_Delete) && !m_.MenuItems(name).empty()) {
      forward([this, name, pressed] { m_.Key(name, pressed == Qt::Key_F2 ? "F2" : "Delete"); });
      return true;
    }
    if (auto key = controlKey(name, *static_cast<QKeyEvent*>(event))) {
      forward([this, name, key = *key] { m_.Key(name, key); });
      return true;
    }
  }

  switch (kind) {
    case form::Kind::Label:
    case form::Kind::Frame:
    case form::Kind::Image:
      switch (event->type()) {
        case QEvent::MouseButtonPress: return true;  // so the release comes here too
        case QEvent::MouseButtonRelease: {
          auto* me = static_cast<QMouseEvent*>(event);
          if (swallowRelease_) {
            swallowRelease_ = false;
          } else if (me->button() == Qt::LeftButton && e.widget->rect().contains(me->position().toPoint())) {
            forward([this, name] { m_.Click(name); });
          }
          return true;
        }
        case QEvent::MouseButtonDblClick:
          swallowRelease_ = true;
          forward([this, name] { m_.DblClick(name); });
          return true;
        default: return false;
      }
    case form::Kind::TextBox: {
      auto* edit = qobject_cast<QLineEdit*>(e.widget);
      if (!edit || edit->isReadOnly()) return false;
      if (event->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(event);
        if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter) {
          forward([this, name] { m_.PressEnter(name); });
          return true;
        }
        const QString text = ke->text();
        const bool command = ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        bool printable = !text.isEmpty() && !command;
        for (QChar ch : text)
          if (ch.isNull() || ch.category() == QChar::Other_Control) printable = false;
        if (printable) {
          typeText(e, text);
          return true;
        }
        return false;
      }
      if (event->type() == QEvent::InputMethod) {
        // Committed input-method text arrives as typed characters; the composition stays with Qt.
        auto* ime = static_cast<QInputMethodEvent*>(event);
        const QString commit = ime->commitString();
        if (!commit.isEmpty()) {
          ime->setCommitString(QString());
          typeText(e, commit);
        }
        return false;
      }
      return false;
    }
    case form::Kind::ListBox:
      if (watched != e.widget) return listEvent(e, event);
      return false;
    case form::Kind::Grid:
      if (watched != e.widget && event->type() == QEvent::Resize)
        fitColumns(*static_cast<QTableWidget*>(e.widget), e.control->grid());
      return false;
    case form::Kind::Chart:
      if (watched != e.widget && event->type() == QEvent::MouseButtonDblClick) {
        forward([this, name] { m_.DblClick(name); });
        return true;
      }
      return false;
    default: return false;
  }
}

bool MainWindow::listEvent(Entry& e, QEvent* event) {
  auto* list = static_cast<QListView*>(e.widget);
  const std::string name = e.control->name();
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (me->button() != Qt::LeftButton) return false;
      const QModelIndex index = list->indexAt(me->position().toPoint());
      if (!index.isValid()) return false;
      // Qt has given the list the focus before the press arrives; when the model refused it (sample
      // mode), the press goes no further.
      if (list->window()->focusWidget() != list) return true;
      // Decided on release (a click) or on moving away (a drag), so the model sees one or the other.
      pressRow_ = index.row();
      pressPos_ = me->position().toPoint();
      return true;
    }
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (pressRow_ < 0 || !(me->buttons() & Qt::LeftButton)) return false;
      if ((me->position().toPoint() - pressPos_).manhattanLength() < QApplication::startDragDistance()) return true;
      const int row = pressRow_;
      pressRow_ = -1;
      startListDrag(e, row);
      return true;
    }
    case QEvent::MouseButtonRelease: {
      // A right click opens the record menu; it is no click on the list.
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      const int row = pressRow_;
      pressRow_ = -1;
      if (row >= 0 && row != e.control->listIndex()) forward([this, name, row] { m_.Select(name, row); });
      forward([this, name] { m_.MouseUp(name); });
      return row >= 0;
    }
    case QEvent::MouseButtonDblClick:
      pressRow_ = -1;
      forward([this, name] { m_.DblClick(name); });
      return true;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* de = static_cast<QDragMoveEvent*>(event);
      if (!de->mimeData()->hasFormat(kListDragFormat)) return false;
      de->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* de = static_cast<QDropEvent*>(event);
      if (!de->mimeData()->hasFormat(kListDragFormat)) return false;
      const QList<QByteArray> parts = de->mimeData()->data(kListDragFormat).split('\n');
      if (parts.size() != 2) return true;
      const std::string source = parts[0].toStdString();
      const int row = parts[1].toInt();
      de->acceptProposedAction();
      if (m_.form.has(source)) forward([this, source, row, name] { m_.Drag(source, row, name); });
      return true;
    }
    default: return false;
  }
}

void MainWindow::startListDrag(Entry& e, int row) {
  auto* list = static_cast<QListView*>(e.widget);
  if (row < 0 || row >= list->model()->rowCount()) return;
  const QString text = list->model()->index(row, 0).data().toString();
  auto* mime = new QMimeData;
  mime->setData(kListDragFormat, QByteArray::fromStdString(e.control->name()) + '\n' + QByteArray::number(row));
  mime->setText(text);

  // The entry's own text travels under the pointer.
  const QFontMetrics fm(list->font());
  QPixmap pix(fm.horizontalAdvance(text) + 12, fm.height() + 6);
  pix.fill(QColor(0xff, 0xf8, 0xc8));
  {
    QPainter p(&pix);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(pix.rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.setFont(list->font());
    p.drawText(pix.rect(), Qt::AlignCenter, text);
  }
  auto* drag = new QDrag(list);
  drag->setMimeData(mime);
  drag->setPixmap(pix);
  drag->setHotSpot(QPoint(8, pix.height() / 2));
  drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

void MainWindow::typeText(Entry& e, const QString& text) {
  auto* edit = qobject_cast<QLineEdit*>(e.widget);
  const std::string name = e.control->name();
  for (char32_t code : text.toUcs4()) {
    if (m_.ended()) return;
    const QString ch = QString::fromUcs4(&code, 1);
    const std::string before = e.control->text();
    const QString shown = edit->text();
    const bool atEnd = !edit->hasSelectedText() && edit->cursorPosition() == shown.size();
    const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    const int length = edit->hasSelectedText() ? static_cast<int>(edit->selectedText().size()) : 0;
    int cursor = -1;
    forward([&] {
      m_.TypeChar(name, ch.toStdString());
      // The model appends what it accepts; the user typed at the cursor, over any selection.
      const std::string& after = e.control->text();
      if (!atEnd && !m_.ended() && shown.toStdString() == before && after.size() > before.size() &&
          after.compare(0, before.size(), before) == 0) {
        const QString inserted = q(after.substr(before.size()));
        m_.SetText(name, QString(shown).replace(start, length, inserted).toStdString());
        cursor = start + static_cast<int>(inserted.size());
      }
    });
    if (cursor >= 0 && edit->text().size() >= cursor) edit->setCursorPosition(cursor);
  }
}

}  // namespace qt
