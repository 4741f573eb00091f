#include "qt/main_window.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDrag>
#include <QGroupBox>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "qt/chart_fill.h"
#include "qt/pictures.h"
#include "qt/qt_dialogs.h"

namespace qt {

int toPixels(int twips) { return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel; }

double fitScale(QSize natural, QSize space) {
  if (natural.isEmpty()) return 1.0;
  const double s = std::min(static_cast<double>(space.width()) / natural.width(),
                            static_cast<double>(space.height()) / natural.height());
  return std::max(kMinScale, s);
}

namespace {

constexpr const char* kListDragFormat = "application/x-zorvel-list-entry";

QString q(const std::string& s) { return QString::fromStdString(s); }

QColor toQColor(form::Color c) { return QColor((c >> 16) & 0xff, (c >> 8) & 0xff, c & 0xff); }

// Captions and texts keep their line breaks as CR LF; Qt wants LF.
QString display(const std::string& s) { return q(s).replace("\r\n", "\n").replace('\r', '\n'); }
std::string stored(const QString& s) { return QString(s).replace("\n", "\r\n").toStdString(); }

Qt::Alignment toQt(form::Align a) {
  switch (a) {
    case form::Align::Left: return Qt::AlignLeft;
    case form::Align::Center: return Qt::AlignHCenter;
    case form::Align::Right: return Qt::AlignRight;
  }
  return Qt::AlignLeft;
}

// The keys a control hands to the core instead of to its widget: the date keys of the date
// selector, Delete on the day's lists, Enter on the registered items.
std::optional<std::string> controlKey(const std::string& name, const QKeyEvent& ke) {
  if (ke.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return std::nullopt;
  const std::string base = app::splitControlName(name).first;
  if (base == "txtDate" || base == "VScroll1") {
    switch (ke.key()) {
      case Qt::Key_Up: return "Up";
      case Qt::Key_Down: return "Down";
      case Qt::Key_PageUp: return "PageUp";
      case Qt::Key_PageDown: return "PageDown";
      case Qt::Key_Home: return "Home";
      default: return std::nullopt;
    }
  }
  if ((base == "List8" || base == "List9") && ke.key() == Qt::Key_Delete) return "Delete";
  if (base == "List10" && (ke.key() == Qt::Key_Return || ke.key() == Qt::Key_Enter)) return "Enter";
  return std::nullopt;
}

// Names for a screen reader where a control has no caption of its own.
const std::map<std::string, const char*, std::less<>> kSpokenNames = {
    {"txtDate", "日付"},
    {"VScroll1", "日付の選択"},
    {"MSChart1", "体重グラフ"},
    {"MSChart2", "体脂肪率グラフ"},
    {"MSChart3", "歩数グラフ"},
    {"MSChart4", "脂肪量グラフ"},
    {"MSChart5", "一日の体重グラフ"},
    {"msgB1", "時系列体重データ"},
    {"msgB2", "区切り経過"},
    {"msgB3", "体重平均推移"},
    {"msgB4", "体重推移累積番付"},
    {"msgTaiList", "体重の記録"},
    {"msgShiList", "体脂肪率の記録"},
    {"msgSuiList", "脂肪量の記録"},
    {"msgHosuList", "歩数の記録"},
    {"txtDiary", "日記のコメント"},
    {"List6", "不足している栄養"},
    {"List7", "おすすめの食材"},
    {"List11", "栄養のアドバイス"},
    {"List9", "運動"},
    {"HScroll1", "身長"},
    {"Image1", "ＢＭＩの位置"},
    {"Image2", "ＢＭＩの位置"},
};

const char* kindWord(form::Kind k) {
  switch (k) {
    case form::Kind::Label: return "表示";
    case form::Kind::Frame: return "枠";
    case form::Kind::CommandButton: return "ボタン";
    case form::Kind::CheckBox: return "チェック";
    case form::Kind::OptionButton: return "選択";
    case form::Kind::TextBox: return "入力欄";
    case form::Kind::ListBox: return "リスト";
    case form::Kind::Grid: return "表";
    case form::Kind::Chart: return "グラフ";
    case form::Kind::Shape: return "棒グラフ";
    case form::Kind::Image: return "絵";
    case form::Kind::ScrollBar: return "スクロールバー";
  }
  return "";
}

// Long entries lose the end of their name, never the calories or count after " _ ".
class EntryElideDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // A row is as wide as its text; only the part inside the list is seen.
    if (const auto* view = qobject_cast<const QAbstractScrollArea*>(opt.widget))
      opt.rect.setRight(std::min(opt.rect.right(), view->viewport()->width() - 1));
    const QFontMetrics fm(opt.font);
    const int room = opt.rect.width() - 8;
    if (fm.horizontalAdvance(opt.text) > room) {
      const qsizetype cut = opt.text.lastIndexOf(" _ ");
      if (cut > 0) {
        const QString tail = opt.text.mid(cut);
        opt.text =
            fm.elidedText(opt.text.left(cut), Qt::ElideRight, std::max(0, room - fm.horizontalAdvance(tail))) + tail;
      } else {
        opt.text = fm.elidedText(opt.text, Qt::ElideRight, room);
      }
    }
    const QWidget* w = opt.widget;
    (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
  }
};

// A list box's entries as the view asks for them, read from the form model: a list of a million
// notes makes no million Qt items. The view is told of every change by applyList. A long entry is
// cut short on screen, so its whole text is also its tooltip.
class EntryListModel : public QAbstractListModel {
 public:
  EntryListModel(const form::Control& c, QObject* parent) : QAbstractListModel(parent), c_(c) {}
  int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    const std::vector<std::string>& items = c_.items();
    const int row = index.row();
    if (!index.isValid() || row >= rows_ || row >= static_cast<int>(items.size())) return {};
    return q(items[static_cast<size_t>(row)]);
  }
  // Entries added after the ones shown, or every entry anew.
  void append(int rows) {
    if (rows <= rows_) return;
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    rows_ = rows;
    endInsertRows();
  }
  void reset(int rows) {
    beginResetModel();
    rows_ = rows;
    endResetModel();
  }

