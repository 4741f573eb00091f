// The keyboard and the menus of the window: the shortcuts, the keys a control hands to the core,
// the record menus, the Tab order, and the names a screen reader speaks.
#include <QAbstractItemView>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QShortcut>
#include <QTableWidget>
#include <algorithm>
#include <map>

#include "qt/main_window.h"
#include "qt/window_widgets.h"

namespace qt {

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

namespace {

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

}  // namespace

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
    const auto around = labels.find(e.control->parent());
    spokenBy_.push_back(captionBeside(e, around == labels.end() ? none : around->second));
  }
  // Shortcuts of the whole window; the core decides what each does where the focus is.
  auto shortcut = [this](const QKeySequence& keys, const std::string& key) {
    auto* s = new QShortcut(keys, this);
    // Quitting works from the help window too.
    s->setContext(key == "Ctrl+Q" ? Qt::ApplicationShortcut : Qt::WindowShortcut);
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

void MainWindow::setUpKeys(Entry& e) {
  const std::string base = app::splitControlName(e.control->name()).first;
  // The weekday headers and the charts only show; the keyboard passes them by.
  if (base == "Command1" || e.control->kind() == form::Kind::Chart) e.widget->setFocusPolicy(Qt::NoFocus);
  // An entry wider than its list is cut short (keeping what follows " _ ") instead of scrolling.
  if (e.control->kind() == form::Kind::ListBox) {
    auto* list = static_cast<QListView*>(e.widget);
    list->setItemDelegate(new EntryElideDelegate(list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  if (!m_.MenuItems(e.control->name()).empty()) setUpRecordMenu(e);
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
    if (!e.widget || !(e.widget->focusPolicy() & Qt::TabFocus)) continue;
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
}  // namespace qt
