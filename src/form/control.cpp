#include "form/control.h"

#include <algorithm>

namespace form {

const char* kindName(Kind k) {
  switch (k) {
    case Kind::Label: return "Label";
    case Kind::Frame: return "Frame";
    case Kind::CommandButton: return "CommandButton";
    case Kind::CheckBox: return "CheckBox";
    case Kind::OptionButton: return "OptionButton";
    case Kind::TextBox: return "TextBox";
    case Kind::ListBox: return "ListBox";
    case Kind::Grid: return "Grid";
    case Kind::Chart: return "Chart";
    case Kind::Shape: return "Shape";
    case Kind::Image: return "Image";
    case Kind::ScrollBar: return "ScrollBar";
  }
  return "?";
}

Control::Control(std::string name, Kind kind, std::string parent)
    : name_(std::move(name)), kind_(kind), parent_(std::move(parent)) {}

void Control::restoreFrom(const Control& built) {
  const uint64_t changes = changes_;
  std::string name = std::move(name_), parent = std::move(parent_);
  *this = built;
  name_ = std::move(name);
  parent_ = std::move(parent);
  changes_ = changes;
  touch();
}

#define SET_FIELD(field, v) \
  do {                      \
    if (field != (v)) {     \
      field = (v);          \
      touch();              \
    }                       \
  } while (0)

void Control::setLeft(int v) { SET_FIELD(left_, v); }
void Control::setTop(int v) { SET_FIELD(top_, v); }
void Control::setWidth(int v) { SET_FIELD(width_, std::max(0, v)); }
void Control::setHeight(int v) { SET_FIELD(height_, std::max(0, v)); }
void Control::setGeometry(int l, int t, int w, int h) {
  setLeft(l);
  setTop(t);
  setWidth(w);
  setHeight(h);
}
void Control::setVisible(bool v) { SET_FIELD(visible_, v); }
void Control::setEnabled(bool v) { SET_FIELD(enabled_, v); }
void Control::setOutlined(bool v) { SET_FIELD(outlined_, v); }
void Control::setCaption(const std::string& v) { SET_FIELD(caption_, v); }
void Control::setText(const std::string& v) { SET_FIELD(text_, v); }
void Control::setToolTip(const std::string& v) { SET_FIELD(toolTip_, v); }
void Control::setBackColor(std::optional<Color> c) { SET_FIELD(backColor_, c); }
void Control::setForeColor(std::optional<Color> c) { SET_FIELD(foreColor_, c); }
void Control::setFillColor(Color c) { SET_FIELD(fillColor_, c); }
void Control::setPicture(const std::string& p) { SET_FIELD(picture_, p); }
void Control::setValue(int v) {
  if (kind_ == Kind::ScrollBar) v = std::clamp(v, min_, max_);
  SET_FIELD(value_, v);
}
void Control::setRange(int mn, int mx, int sc, int lc) {
  min_ = mn;
  max_ = mx;
  smallChange_ = sc;
  largeChange_ = lc;
  value_ = std::clamp(value_, mn, mx);
  touch();
}

const std::vector<std::string>& Control::items() const {
  makeItems();
  return items_;
}
void Control::makeItems() const {
  if (laterItems_.empty()) return;
  std::vector<LaterItems> later = std::move(laterItems_);
  laterItems_.clear();
  items_.reserve(static_cast<size_t>(later.back().end));
  for (const LaterItems& l : later)
    for (int i = l.first; i < l.end; ++i) items_.push_back(l.make(i));
}
void Control::addItem(const std::string& item) {
  // After items still to be made it waits in its place among them.
  if (!laterItems_.empty()) return addItemsLater(1, [item](int) { return item; });
  items_.push_back(item);
  touch();
}
void Control::addItemsLater(int count, ItemMaker make) {
  if (count <= 0) return;
  if (laterItems_.size() >= 16) makeItems();
  // Only counted: a list of thousands of lines waiting costs no empty line each.
  const int first = listCount();
  laterItems_.push_back({first, first + count, std::move(make)});
  touch();
}
void Control::removeItem(int index) {
  if (index < 0 || index >= listCount()) return;
  makeItems();
  items_.erase(items_.begin() + index);
  if (listIndex_ >= listCount())
    listIndex_ = -1;
  else if (listIndex_ == index)
    listIndex_ = -1;
  else if (listIndex_ > index)
    --listIndex_;
  topIndex_ = std::clamp(topIndex_, 0, std::max(0, listCount() - 1));
  touch();
}
void Control::clearItems() {
  if (listCount() == 0 && listIndex_ == -1 && topIndex_ == 0) return;
  items_.clear();
  laterItems_.clear();
  listIndex_ = -1;
  topIndex_ = 0;
  touch();
}
void Control::setListIndex(int i) {
  const int count = kind_ == Kind::Grid ? gm().rows : listCount();
  if (i < -1 || i >= count) i = -1;
  SET_FIELD(listIndex_, i);
}
void Control::setTopIndex(int i) { SET_FIELD(topIndex_, std::clamp(i, 0, std::max(0, listCount() - 1))); }

void Control::makeRows() const {
  if (table().later.empty() && !table().rowsUnsized) return;
  std::vector<LaterRows> later = std::move(table().later);
  table().later.clear();
  gm().cells.resize(gm().rows, std::vector<std::string>(gm().cols));
  for (const LaterRows& l : later) {
    for (int r = l.first; r < l.end && r < gm().rows; ++r) {
      std::vector<std::string> cells = l.make(r);
      cells.resize(gm().cols);
      gm().cells[r] = std::move(cells);
    }
  }
  if (table().rowsUnsized)
    for (std::vector<std::string>& cells : gm().cells)
      if (cells.size() < static_cast<size_t>(gm().cols)) cells.resize(gm().cols);
  table().rowsUnsized = false;
}
bool Control::madeLater(int row) const {
  for (const LaterRows& l : table().later)
    if (row >= l.first && row < l.end) return true;
  return false;
}
const GridModel& Control::grid() const {
  makeRows();
  return gm();
}

void Control::setGridRows(int rows) { resizeGrid(rows, false); }
void Control::resizeGrid(int rows, bool rowsToBeMade) {
  rows = std::max(1, rows);
  if (rows == gm().rows) return;
  if (rows < gm().rows) {
    // Rows cut off are never made.
    for (LaterRows& l : table().later) l.end = std::min(l.end, rows);
    std::erase_if(table().later, [](const LaterRows& l) { return l.first >= l.end; });
    if (gm().cells.size() > static_cast<size_t>(rows)) gm().cells.resize(rows);
  }
  gm().rows = rows;
  // Rows still to be made get their cells when made.
  if (table().later.empty() && !rowsToBeMade) gm().cells.resize(rows, std::vector<std::string>(gm().cols));
  if (gm().topRow >= rows) gm().topRow = std::max(1, std::min(gm().topRow, rows - 1));
  touch();
}
void Control::setGridRowsLater(int rows, int first, RowMaker make) {
  // A long run of rows waiting is made at once rather than holding a copy of its data for each.
  if (table().later.size() >= 16) makeRows();
  first = std::max(first, 1);
  const bool made = first < std::max(1, rows);
  resizeGrid(rows, made);
  if (!made) return;
  // Rows waiting that the new ones cover would only be made to be replaced.
  std::erase_if(table().later, [first](const LaterRows& l) { return l.first >= first; });
  table().later.push_back({first, gm().rows, std::move(make)});
  touch();
}
void Control::setGridCols(int cols) {
  cols = std::max(1, cols);
  if (cols == gm().cols) return;
  makeRows();
  gm().cols = cols;
  for (auto& r : gm().cells) r.resize(cols);
  gm().colWidths.resize(cols, 1000);
  gm().dataAlign.resize(cols, Align::Right);
  gm().headerAlign.resize(cols, Align::Center);
  touch();
}
void Control::setCell(int row, int col, const std::string& text) {
  if (row < 0 || row >= gm().rows || col < 0 || col >= gm().cols) return;
  if (madeLater(row)) makeRows();
  if (gm().cells.size() <= static_cast<size_t>(row)) {
    // With thousands of rows still to be made, a row added after them costs one row: the
    // others get their cells when they are made.
    if (table().later.empty()) {
      gm().cells.resize(gm().rows, std::vector<std::string>(gm().cols));
    } else {
      gm().cells.resize(gm().rows);
      table().rowsUnsized = true;
    }
  }
  std::vector<std::string>& cells = gm().cells[row];
  if (cells.size() < static_cast<size_t>(gm().cols)) cells.resize(gm().cols);
  SET_FIELD(cells[col], text);
}
const std::string& Control::cell(int row, int col) const {
  static const std::string empty;
  if (row < 0 || row >= gm().rows || col < 0 || col >= gm().cols) return empty;
  makeRows();
  return gm().cells[row][col];
}
void Control::setColWidth(int col, int twips) {
  if (col < 0 || col >= gm().cols) return;
  SET_FIELD(gm().colWidths[col], twips);
}
void Control::setColAlignment(int col, Align header, Align data) {
  if (col < 0 || col >= gm().cols) return;
  SET_FIELD(gm().headerAlign[col], header);
  SET_FIELD(gm().dataAlign[col], data);
}
void Control::setFontSize(int size) { SET_FIELD(gm().fontSize, size); }
bool Control::setTopRow(int row) {
  if (row < 1 || row >= gm().rows) return false;
  SET_FIELD(gm().topRow, row);
  return true;
}

const ChartModel& Control::chart() const {
  makeChart();
  return cm();
}
void Control::makeChart() const {
  // Rows added to the chart get their cells when first read or written.
  if (cm().data.size() < static_cast<size_t>(cm().rowCount))
    cm().data.resize(cm().rowCount, std::vector<std::optional<std::string>>(cm().columnCount));
  if (plot().laterDays) {
    cm().rowDays = plot().laterDays();
    plot().laterDays = nullptr;
  }
  if (plot().laterValues.empty()) return;
  std::vector<ChartValuesMaker> later = std::move(plot().laterValues);
  plot().laterValues.clear();
  for (const ChartValuesMaker& make : later)
    for (ChartValue& v : make())
      if (v.row >= 1 && v.row <= cm().rowCount && v.column >= 1 && v.column <= cm().columnCount)
        cm().data[v.row - 1][v.column - 1] = std::move(v.text);
}
void Control::setChartValuesLater(ChartValuesMaker make) {
  if (plot().laterValues.size() >= 16) makeChart();
  plot().laterValues.push_back(std::move(make));
  touch();
}
void Control::setChartColumnCount(int n) {
  n = std::max(1, n);
  if (n == cm().columnCount) return;
  if (!plot().laterValues.empty()) makeChart();  // values waiting are bound by the old size
  cm().columnCount = n;
  for (auto& r : cm().data) r.resize(n);
  cm().seriesVisible.resize(n, true);
  cm().column = std::min(cm().column, n);
  touch();
}
void Control::setChartRowCount(int n) {
  n = std::max(0, n);
  if (n == cm().rowCount) return;
  if (!plot().laterValues.empty()) makeChart();
  cm().rowCount = n;
  if (cm().data.size() > static_cast<size_t>(n)) cm().data.resize(n);
  touch();
}
void Control::selectChartCell(int row, int column) {
  cm().row = row;
  cm().column = column;
}
void Control::setChartData(const std::string& decimalText) { setChartValue(cm().row, cm().column, decimalText); }
void Control::setChartValue(int row, int column, const std::string& decimalText) {
  cm().row = row;
  cm().column = column;
  if (row < 1 || row > cm().rowCount || column < 1 || column > cm().columnCount) return;
  makeChart();
  auto& cell = cm().data[row - 1][column - 1];
  if (cell == decimalText) return;
  cell = decimalText;
  touch();
}
void Control::setSeriesVisible(int column, bool shown) {
  if (column < 1 || column > cm().columnCount) return;
  if (cm().seriesVisible[column - 1] == shown) return;
  cm().seriesVisible[column - 1] = shown;
  touch();
}
void Control::setSeriesNames(std::vector<std::string> names) {
  if (cm().seriesNames == names) return;
  cm().seriesNames = std::move(names);
  touch();
}
void Control::setChartRowDaysLater(RowDaysMaker make) {
  cm().rowDays.clear();
  plot().laterDays = std::move(make);
  touch();
}
void Control::setChartDayRange(std::optional<std::pair<double, double>> range) {
  if (cm().dayRange == range) return;
  cm().dayRange = range;
  touch();
}
void Control::setAxisLimits(double mn, double mx) {
  if (!(mn < mx)) return;
  if (cm().axisMin == mn && cm().axisMax == mx) return;
  cm().axisMin = mn;
  cm().axisMax = mx;
  touch();
}
void Control::setAxisAuto() {
  if (!cm().axisMin && !cm().axisMax) return;
  cm().axisMin.reset();
  cm().axisMax.reset();
  touch();
}

}  // namespace form