 private:
  const form::Control& c_;
  int rows_ = 0;
};

EntryListModel& entriesOf(const QListView& list) { return *static_cast<EntryListModel*>(list.model()); }

bool isPageFrame(const form::Control& c) { return c.kind() == form::Kind::Frame && c.parent().empty(); }

// Kinds drawn on their container rather than being windows of their own; the windowed kinds stack
// above them, whatever the creation order.
bool isGraphical(form::Kind k) { return k == form::Kind::Label || k == form::Kind::Shape || k == form::Kind::Image; }

bool sameGrid(const form::GridModel& a, const form::GridModel& b) {
  return a.rows == b.rows && a.cols == b.cols && a.cells == b.cells && a.colWidths == b.colWidths &&
         a.dataAlign == b.dataAlign && a.headerAlign == b.headerAlign && a.topRow == b.topRow &&
         a.fontSize == b.fontSize;
}

bool sameChart(const form::ChartModel& a, const form::ChartModel& b) {
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
  host_ = new QWidget(this);
  host_->setObjectName("host");
  canvas_ = new QWidget(host_);
  canvas_->setObjectName("canvas");
  baseFont_ = canvas_->font();

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
  setUpKeyboard();

  natural_ = QSize(toPixels(right) + 6, toPixels(bottom) + 6);
  canvas_->setFixedSize(natural_);
  host_->setMinimumSize(natural_ * kMinScale);
  setCentralWidget(host_);
  resize(natural_);
  refresh();
  setTabOrderByReading();
}

// The record row under `pos` (viewport coordinates), or the current one for the Menu key: for a
// grid counted with the header row as 0, for a list from 0; -1 for none.
int MainWindow::recordRowAt(const Entry& e, const QPoint& pos) const {
  if (e.control->kind() == form::Kind::Grid) {
    auto* table = static_cast<QTableWidget*>(e.widget);
    int row = table->rowAt(pos.y());
    if (row < 0) row = table->currentRow();
    return row < 0 ? -1 : row + 1;
  }
  auto* list = static_cast<QListView*>(e.widget);
  const QModelIndex index = list->indexAt(pos);
  return index.isValid() ? index.row() : list->currentIndex().row();
}

// Tables and lists of stored records: a context menu (right click or the Menu key) with the
// core's items for the row, a double-click on a table row corrects it.
void MainWindow::setUpRecordMenu(Entry& e) {
  e.widget->setContextMenuPolicy(Qt::CustomContextMenu);
  const std::string name = e.control->name();
  const size_t index = static_cast<size_t>(&e - entries_.data());
  connect(e.widget, &QWidget::customContextMenuRequested, this, [this, name, index](const QPoint& pos) {
    const int row = recordRowAt(entries_[index], pos);
    QMenu menu(entries_[index].widget);
    for (const std::string& item : m_.MenuItems(name)) {
      QAction* action = menu.addAction(q(item));
      // 元に戻す needs no row; the others act on the row under the pointer.
      action->setEnabled(row >= 0 || item == app::kUndoAction);
    }
    auto* viewport = static_cast<QAbstractScrollArea*>(entries_[index].widget)->viewport();
    QAction* chosen = menu.exec(viewport->mapToGlobal(pos));
    if (!chosen) return;
    const std::string action = chosen->text().toStdString();
    if (row >= 0) forward([this, name, row] { m_.Select(name, row); });
    forward([this, name, row, action] { m_.Menu(name, row, action); });
  });
  if (e.control->kind() == form::Kind::Grid) {
    auto* table = static_cast<QTableWidget*>(e.widget);
    connect(table, &QTableWidget::cellDoubleClicked, this, [this, name](int row, int) {
      forward([this, name, row] { m_.Select(name, row + 1); });
      forward([this, name] { m_.DblClick(name); });
    });
    connect(table, &QTableWidget::currentCellChanged, this, [this, name](int row, int, int, int) {
      if (!applying_ && row >= 0) forward([this, name, row] { m_.Select(name, row + 1); });
    });
  }
}

void MainWindow::setUpKeyboard() {
  // The labels of each container, for finding the caption a control stands by.
  std::map<std::string, std::vector<const form::Control*>, std::less<>> labels;
  for (const Entry& e : entries_)
    if (e.control->kind() == form::Kind::Label) labels[e.control->parent()].push_back(e.control);
  static const std::vector<const form::Control*> none;
  for (Entry& e : entries_) {
    const std::string base = app::splitControlName(e.control->name()).first;
    // The weekday headers and the charts only show; the keyboard passes them by.
    if (base == "Command1" || e.control->kind() == form::Kind::Chart) e.widget->setFocusPolicy(Qt::NoFocus);
    // An entry wider than its list is cut short (keeping what follows " _ ") instead of scrolling.
    if (e.control->kind() == form::Kind::ListBox) {
      auto* list = static_cast<QListView*>(e.widget);
      list->setItemDelegate(new EntryElideDelegate(list));
      list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    const auto around = labels.find(e.control->parent());
    spokenBy_.push_back(captionBeside(e, around == labels.end() ? none : around->second));
    if (!m_.MenuItems(e.control->name()).empty()) setUpRecordMenu(e);
  }
  // Shortcuts of the whole window; the core decides what each does where the focus is.
  auto shortcut = [this](const QKeySequence& keys, const std::string& key) {
    auto* s = new QShortcut(keys, this);
    s->setContext(Qt::WindowShortcut);
    connect(s, &QShortcut::activated, this, [this, key] {
      forward([this, key] { m_.Key(m_.form.focus().empty() ? "cmdMain" : m_.form.focus(), key); });
    });
  };
  shortcut(QKeySequence(Qt::Key_F1), "F1");
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), "Ctrl+Q");
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), "Ctrl+S");
  // A text box keeps Ctrl+Z for its own typing; everywhere else it takes back the last stored change.
  shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), "Ctrl+Z");
  for (int digit = 0; digit <= 9; ++digit)
    shortcut(QKeySequence(Qt::ALT | static_cast<Qt::Key>(Qt::Key_0 + digit)), "Alt+" + std::to_string(digit));
}

