// Applying the model: every widget whose control changed is brought up to date after an event.
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>

#include "qt/chart_fill.h"
#include "qt/main_window.h"
#include "qt/pictures.h"
#include "qt/window_widgets.h"

namespace qt {

namespace {

bool sameChart(const form::ChartModel& a, const form::ChartModel& b) {
  return a.rowCount == b.rowCount && a.columnCount == b.columnCount && a.data == b.data &&
         a.seriesVisible == b.seriesVisible && a.axisMin == b.axisMin && a.axisMax == b.axisMax &&
         a.rowDays == b.rowDays && a.dayRange == b.dayRange && a.seriesNames == b.seriesNames;
}

}  // namespace

QWidget* MainWindow::widget(const std::string& name) {
  auto it = byName_.find(name);
  if (it == byName_.end()) return nullptr;
  if (const size_t page = entries_[it->second].page; page != kNoPage) buildPage(page, true);
  return entries_[it->second].widget;
}

int MainWindow::refresh() {
  ++applying_;
  int rewritten = 0;
  // A page shown for the first time gets its widgets (not while the window is being made: the
  // model shows every page until start-up has chosen one).
  bool built = false;
  if (!building_)
    for (size_t i = 0; i < entries_.size(); ++i)
      if (isPageFrame(*entries_[i].control) && !entries_[i].pageBuilt && entries_[i].control->visible())
        buildPage(i, false), built = true;
  // The trend line is the window's own: its box redraws the weight chart.
  if (auto it = byName_.find("Check7");
      it != byName_.end() && entries_[it->second].control->changes() != entries_[it->second].seen)
    if (auto chart = byName_.find("MSChart1"); chart != byName_.end()) entries_[chart->second].dirty = true;
  for (Entry& e : entries_) {
    if (!e.widget || (!e.dirty && e.seen == e.control->changes())) continue;
    e.dirty = false;
    e.seen = e.control->changes();
    apply(e);
    ++rewritten;
  }
  // Names for a screen reader follow the captions, also those of the label beside a control.
  if (rewritten > 0)
    for (Entry& e : entries_)
      if (const QString spoken = spokenName(e); e.widget && e.widget->accessibleName() != spoken)
        e.widget->setAccessibleName(spoken);
  if (built) setTabOrderByReading();
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

  // A fixed colour of the model comes with a text colour that reads on it, whatever the desktop's
  // palette (light text on a light calendar mark would vanish).
  auto colours = [&](QPalette::ColorRole back, QPalette::ColorRole fore) {
    QPalette pal = QApplication::palette(w);
    if (c.backColor() || c.foreColor()) {
      const QColor background = c.backColor() ? toQColor(*c.backColor()) : pal.color(back);
      if (c.backColor()) pal.setColor(back, background);
      pal.setColor(fore, readableOn(c.foreColor() ? toQColor(*c.foreColor()) : pal.color(fore), background));
    }
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
      static_cast<ButtonWidget*>(button)->setOutlined(c.outlined());
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
void MainWindow::applyChart(Entry& e) {
  const form::ChartModel& model = e.control->chart();
  QChart& chart = *static_cast<QChartView*>(e.widget)->chart();
  ChartLook look;
  // The trend line is the window's own, over whatever the weight chart's boxes show.
  if (e.control->name() == "MSChart1" && m_.form.has("Check7") && m_.form("Check7").value() == 1) {
    look.extraName = q(m_.form("Check7").caption());
    for (float kg : m_.weight.WeightTrend) look.extra.push_back(kg);
  }
  if (e.control->name() == "MSChart1") look.passedRows = m_.Weight.WeightFilled;
  look.font = canvas_->font();
  look.xLabels =
      std::max(2, e.widget->width() / std::max(1, 2 * QFontMetrics(canvas_->font()).horizontalAdvance("00/00")));
  if (e.chart && sameChart(*e.chart, model) && e.chartExtra == look.extra && e.chartLabelCount == look.xLabels) {
    setChartFont(chart, *look.font);
    return;
  }
  e.chart = model;
  e.chartExtra = look.extra;
  e.chartLabelCount = look.xLabels;
  fillChart(chart, model, look);
}

// The desktop's palette changed (a dark theme chosen): the fixed colours get their text colours anew.
void MainWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() != QEvent::PaletteChange) return;
  for (Entry& e : entries_) e.dirty = true;
  refresh();
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
