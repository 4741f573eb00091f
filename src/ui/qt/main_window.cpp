#include "ui/qt/main_window.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDrag>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTableWidget>

#include "ui/qt/chart_fill.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_dialogs.h"

namespace ui::qt {

int toPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

namespace {

constexpr const char* kListDragFormat = "application/x-zorvel-list-entry";

QString q(const std::string& s) { return QString::fromStdString(s); }

QColor toQColor(Color c) { return QColor((c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff); }

// Captions and texts keep their line breaks as CR LF; Qt wants LF.
QString display(const std::string& s) { return q(s).replace("\r\n", "\n").replace('\r', '\n'); }
std::string stored(const QString& s) { return QString(s).replace("\n", "\r\n").toStdString(); }

Qt::Alignment toQt(Align a) {
  switch (a) {
    case Align::Left: return Qt::AlignLeft;
    case Align::Center: return Qt::AlignHCenter;
    case Align::Right: return Qt::AlignRight;
  }
  return Qt::AlignLeft;
}

bool isPageFrame(const Control& c) { return c.kind() == Kind::Frame && c.parent().empty(); }

// Kinds drawn on their container rather than being windows of their own; the windowed kinds stack
// above them, whatever the creation order.
bool isGraphical(Kind k) { return k == Kind::Label || k == Kind::Shape || k == Kind::Image; }

bool sameGrid(const GridModel& a, const GridModel& b) {
  return a.rows == b.rows && a.cols == b.cols && a.cells == b.cells && a.colWidths == b.colWidths &&
         a.dataAlign == b.dataAlign && a.headerAlign == b.headerAlign && a.topRow == b.topRow &&
         a.fontSize == b.fontSize;
}

bool sameChart(const ChartModel& a, const ChartModel& b) {
  return a.rowCount == b.rowCount && a.columnCount == b.columnCount && a.data == b.data &&
         a.seriesVisible == b.seriesVisible && a.axisMin == b.axisMin && a.axisMax == b.axisMax;
}

// Bar shapes: a filled box with a thin border.
class ShapeWidget : public QWidget {
 public:
  using QWidget::QWidget;
  void setFill(QColor c) {
    if (c != fill_) {
      fill_ = c;
      update();
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (width() <= 0 || height() <= 0) return;
    QPainter p(this);
    p.fillRect(rect(), fill_);
    p.setPen(fill_.darker(170));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  QColor fill_ = Qt::black;
};

// Images: one of the program's own pictures, on a transparent background.
class PictureWidget : public QWidget {
 public:
  using QWidget::QWidget;
  void setPicture(const std::string& name) {
    if (name != picture_) {
      picture_ = name;
      update();
    }
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    drawPicture(p, QRectF(rect()), picture_);
  }

 private:
  std::string picture_;
};

// Check boxes; one with a picture is drawn as a toggle button showing it (pressed while checked).
class PictureCheckBox : public QCheckBox {
 public:
  using QCheckBox::QCheckBox;
  void setPicture(const std::string& name) {
    if (name != picture_) {
      picture_ = name;
      update();
    }
  }

 protected:
  bool hitButton(const QPoint& pos) const override {
    return picture_.empty() ? QCheckBox::hitButton(pos) : rect().contains(pos);
  }
  void paintEvent(QPaintEvent* event) override {
    if (picture_.empty()) return QCheckBox::paintEvent(event);
    QStylePainter p(this);
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= (isChecked() || isDown()) ? (QStyle::State_On | QStyle::State_Sunken) : QStyle::State_Raised;
    p.drawPrimitive(QStyle::PE_PanelButtonCommand, option);
    if (hasFocus()) {
      QStyleOptionFocusRect focus;
      focus.initFrom(this);
      focus.rect = rect().adjusted(3, 3, -3, -3);
      p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
    // Off is shown faded, so the state reads at a glance.
    p.setOpacity(isChecked() ? 1.0 : 0.45);
    const QRectF box = QRectF(rect()).adjusted(4, 4, -4, -4).translated(isChecked() ? 1 : 0, isChecked() ? 1 : 0);
    drawPicture(p, box, picture_);
  }

 private:
  std::string picture_;
};

}  // namespace

MainWindow::MainWindow(app::frmMain& m, QWidget* parent) : QMainWindow(parent), m_(m) {
  setObjectName("frmMain");
  setWindowTitle(q(m_.form.title()));
  build();
  m_.form.setBusyListener([this](bool) { applyBusy(); });
  if (auto* dialogs = dynamic_cast<QtDialogs*>(&m_.dialogs)) {
    dialogs->setOwner(this);
    dialogs->setBeforeModal([this] {
      refresh();
      // Once start-up has shown the window (or a box asked for it early), boxes stand over it.
      if (!isVisible() && !m_.ended() && m_.form.windowShown()) show();
    });
  }
}

MainWindow::~MainWindow() {
  m_.form.setBusyListener({});
  // The boxes may outlive the window; they must not call back into it.
  if (auto* dialogs = dynamic_cast<QtDialogs*>(&m_.dialogs)) {
    dialogs->setBeforeModal({});
    dialogs->setOwner(nullptr);
  }
}

// ---------------------------------------------------------------- building

void MainWindow::build() {
  auto* scroll = new QScrollArea(this);
  scroll->setFrameShape(QFrame::NoFrame);
  canvas_ = new QWidget;
  canvas_->setObjectName("canvas");

  const auto& controls = m_.form.controls();
  entries_.resize(controls.size());
  int right = 0, bottom = 0;
  for (size_t i = 0; i < controls.size(); ++i) {
    Entry& e = entries_[i];
    e.control = controls[i].get();
    QWidget* parent = canvas_;
    if (!e.control->parent().empty()) {
      auto it = byName_.find(e.control->parent());
      if (it != byName_.end()) parent = entries_[it->second].widget;
    } else {
      right = std::max(right, e.control->left() + e.control->width());
      bottom = std::max(bottom, e.control->top() + e.control->height());
    }
    e.widget = create(e, parent);
    e.widget->setObjectName(q(e.control->name()));
    byName_.emplace(e.control->name(), i);
    byObject_.emplace(e.widget, i);
    if (auto* view = qobject_cast<QAbstractScrollArea*>(e.widget)) byObject_.emplace(view->viewport(), i);
    connectEvents(i);
  }
  for (Entry& e : entries_)
    if (!isGraphical(e.control->kind())) e.widget->raise();

  canvas_->setFixedSize(toPixels(right) + 6, toPixels(bottom) + 6);
  scroll->setWidget(canvas_);
  setCentralWidget(scroll);
  resize(canvas_->size());
  refresh();
}

QWidget* MainWindow::create(Entry& e, QWidget* parent) {
  const Control& c = *e.control;
  switch (c.kind()) {
    case Kind::Label: {
      auto* w = new QLabel(parent);
      w->setTextFormat(Qt::PlainText);
      w->setWordWrap(true);
      w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      // A path the user may want to copy.
      if (c.name() == "lblDataFolder") w->setTextInteractionFlags(Qt::TextSelectableByMouse);
      return w;
    }
    case Kind::Frame: {
      if (isPageFrame(c)) {
        auto* w = new QFrame(parent);
        w->setFrameShape(QFrame::StyledPanel);
        return w;
      }
      return new QGroupBox(parent);
    }
    case Kind::CommandButton: return new QPushButton(parent);
    case Kind::CheckBox: return new PictureCheckBox(parent);
    case Kind::OptionButton: {
      auto* w = new QRadioButton(parent);
      // The model keeps one option of a group selected; Qt must not decide on its own.
      w->setAutoExclusive(false);
      return w;
    }
    case Kind::TextBox: {
      if (c.name() == "txtDiary") {
        auto* w = new QPlainTextEdit(parent);
        w->setTabChangesFocus(true);
        return w;
      }
      auto* w = new QLineEdit(parent);
      if (c.name() == "txtDate") {
        w->setReadOnly(true);
        w->setAlignment(Qt::AlignCenter);
      }
      return w;
    }
    case Kind::ListBox: {
      auto* w = new QListWidget(parent);
      w->setSelectionMode(QAbstractItemView::SingleSelection);
      w->setAcceptDrops(true);
      w->viewport()->setAcceptDrops(true);
      return w;
    }
    case Kind::Grid: {
      auto* w = new QTableWidget(parent);
      w->setEditTriggers(QAbstractItemView::NoEditTriggers);
      w->setSelectionMode(QAbstractItemView::SingleSelection);
      w->verticalHeader()->setVisible(false);
      w->horizontalHeader()->setHighlightSections(false);
      w->setWordWrap(false);
      // Whole rows, as the newest-row-on-top scrolling expects.
      w->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
      return w;
    }
    case Kind::Chart: {
      auto* chart = new QChart;
      chart->setMargins(QMargins(4, 4, 4, 4));
      chart->legend()->setAlignment(Qt::AlignBottom);
      auto* w = new QChartView(chart, parent);
      w->setRenderHint(QPainter::Antialiasing);
      return w;
    }
    case Kind::Shape: return new ShapeWidget(parent);
    case Kind::Image: {
      auto* w = new PictureWidget(parent);
      w->setAttribute(Qt::WA_TranslucentBackground);
      return w;
    }
    case Kind::ScrollBar: return new QScrollBar(c.width() > c.height() ? Qt::Horizontal : Qt::Vertical, parent);
  }
  return new QWidget(parent);
}

// ---------------------------------------------------------------- events in

void MainWindow::connectEvents(size_t index) {
  Entry& e = entries_[index];
  const std::string name = e.control->name();
  QWidget* w = e.widget;
  switch (e.control->kind()) {
    case Kind::Label:
    case Kind::Frame:
    case Kind::Image:
      // The data folder's path keeps the mouse, so its text can be selected.
      if (name != "lblDataFolder") w->installEventFilter(this);
      break;
    case Kind::CommandButton:
      w->installEventFilter(this);
      connect(static_cast<QPushButton*>(w), &QPushButton::clicked, this,
              [this, name] { forward([this, name] { m_.Click(name); }); });
      break;
    case Kind::CheckBox:
      w->installEventFilter(this);
      // Qt has already toggled the box; the model toggles its value and the box is redrawn from it.
      connect(static_cast<QCheckBox*>(w), &QCheckBox::clicked, this, [this, index, name] {
        entries_[index].dirty = true;
        forward([this, name] { m_.Click(name); });
      });
      break;
    case Kind::OptionButton:
      w->installEventFilter(this);
      connect(static_cast<QRadioButton*>(w), &QRadioButton::clicked, this, [this, name] {
        markOptionGroupDirty(name);
        forward([this, name] { m_.Click(name); });
      });
      break;
    case Kind::TextBox:
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
    case Kind::ListBox: {
      auto* list = static_cast<QListWidget*>(w);
      list->installEventFilter(this);
      list->viewport()->installEventFilter(this);
      // Keyboard moves; mouse presses are handled by the filter.
      connect(list, &QListWidget::itemSelectionChanged, this, [this, list, name] {
        if (applying_) return;
        const int row = list->currentRow();
        if (row >= 0 && row != m_.form(name).listIndex()) forward([this, name, row] { m_.Select(name, row); });
      });
      break;
    }
    case Kind::Grid: w->installEventFilter(this); break;
    case Kind::Chart: static_cast<QChartView*>(w)->viewport()->installEventFilter(this); break;
    case Kind::Shape: break;
    case Kind::ScrollBar: {
      auto* bar = static_cast<QScrollBar*>(w);
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

MainWindow::Entry* MainWindow::entryOf(QObject* object) {
  auto it = byObject_.find(object);
  return it == byObject_.end() ? nullptr : &entries_[it->second];
}

void MainWindow::markOptionGroupDirty(const std::string& name) {
  const std::string base = app::splitControlName(name).first;
  for (Entry& e : entries_)
    if (e.control->kind() == Kind::OptionButton && app::splitControlName(e.control->name()).first == base)
      e.dirty = true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  Entry* found = entryOf(watched);
  if (!found) return QMainWindow::eventFilter(watched, event);
  Entry& e = *found;
  const std::string name = e.control->name();
  const Kind kind = e.control->kind();

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

  switch (kind) {
    case Kind::Label:
    case Kind::Frame:
    case Kind::Image:
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
    case Kind::TextBox: {
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
    case Kind::ListBox:
      if (watched != e.widget) return listEvent(e, event);
      return false;
    case Kind::Chart:
      if (event->type() == QEvent::MouseButtonDblClick) {
        forward([this, name] { m_.DblClick(name); });
        return true;
      }
      return false;
    default: return false;
  }
}

bool MainWindow::listEvent(Entry& e, QEvent* event) {
  auto* list = static_cast<QListWidget*>(e.widget);
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
  auto* list = static_cast<QListWidget*>(e.widget);
  QListWidgetItem* item = list->item(row);
  if (!item) return;
  auto* mime = new QMimeData;
  mime->setData(kListDragFormat, QByteArray::fromStdString(e.control->name()) + '\n' + QByteArray::number(row));
  mime->setText(item->text());

  // The entry's own text travels under the pointer.
  const QFontMetrics fm(list->font());
  QPixmap pix(fm.horizontalAdvance(item->text()) + 12, fm.height() + 6);
  pix.fill(QColor(0xff, 0xf8, 0xc8));
  {
    QPainter p(&pix);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(pix.rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.setFont(list->font());
    p.drawText(pix.rect(), Qt::AlignCenter, item->text());
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

void MainWindow::forward(const std::function<void()>& event) {
  // A handler runs to its end before the next event; only timers (a held scroll arrow) could
  // reach the window while one of its boxes is up.
  if (m_.ended() || finishing_ || inEvent_) return;
  {
    struct Running {
      bool& flag;
      ~Running() { flag = false; }
    } running{inEvent_ = true};
    event();
  }
  refresh();
  if (m_.ended()) finish();
}

void MainWindow::finish() {
  if (finishing_) return;
  finishing_ = true;
  m_.dialogs.closeHelp();
  close();
  emit quitRequested();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!finishing_) {
    finishing_ = true;
    m_.CloseWindow();
    emit quitRequested();
  }
  event->accept();
}

// ---------------------------------------------------------------- model out

QWidget* MainWindow::widget(const std::string& name) const {
  auto it = byName_.find(name);
  return it == byName_.end() ? nullptr : entries_[it->second].widget;
}

int MainWindow::refresh() {
  ++applying_;
  int rewritten = 0;
  for (Entry& e : entries_) {
    if (!e.dirty && e.seen == e.control->changes()) continue;
    e.dirty = false;
    e.seen = e.control->changes();
    apply(e);
    ++rewritten;
  }
  applyFocus();
  applyBusy();
  --applying_;
  return rewritten;
}

void MainWindow::apply(Entry& e) {
  const Control& c = *e.control;
  QWidget* w = e.widget;
  const QSignalBlocker block(w);

  QRect geometry(toPixels(c.left()), toPixels(c.top()), toPixels(c.width()), toPixels(c.height()));
  const bool moved = geometry != e.geometry;
  if (moved) {
    w->setGeometry(geometry);
    e.geometry = geometry;
  }
  w->setEnabled(c.enabled());
  if (w->toolTip() != q(c.toolTip())) w->setToolTip(q(c.toolTip()));

  auto colours = [&](QPalette::ColorRole back, QPalette::ColorRole fore) {
    QPalette pal = QApplication::palette(w);
    if (c.backColor()) pal.setColor(back, toQColor(*c.backColor()));
    if (c.foreColor()) pal.setColor(fore, toQColor(*c.foreColor()));
    w->setPalette(pal);
  };

  switch (c.kind()) {
    case Kind::Label: {
      auto* label = static_cast<QLabel*>(w);
      if (label->text() != display(c.caption())) label->setText(display(c.caption()));
      label->setAutoFillBackground(c.backColor().has_value());
      colours(QPalette::Window, QPalette::WindowText);
      break;
    }
    case Kind::Frame:
      if (auto* box = qobject_cast<QGroupBox*>(w)) box->setTitle(display(c.caption()));
      if (c.backColor()) {
        w->setAutoFillBackground(true);
        colours(QPalette::Window, QPalette::WindowText);
      }
      break;
    case Kind::CommandButton: {
      auto* button = static_cast<QPushButton*>(w);
      button->setText(display(c.caption()).replace("&", "&&"));
      if (!c.picture().empty()) {
        const int side = std::max(8, std::min(geometry.width(), geometry.height()) - 8);
        button->setIcon(pictureIcon(c.picture(), side));
        button->setIconSize(QSize(side, side));
      } else {
        button->setIcon(QIcon());
      }
      colours(QPalette::Button, QPalette::ButtonText);
      break;
    }
    case Kind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(w);
      box->setText(display(c.caption()).replace("&", "&&"));
      box->setChecked(c.value() != 0);
      static_cast<PictureCheckBox*>(box)->setPicture(c.picture());
      colours(QPalette::Window, QPalette::WindowText);
      break;
    }
    case Kind::OptionButton: {
      auto* radio = static_cast<QRadioButton*>(w);
      radio->setText(display(c.caption()).replace("&", "&&"));
      radio->setChecked(c.value() != 0);
      break;
    }
    case Kind::TextBox:
      if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != q(c.text())) edit->setText(q(c.text()));
      } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        if (edit->toPlainText() != display(c.text())) {
          edit->setPlainText(display(c.text()));
          edit->moveCursor(QTextCursor::End);
        }
      }
      colours(QPalette::Base, QPalette::Text);
      break;
    case Kind::ListBox: applyList(e); break;
    case Kind::Grid: applyGrid(e); break;
    case Kind::Chart:
      applyChart(e);
      // An enlarged chart lies over its neighbours.
      if (moved) w->raise();
      break;
    case Kind::Shape: static_cast<ShapeWidget*>(w)->setFill(toQColor(c.fillColor())); break;
    case Kind::Image: static_cast<PictureWidget*>(w)->setPicture(c.picture()); break;
    case Kind::ScrollBar: {
      auto* bar = static_cast<QScrollBar*>(w);
      bar->setRange(c.min(), c.max());
      bar->setSingleStep(c.smallChange());
      bar->setPageStep(c.largeChange());
      if (!bar->isSliderDown()) bar->setValue(c.value());
      break;
    }
  }
  if (w->isVisibleTo(w->parentWidget()) != c.visible()) w->setVisible(c.visible());
}

void MainWindow::applyList(Entry& e) {
  const Control& c = *e.control;
  auto* list = static_cast<QListWidget*>(e.widget);
  const auto& items = c.items();
  bool same = list->count() == static_cast<int>(items.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == q(items[i]);
  if (!same) {
    list->clear();
    for (const auto& item : items) list->addItem(q(item));
  }
  if (c.listIndex() >= 0) {
    list->setCurrentRow(c.listIndex());
  } else {
    list->clearSelection();
    list->setCurrentRow(-1);
  }
  if (c.topIndex() > 0 && c.topIndex() < list->count())
    list->scrollToItem(list->item(c.topIndex()), QAbstractItemView::PositionAtTop);
  if (c.listIndex() >= 0) list->scrollToItem(list->item(c.listIndex()), QAbstractItemView::EnsureVisible);
}

void MainWindow::applyGrid(Entry& e) {
  const GridModel& g = e.control->grid();
  if (e.grid && sameGrid(*e.grid, g)) return;
  e.grid = g;
  auto* table = static_cast<QTableWidget*>(e.widget);
  table->setUpdatesEnabled(false);

  QFont font = table->font();
  if (font.pointSize() != g.fontSize && g.fontSize > 0) {
    font.setPointSize(g.fontSize);
    table->setFont(font);
  }
  table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
  table->setColumnCount(g.cols);
  table->setRowCount(g.rows - 1);
  for (int col = 0; col < g.cols; ++col) {
    // Model row 0 is the fixed header row.
    QTableWidgetItem* header = table->horizontalHeaderItem(col);
    if (!header) {
      header = new QTableWidgetItem;
      table->setHorizontalHeaderItem(col, header);
    }
    header->setText(q(g.cells[0][col]));
    header->setTextAlignment(toQt(g.headerAlign[col]) | Qt::AlignVCenter);
    table->setColumnWidth(col, toPixels(g.colWidths[col]));
    const Qt::Alignment align = toQt(g.dataAlign[col]) | Qt::AlignVCenter;
    for (int row = 1; row < g.rows; ++row) {
      QTableWidgetItem* item = table->item(row - 1, col);
      if (!item) {
        item = new QTableWidgetItem;
        table->setItem(row - 1, col, item);
      }
      const QString text = q(g.cells[row][col]);
      if (item->text() != text) item->setText(text);
      if (item->textAlignment() != static_cast<int>(align)) item->setTextAlignment(align);
    }
  }
  table->setUpdatesEnabled(true);
  // The scroll range must know the new rows before the view can scroll to one of them.
  table->doItemsLayout();
  if (g.topRow >= 1 && g.topRow < g.rows)
    table->scrollTo(table->model()->index(g.topRow - 1, 0), QAbstractItemView::PositionAtTop);
}

void MainWindow::applyChart(Entry& e) {
  const ChartModel& model = e.control->chart();
  if (e.chart && sameChart(*e.chart, model)) return;
  e.chart = model;
  std::vector<QString> names;
  if (e.control->name() == "MSChart1")
    for (const char* check : {"Check3", "Check4", "Check5", "Check6"})
      if (m_.form.has(check)) names.push_back(q(m_.form(check).caption()));
  fillChart(*static_cast<QChartView*>(e.widget)->chart(), model, names);
}

void MainWindow::applyFocus() {
  if (m_.form.focusChanges() == focusSeen_) return;
  focusSeen_ = m_.form.focusChanges();
  if (QWidget* w = widget(m_.form.focus())) w->setFocus(Qt::OtherFocusReason);
}

void MainWindow::applyBusy() {
  if (m_.form.busy() == busyShown_) return;
  busyShown_ = m_.form.busy();
  if (busyShown_)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

}  // namespace ui::qt