// Tab goes through the controls as one reads the window: row by row from the top, each row from
// the left. Hidden pages drop out of the chain by themselves.
void MainWindow::setTabOrderByReading() {
  struct Stop {
    QWidget* widget;
    int row, x;
  };
  std::vector<Stop> stops;
  const int rowHeight = std::max(1, px(150));
  for (Entry& e : entries_) {
    if (!(e.widget->focusPolicy() & Qt::TabFocus)) continue;
    const QPoint at = e.widget->mapTo(canvas_, QPoint(0, 0));
    stops.push_back({e.widget, at.y() / rowHeight, at.x()});
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const Stop& a, const Stop& b) { return a.row != b.row ? a.row < b.row : a.x < b.x; });
  for (size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1].widget, stops[i].widget);
}

// The label a control stands beside or under, if one is close by; `labels` are the labels of its
// container.
const form::Control* MainWindow::captionBeside(const Entry& e, const std::vector<const form::Control*>& labels) const {
  const form::Control& c = *e.control;
  const form::Control* best = nullptr;
  long bestDistance = 0;
  for (const form::Control* label : labels) {
    const form::Control& o = *label;
    if (&o == &c) continue;
    const bool beside =
        o.left() + o.width() <= c.left() + 30 && o.top() < c.top() + c.height() && c.top() < o.top() + o.height();
    const bool above =
        o.top() + o.height() <= c.top() + 30 && o.left() < c.left() + c.width() && c.left() < o.left() + o.width();
    if (!beside && !above) continue;
    const long distance = beside ? c.left() - (o.left() + o.width()) : c.top() - (o.top() + o.height());
    if (!best || distance < bestDistance) best = &o, bestDistance = distance;
  }
  return best && bestDistance < 1500 ? best : nullptr;
}

