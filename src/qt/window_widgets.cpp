// The widgets of the window: one per control of the form model, of the kind the control is.
#include "qt/window_widgets.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTableWidget>
#include <algorithm>
#include <cmath>

#include "qt/main_window.h"
#include "qt/pictures.h"

namespace qt {

Qt::Alignment toQt(form::Align a) {
  switch (a) {
    case form::Align::Left: return Qt::AlignLeft;
    case form::Align::Center: return Qt::AlignHCenter;
    case form::Align::Right: return Qt::AlignRight;
  }
  return Qt::AlignLeft;
}

void EntryElideDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
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

void ShapeWidget::setFill(QColor c) {
  if (c != fill_) {
    fill_ = c;
    update();
  }
}

void ShapeWidget::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  QPainter p(this);
  p.fillRect(rect(), fill_);
  p.setPen(fill_.darker(170));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureWidget::setPicture(const std::string& name) {
  if (name != picture_) {
    picture_ = name;
    update();
  }
}

void PictureWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  drawPicture(p, QRectF(rect()), picture_);
}

void ButtonWidget::setOutlined(bool on) {
  if (on != outlined_) {
    outlined_ = on;
    update();
  }
}

void ButtonWidget::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  if (!outlined_) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal pen = std::max(2.0, height() / 10.0);
  p.setPen(QPen(QColor(0xd0, 0x20, 0x20), pen));
  p.drawRoundedRect(QRectF(rect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2), 3, 3);
}

int IndicatorStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  const int base = QProxyStyle::pixelMetric(metric, option, widget);
  switch (metric) {
    case PM_IndicatorWidth:
    case PM_IndicatorHeight:
    case PM_ExclusiveIndicatorWidth:
    case PM_ExclusiveIndicatorHeight:
    case PM_CheckBoxLabelSpacing:
    case PM_RadioButtonLabelSpacing: return static_cast<int>(std::lround(base * scale_));
    default: return base;
  }
}

namespace {

double luminance(QColor c) {
  auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(QColor a, QColor b) {
  const double x = luminance(a), y = luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// Lays its chart out as soon as it is given its size. Left to the events Qt Charts posts, a chart
// with a legend was laid out once more after the window's first paint and drawn again: the first
// frame was whole only with that second one, some 30 ms later under X11.
class ChartWidget : public QChartView {
 public:
  using QChartView::QChartView;

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QChartView::resizeEvent(event);
    if (QChart* c = chart()) QCoreApplication::sendPostedEvents(c, QEvent::LayoutRequest);
  }
};

}  // namespace

QColor readableOn(QColor text, QColor back) {
  constexpr double kReadable = 4.5;
  if (contrast(text, back) >= kReadable) return text;
  const QColor end = contrast(Qt::black, back) >= contrast(Qt::white, back) ? QColor(Qt::black) : QColor(Qt::white);
  for (int step = 1; step <= 10; ++step) {
    const double t = step / 10.0;
    const QColor mixed = QColor::fromRgbF(static_cast<float>(text.redF() + (end.redF() - text.redF()) * t),
                                          static_cast<float>(text.greenF() + (end.greenF() - text.greenF()) * t),
                                          static_cast<float>(text.blueF() + (end.blueF() - text.blueF()) * t));
    if (contrast(mixed, back) >= kReadable) return mixed;
  }
  return end;
}

void PictureCheckBox::setPicture(const std::string& name) {
  if (name != picture_) {
    picture_ = name;
    update();
  }
}

bool PictureCheckBox::hitButton(const QPoint& pos) const {
  return picture_.empty() ? QCheckBox::hitButton(pos) : rect().contains(pos);
}

void PictureCheckBox::paintEvent(QPaintEvent* event) {
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

void MainWindow::build() {
  host_ = new QWidget(this);
  host_->setObjectName("host");
  canvas_ = new QWidget(host_);
  indicators_ = new IndicatorStyle(QApplication::style()->name());
  indicators_->setParent(this);
  canvas_->setObjectName("canvas");
  baseFont_ = canvas_->font();

  const auto& controls = m_.form.controls();
  entries_.resize(controls.size());
  int right = 0, bottom = 0;
  for (size_t i = 0; i < controls.size(); ++i) {
    Entry& e = entries_[i];
    e.control = controls[i];
    if (!e.control->parent().empty()) {
      auto it = byName_.find(e.control->parent());
      if (it != byName_.end())
        e.page = isPageFrame(*entries_[it->second].control) ? it->second : entries_[it->second].page;
    } else {
      right = std::max(right, e.control->left() + e.control->width());
      bottom = std::max(bottom, e.control->top() + e.control->height());
    }
    byName_.emplace(e.control->name(), i);
  }
  setUpKeyboard();
  // The pages' own controls wait until their page is first shown: a start builds one page, not ten.
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].page == kNoPage) makeWidget(i);
  for (Entry& e : entries_)
    if (e.widget && !isGraphical(e.control->kind())) e.widget->raise();

  natural_ = QSize(toPixels(right) + 6, toPixels(bottom) + 6);
  canvas_->setFixedSize(natural_);
  host_->setMinimumSize(natural_ * kMinScale);
  setCentralWidget(host_);
  resize(natural_);
  refresh();
  setTabOrderByReading();
  building_ = false;
}

void MainWindow::makeWidget(size_t index) {
  Entry& e = entries_[index];
  QWidget* parent = canvas_;
  if (!e.control->parent().empty())
    if (auto it = byName_.find(e.control->parent()); it != byName_.end()) parent = entries_[it->second].widget;
  e.widget = create(e, parent);
  e.widget->setObjectName(q(e.control->name()));
  byObject_.emplace(e.widget, index);
  if (auto* view = qobject_cast<QAbstractScrollArea*>(e.widget)) byObject_.emplace(view->viewport(), index);
  connectEvents(index);
  setUpKeys(e);
}

void MainWindow::buildPage(size_t page, bool apply) {
  if (entries_[page].pageBuilt) return;
  entries_[page].pageBuilt = true;
  std::vector<size_t> made;
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].page == page) made.push_back(i), makeWidget(i);
  for (size_t i : made)
    if (!isGraphical(entries_[i].control->kind())) entries_[i].widget->raise();
  if (apply) {
    ++applying_;
    for (size_t i : made) {
      Entry& e = entries_[i];
      e.dirty = false;
      e.seen = e.control->changes();
      this->apply(e);
      e.widget->setAccessibleName(spokenName(e));
    }
    --applying_;
    setTabOrderByReading();
  }
}

// The record row under `pos` (viewport coordinates), or the current one for the Menu key: for a

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
    case form::Kind::CommandButton: return new ButtonWidget(parent);
    case form::Kind::CheckBox: {
      auto* w = new PictureCheckBox(parent);
      w->setStyle(indicators_);
      return w;
    }
    case form::Kind::OptionButton: {
      auto* w = new QRadioButton(parent);
      w->setStyle(indicators_);
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
      auto* w = new ChartWidget(chart, parent);
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

}  // namespace qt