// A control without a caption is named by what it is, by its tooltip, or by the caption it stands
// beside or under.
QString MainWindow::spokenName(const Entry& e) const {
  const form::Control& c = *e.control;
  if (!c.caption().empty() && c.kind() != form::Kind::TextBox) return display(c.caption());
  const std::string base = app::splitControlName(c.name()).first;
  if (auto it = kSpokenNames.find(c.name()); it != kSpokenNames.end()) return q(it->second);
  if (auto it = kSpokenNames.find(base); it != kSpokenNames.end()) return q(it->second);
  if (!c.toolTip().empty() && c.kind() != form::Kind::TextBox) return display(c.toolTip());
  const size_t index = static_cast<size_t>(&e - entries_.data());
  if (const form::Control* beside = index < spokenBy_.size() ? spokenBy_[index] : nullptr;
      beside && !beside->caption().empty())
    return display(beside->caption());
  if (!c.parent().empty() && m_.form.has(c.parent()) && !m_.form(c.parent()).caption().empty())
    return display(m_.form(c.parent()).caption());
  return q(kindWord(c.kind()));
}

int MainWindow::px(int twips) const { return static_cast<int>(std::lround(twips * scale_ / kTwipsPerPixel)); }

void MainWindow::showEvent(QShowEvent* event) {
  shown_ = true;
  QMainWindow::showEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  layoutCanvas();
}

void MainWindow::layoutCanvas() {
  const QSize space = host_->size();
  setScale(fitScale(natural_, space));
  const QSize used = canvas_->size();
  canvas_->move(std::max(0, (space.width() - used.width()) / 2), std::max(0, (space.height() - used.height()) / 2));
}

void MainWindow::setScale(double scale) {
  if (std::abs(scale - scale_) < 1e-4) return;
  scale_ = scale;
  QFont font = baseFont_;
  font.setPointSizeF(baseFont_.pointSizeF() * scale_);
  canvas_->setFont(font);
  canvas_->setFixedSize(static_cast<int>(std::lround(natural_.width() * scale_)),
                        static_cast<int>(std::lround(natural_.height() * scale_)));
  for (Entry& e : entries_) e.dirty = true;
  refresh();
}

void MainWindow::fitInto(const QRect& available) {
  // Before the first show the frame is unknown; leave room for a usual title bar and border.
  const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 40);
  const QSize room = available.size() - frame;
  QSize size = natural_;
  if (size.width() > room.width() || size.height() > room.height()) {
    const double s = fitScale(natural_, room);
    size = QSize(static_cast<int>(natural_.width() * s), static_cast<int>(natural_.height() * s));
  }
  resize(size);
  const QSize outer = size + frame;
  move(available.x() + std::max(0, (available.width() - outer.width()) / 2),
       available.y() + std::max(0, (available.height() - outer.height()) / 2));
}

void MainWindow::restorePlacement() {
  remember_ = true;
  const QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zorvel", "zorvel");
  const QByteArray saved = settings.value("window/geometry").toByteArray();
  if (!saved.isEmpty() && restoreGeometry(saved)) {
    // A size from a larger screen than today's is fitted again.
    const QScreen* now = screen();
    if (now && now->availableGeometry().contains(frameGeometry())) return;
  }
  if (const QScreen* primary = QGuiApplication::primaryScreen()) fitInto(primary->availableGeometry());
}

void MainWindow::savePlacement() {
  if (!remember_) return;
  QSettings settings(QSettings::IniFormat, QSettings::UserScope, "Zorvel", "zorvel");
  settings.setValue("window/geometry", saveGeometry());
}

QWidget* MainWindow::create(Entry& e, QWidget* parent) {
  const form::Control& c = *e.control;
  switch (c.kind()) {
    case form::Kind::Label: {
      auto* w = new QLabel(parent);
      w->setTextFormat(Qt::PlainText);
      w->setWordWrap(true);
      w->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      // A path the user may want to copy.
      if (c.name() == "lblDataFolder") w->setTextInteractionFlags(Qt::TextSelectableByMouse);
      return w;
    }
    case form::Kind::Frame: {
      if (isPageFrame(c)) {
        auto* w = new QFrame(parent);
        w->setFrameShape(QFrame::StyledPanel);
        return w;
      }
      return new QGroupBox(parent);
    }
    case form::Kind::CommandButton: return new QPushButton(parent);
    case form::Kind::CheckBox: return new PictureCheckBox(parent);
    case form::Kind::OptionButton: {
      auto* w = new QRadioButton(parent);
      // The model keeps one option of a group selected; Qt must not decide on its own.
      w->setAutoExclusive(false);
      return w;
    }
    case form::Kind::TextBox: {
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
    case form::Kind::ListBox: {
      auto* w = new QListView(parent);
      w->setModel(new EntryListModel(c, w));
      // Entries are one line each, and a row reaches past the list's right edge only where no one
      // sees it (there is no sideways scrolling): laying out thousands of them needs no measuring.
      w->setUniformItemSizes(true);
      w->setSelectionMode(QAbstractItemView::SingleSelection);
      w->setAcceptDrops(true);
      w->viewport()->setAcceptDrops(true);
      return w;
    }
    case form::Kind::Grid: {
      auto* w = new QTableWidget(parent);
      w->setEditTriggers(QAbstractItemView::NoEditTriggers);
      w->setSelectionMode(QAbstractItemView::SingleSelection);
      w->verticalHeader()->setVisible(false);
      w->horizontalHeader()->setHighlightSections(false);
      w->setWordWrap(false);
      // Columns shrink to the table's width rather than run off its right edge.
      w->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      w->horizontalHeader()->setMinimumSectionSize(4);
      w->verticalHeader()->setMinimumSectionSize(4);
      // Whole rows, as the newest-row-on-top scrolling expects.
      w->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
      return w;
    }
    case form::Kind::Chart: {
      auto* chart = new QChart;
      chart->setMargins(QMargins(4, 4, 4, 4));
      chart->legend()->setAlignment(Qt::AlignBottom);
      auto* w = new QChartView(chart, parent);
      w->setRenderHint(QPainter::Antialiasing);
      return w;
    }
    case form::Kind::Shape: return new ShapeWidget(parent);
    case form::Kind::Image: {
      auto* w = new PictureWidget(parent);
      w->setAttribute(Qt::WA_TranslucentBackground);
      return w;
    }
    case form::Kind::ScrollBar: return new QScrollBar(c.width() > c.height() ? Qt::Horizontal : Qt::Vertical, parent);
  }
  return new QWidget(parent);
}

// ---------------------------------------------------------------- events in

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

MainWindow::Entry* MainWindow::entryOf(QObject* object) {
  auto it = byObject_.find(object);
  return it == byObject_.end() ? nullptr : &entries_[it->second];
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

namespace {
// Clears the window's in-event flag when the handler returns, also by an exception.
struct InEvent {
  bool& flag;
  ~InEvent() { flag = false; }
};
}  // namespace

void MainWindow::forward(const std::function<void()>& event) {
  // A handler runs to its end before the next event; only timers (a held scroll arrow) could
  // reach the window while one of its boxes is up.
  if (m_.ended() || finishing_ || inEvent_) return;
  {
    InEvent running{inEvent_ = true};
    event();
  }
  refresh();
  if (m_.ended()) finish();
}

void MainWindow::finish() {
  if (finishing_) return;
  finishing_ = true;
  savePlacement();
  m_.dialogs.closeHelp();
  close();
  emit quitRequested();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!finishing_) {
    // The user may choose to stay on an unsaved diary day. Not through forward(): the close box
    // leaves the help windows open.
    if (inEvent_) return event->ignore();
    bool ended = false;
    {
      InEvent running{inEvent_ = true};
      ended = m_.CloseWindow();
    }
    refresh();
    if (!ended) return event->ignore();
    finishing_ = true;
    savePlacement();
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
  // The trend line is the window's own: its box redraws the weight chart.
  if (auto it = byName_.find("Check7");
      it != byName_.end() && entries_[it->second].control->changes() != entries_[it->second].seen)
    if (auto chart = byName_.find("MSChart1"); chart != byName_.end()) entries_[chart->second].dirty = true;
  for (Entry& e : entries_) {
    if (!e.dirty && e.seen == e.control->changes()) continue;
    e.dirty = false;
    e.seen = e.control->changes();
    apply(e);
    ++rewritten;
  }
  // Names for a screen reader follow the captions, also those of the label beside a control.
  if (rewritten > 0)
    for (Entry& e : entries_)
      if (const QString spoken = spokenName(e); e.widget->accessibleName() != spoken)
        e.widget->setAccessibleName(spoken);
  applyFocus();
  applyBusy();
  --applying_;
  return rewritten;
}

void MainWindow::apply(Entry& e) {
  const form::Control& c = *e.control;
  QWidget* w = e.widget;
  const QSignalBlocker block(w);

  QRect geometry(px(c.left()), px(c.top()), px(c.width()), px(c.height()));
  const bool moved = geometry != e.geometry;
  if (moved) {
    w->setGeometry(geometry);
    e.geometry = geometry;
  }
  w->setEnabled(c.enabled());
  if (w->toolTip() != q(c.toolTip())) w->setToolTip(q(c.toolTip()));
  // What a screen reader says: the caption, or the name the control goes by.

  auto colours = [&](QPalette::ColorRole back, QPalette::ColorRole fore) {
    QPalette pal = QApplication::palette(w);
    if (c.backColor()) pal.setColor(back, toQColor(*c.backColor()));
    if (c.foreColor()) pal.setColor(fore, toQColor(*c.foreColor()));
    w->setPalette(pal);
  };

  switch (c.kind()) {
    case form::Kind::Label: {
      auto* label = static_cast<QLabel*>(w);
      if (label->text() != display(c.caption())) label->setText(display(c.caption()));
      label->setAutoFillBackground(c.backColor().has_value());
      colours(QPalette::Window, QPalette::WindowText);
      break;
    }
    case form::Kind::Frame:
      if (auto* box = qobject_cast<QGroupBox*>(w)) box->setTitle(display(c.caption()));
      if (c.backColor()) {
        w->setAutoFillBackground(true);
        colours(QPalette::Window, QPalette::WindowText);
      }
      break;
    case form::Kind::CommandButton: {
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
      if (c.outlined()) {
        const QColor back = c.backColor() ? toQColor(*c.backColor()) : QApplication::palette(w).color(QPalette::Button);
        button->setStyleSheet(
            QString("QPushButton { border: 3px solid #d02020; border-radius: 3px; background: %1; }").arg(back.name()));
      } else if (!button->styleSheet().isEmpty()) {
        button->setStyleSheet(QString());
      }
      break;
    }
    case form::Kind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(w);
      box->setText(display(c.caption()).replace("&", "&&"));
      box->setChecked(c.value() != 0);
      static_cast<PictureCheckBox*>(box)->setPicture(c.picture());
      colours(QPalette::Window, QPalette::WindowText);
      break;
    }
    case form::Kind::OptionButton: {
      auto* radio = static_cast<QRadioButton*>(w);
      radio->setText(display(c.caption()).replace("&", "&&"));
      radio->setChecked(c.value() != 0);
      break;
    }
    case form::Kind::TextBox:
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
    case form::Kind::ListBox:
    case form::Kind::Grid:
    case form::Kind::Chart:
      applyContent(e);
      // An enlarged chart lies over its neighbours.
      if (moved && c.kind() == form::Kind::Chart) w->raise();
      break;
    case form::Kind::Shape: static_cast<ShapeWidget*>(w)->setFill(toQColor(c.fillColor())); break;
    case form::Kind::Image: static_cast<PictureWidget*>(w)->setPicture(c.picture()); break;
    case form::Kind::ScrollBar: {
      auto* bar = static_cast<QScrollBar*>(w);
      bar->setRange(c.min(), c.max());
      bar->setSingleStep(c.smallChange());
      bar->setPageStep(c.largeChange());
      if (!bar->isSliderDown()) bar->setValue(c.value());
      break;
    }
  }
  if (w->isVisibleTo(w->parentWidget()) != c.visible()) {
    w->setVisible(c.visible());
    // A frame shown over others (the fat-mass view over the body-fat chart) must lie on top.
    if (c.visible() && c.kind() == form::Kind::Frame) w->raise();
  }
}

void MainWindow::applyContent(Entry& e) {
  // Filling a hidden page's lists and tables would only slow down the start and every change;
  // they are filled when the page is shown, a table keeping its row and column counts meanwhile
  // once the window is up. Charts wait only for the window's first showing: once it is up they
  // follow the model wherever they are.
  const bool later = !e.widget->isVisible() && (e.control->kind() != form::Kind::Chart || !shown_);
  if (later) {
    e.pending = true;
    // Before the first showing no one asks; the first fill sets the size too.
    if (e.control->kind() == form::Kind::Grid && shown_) {
      const form::GridModel& g = e.control->grid();
      auto* table = static_cast<QTableWidget*>(e.widget);
      if (table->columnCount() != g.cols) table->setColumnCount(g.cols);
      if (table->rowCount() != std::max(0, g.rows - 1)) table->setRowCount(std::max(0, g.rows - 1));
    }
    return;
  }
  e.pending = false;
  switch (e.control->kind()) {
    case form::Kind::ListBox: applyList(e); break;
    case form::Kind::Grid: applyGrid(e); break;
    case form::Kind::Chart: applyChart(e); break;
    default: break;
  }
}

void MainWindow::showPending(Entry& e) {
  ++applying_;
  {
    const QSignalBlocker block(e.widget);
    applyContent(e);
  }
  --applying_;
}

void MainWindow::applyList(Entry& e) {
  const form::Control& c = *e.control;
  auto* list = static_cast<QListView*>(e.widget);
  EntryListModel& model = entriesOf(*list);
  const auto& items = c.items();
  const int count = static_cast<int>(items.size());
  std::vector<size_t> hashes(items.size());
  std::transform(items.begin(), items.end(), hashes.begin(), std::hash<std::string>());
  if (!e.listHashes || *e.listHashes != hashes || model.rowCount() != count) {
    // Entries added at the end (the usual change) keep the ones before them.
    const bool appended = e.listHashes && model.rowCount() == static_cast<int>(e.listHashes->size()) &&
                          hashes.size() >= e.listHashes->size() &&
                          std::equal(e.listHashes->begin(), e.listHashes->end(), hashes.begin());
    // Either way the list starts again from its top, as a refilled one does.
    if (appended) {
      list->scrollToTop();
      model.append(count);
    } else {
      model.reset(count);
    }
    e.listHashes = std::move(hashes);
  }
  if (c.listIndex() >= 0) {
    list->setCurrentIndex(model.index(c.listIndex()));
  } else {
    list->clearSelection();
    list->setCurrentIndex(QModelIndex());
  }
  if (c.topIndex() > 0 && c.topIndex() < count)
    list->scrollTo(model.index(c.topIndex()), QAbstractItemView::PositionAtTop);
  if (c.listIndex() >= 0) list->scrollTo(model.index(c.listIndex()), QAbstractItemView::EnsureVisible);
}

void MainWindow::applyGrid(Entry& e) {
  const form::GridModel& g = e.control->grid();
  auto* table = static_cast<QTableWidget*>(e.widget);
  // The font follows the layout's scale; the model gives its size at scale 1.
  QFont font = canvas_->font();
  if (g.fontSize > 0) font.setPointSizeF(g.fontSize * scale_);
  if (table->font() != font) {
    table->setFont(font);
    table->horizontalHeader()->setFont(font);
  }
  // The header row is as high as the others. When every row can be shown, the rows give up some
  // padding rather than need a scroll bar: text does not shrink quite in proportion to the scale.
  const int textHeight = QFontMetrics(font).height();
  int rowHeight = textHeight + std::max(2, px(90));
  const int room = table->height() - 2 * table->frameWidth();
  if (g.rows > 0 && room / g.rows > textHeight) rowHeight = std::min(rowHeight, room / g.rows);
  table->verticalHeader()->setDefaultSectionSize(rowHeight);
  table->horizontalHeader()->setFixedHeight(rowHeight);
  if (!e.grid || !sameGrid(*e.grid, g)) {
    e.grid = g;
    table->setUpdatesEnabled(false);
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
    }
    {
      // Rows and columns are in place; a report per cell would only repaint a view that is
      // repainted whole below.
      const QSignalBlocker quiet(table->model());
      for (int col = 0; col < g.cols; ++col) {
        const Qt::Alignment align = toQt(g.dataAlign[col]) | Qt::AlignVCenter;
        for (int row = 1; row < g.rows; ++row) {
          QTableWidgetItem* item = table->item(row - 1, col);
          if (!item) {
            // Made whole before it is placed: a placed item reports every change to the view.
            item = new QTableWidgetItem(q(g.cells[row][col]));
            item->setTextAlignment(align);
            table->setItem(row - 1, col, item);
            continue;
          }
          const QString text = q(g.cells[row][col]);
          if (item->text() != text) item->setText(text);
          if (item->textAlignment() != static_cast<int>(align)) item->setTextAlignment(align);
        }
      }
    }
    table->setUpdatesEnabled(true);
    table->viewport()->update();
  }
  fitColumns(*table, g);
  // The scroll range must know the new rows before the view can scroll to one of them.
  table->doItemsLayout();
  if (g.topRow >= 1 && g.topRow < g.rows)
    table->scrollTo(table->model()->index(g.topRow - 1, 0), QAbstractItemView::PositionAtTop);
}

void MainWindow::fitColumns(QTableWidget& table, const form::GridModel& g) {
  std::vector<int> widths(g.cols);
  int sum = 0;
  for (int col = 0; col < g.cols; ++col) sum += widths[col] = px(g.colWidths[col]);
  // The room inside the frame, less the vertical scroll bar when the rows need one.
  const int frame = 2 * table.frameWidth();
  int room = table.width() - frame;
  const int rowsHeight = (g.rows - 1) * table.verticalHeader()->defaultSectionSize();
  if (table.horizontalHeader()->height() + rowsHeight > table.height() - frame)
    room -= table.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &table);
  // Once laid out, the viewport knows best.
  if (table.viewport()->width() > 0 && table.isVisible()) room = std::min(room, table.viewport()->width());
  // What each column's texts need; text does not scale quite in proportion, so a column may need
  // a little more than its share.
  const QFontMetrics fm(table.font());
  const int pad = 2 * table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 4;
  std::vector<int> need(g.cols, 0);
  int needSum = 0;
  bool cut = false;
  for (int col = 0; col < g.cols; ++col) {
    // Only the longest few texts are measured: a long table is fitted on every step of a resize.
    // Their length in UTF-8 bytes goes with their width (a wide character takes three bytes).
    constexpr size_t kMeasured = 6;
    std::vector<const std::string*> longest;
    for (int row = 0; row < g.rows; ++row) {
      const std::string& text = g.cells[row][col];
      if (longest.size() == kMeasured && text.size() <= longest.back()->size()) continue;
      auto at = std::upper_bound(longest.begin(), longest.end(), &text,
                                 [](const std::string* a, const std::string* b) { return a->size() > b->size(); });
      longest.insert(at, &text);
      if (longest.size() > kMeasured) longest.pop_back();
    }
    for (const std::string* text : longest) need[col] = std::max(need[col], fm.horizontalAdvance(q(*text)) + pad);
    needSum += need[col];
    cut = cut || need[col] > widths[col];
  }
  const int total = std::min(sum, room);
  if ((cut || sum > room) && total > 0) {
    std::vector<int> share(g.cols);
    int shareSum = 0;
    if (needSum <= total) {
      // Every column gets what it needs; what is left goes where the columns had room to spare.
      for (int col = 0; col < g.cols; ++col) shareSum += share[col] = std::max(0, widths[col] - need[col]);
      if (shareSum == 0) shareSum = sum, share = widths;
      int given = 0;
      for (int col = 0; col < g.cols; ++col) {
        widths[col] = col + 1 < g.cols ? need[col] + (total - needSum) * share[col] / shareSum : total - given;
        given += widths[col];
      }
    } else {
      // Too narrow for all: the columns shrink in proportion, so none is cut off at the right.
      int given = 0;
      for (int col = 0; col < g.cols; ++col) {
        widths[col] = col + 1 < g.cols ? widths[col] * total / sum : total - given;
        given += widths[col];
      }
    }
  }
  for (int col = 0; col < g.cols; ++col)
    if (table.columnWidth(col) != widths[col]) table.setColumnWidth(col, widths[col]);
}

void MainWindow::applyChart(Entry& e) {
  const form::ChartModel& model = e.control->chart();
  QChart& chart = *static_cast<QChartView*>(e.widget)->chart();
  const std::string& name = e.control->name();
  ChartLook look;
  if (name == "MSChart1") {
    for (const char* check : {"Check3", "Check4", "Check5", "Check6"})
      if (m_.form.has(check)) look.names.push_back(q(m_.form(check).caption()));
    // The rows are the days of the diet, counted from the first weighing.
    if (m_.Weight.WeightCount > 0 && !m_.Weight.WeightDay.empty()) {
      const store::Date start = m_.Weight.WeightDay[0];
      for (int r = 0; r < model.rowCount; ++r)
        look.rowLabels.push_back(q(store::formatDate(start + std::chrono::days(r)).substr(5)));
    }
    if (m_.form.has("Check7") && m_.form("Check7").value() == 1) {
      look.extraName = q(m_.form("Check7").caption());
      for (float kg : m_.weight.WeightTrend) look.extra.push_back(kg);
    }
  } else {
    // The other charts have one row per record, labelled by the record's date.
    const auto label = [&](const auto& dates) {
      for (int r = 0; r < model.rowCount && r < static_cast<int>(dates.size()); ++r) {
        const std::string_view date = dates[static_cast<size_t>(r)];
        look.rowLabels.push_back(q(std::string(date.size() == 10 ? date.substr(5) : date)));
      }
    };
    if (name == "MSChart2") label(m_.body.FatDate);
    if (name == "MSChart3") label(m_.body.StepDate);
    if (name == "MSChart5") label(m_.body.IntradayDate);
  }
  look.font = canvas_->font();
  look.xLabels =
      std::max(2, e.widget->width() / std::max(1, 2 * QFontMetrics(canvas_->font()).horizontalAdvance("00/00")));
  if (e.chart && sameChart(*e.chart, model) && e.chartLabels == look.rowLabels && e.chartExtra == look.extra &&
      e.chartLabelCount == look.xLabels) {
    setChartFont(chart, *look.font);
    return;
  }
  e.chart = model;
  e.chartLabels = look.rowLabels;
  e.chartExtra = look.extra;
  e.chartLabelCount = look.xLabels;
  fillChart(chart, model, look);
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

}  // namespace qt
