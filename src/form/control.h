#pragma once
// One control of the main window, headless: the properties the logic reads and writes.
// Every setter that changes something moves the change counter, so the GUI refreshes only
// controls that changed.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace form {

enum class Kind {
  Label,
  Frame,
  CommandButton,
  CheckBox,
  OptionButton,
  TextBox,
  ListBox,
  Grid,
  Chart,
  Shape,
  Image,
  ScrollBar
};

const char* kindName(Kind k);

using Color = uint32_t;  // 0xRRGGBB

enum class Align { Left, Center, Right };

struct GridModel {
  int rows = 1;  // including the fixed header row 0
  int cols = 1;
  std::vector<std::vector<std::string>> cells{std::vector<std::string>(1)};
  std::vector<int> colWidths{1000};  // twips
  std::vector<Align> dataAlign{Align::Right};
  std::vector<Align> headerAlign{Align::Center};
  int topRow = 1;
  int fontSize = 11;
};

struct ChartModel {
  int rowCount = 0;
  int columnCount = 1;
  // data[row-1][column-1]; nullopt for a cell never written.
  std::vector<std::vector<std::optional<std::string>>> data;
  std::vector<bool> seriesVisible{true};
  int row = 1, column = 1;                 // the selected cell
  std::optional<double> axisMin, axisMax;  // nullopt: automatic
  // Where each row stands in time, in days since 1970/01/01 (a weighing's time of day as the
  // fraction), so points are spaced by date; empty: rows are evenly spaced slots.
  std::vector<double> rowDays;
  // The days in view (a part of the rows, or beyond them); nullopt: every row.
  std::optional<std::pair<double, double>> dayRange;
  // What each column shows, for the legend and the tooltips.
  std::vector<std::string> seriesNames;
};

// One value written to a chart: row and series from 1, the value as decimal text.
struct ChartValue {
  int row = 0;
  int column = 0;
  std::string text;
};

class Control {
 public:
  Control(std::string name, Kind kind, std::string parent);

  const std::string& name() const { return name_; }
  Kind kind() const { return kind_; }
  const std::string& parent() const { return parent_; }  // containing frame, "" for the window
  uint64_t changes() const { return changes_; }

  // Geometry in twips.
  int left() const { return left_; }
  int top() const { return top_; }
  int width() const { return width_; }
  int height() const { return height_; }
  void setLeft(int v);
  void setTop(int v);
  void setWidth(int v);
  void setHeight(int v);
  void setGeometry(int left, int top, int width, int height);

  bool visible() const { return visible_; }
  void setVisible(bool v);
  bool enabled() const { return enabled_; }
  void setEnabled(bool v);
  // A button drawn with a strong frame, to be found at a glance (today's calendar day).
  bool outlined() const { return outlined_; }
  void setOutlined(bool v);

  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& v);
  const std::string& text() const { return text_; }
  void setText(const std::string& v);
  const std::string& toolTip() const { return toolTip_; }
  void setToolTip(const std::string& v);
  std::optional<Color> backColor() const { return backColor_; }
  void setBackColor(std::optional<Color> c);
  std::optional<Color> foreColor() const { return foreColor_; }
  void setForeColor(std::optional<Color> c);
  Color fillColor() const { return fillColor_; }
  void setFillColor(Color c);
  // Picture shown by an Image or a picture button (a name the GUI knows how to draw).
  const std::string& picture() const { return picture_; }
  void setPicture(const std::string& p);

  // CheckBox 0/1, OptionButton 0/1 (selected), ScrollBar position.
  int value() const { return value_; }
  void setValue(int v);
  int min() const { return min_; }
  int max() const { return max_; }
  int smallChange() const { return smallChange_; }
  int largeChange() const { return largeChange_; }
  void setRange(int min, int max, int smallChange = 1, int largeChange = 1);

  // ListBox.
  // Reading the items makes any still to be made.
  const std::vector<std::string>& items() const;
  void addItem(const std::string& item);
  // Items added at the end, each made by `make(index)` when the items are first read; like
  // RowMaker, `make` holds its data by value.
  using ItemMaker = std::function<std::string(int index)>;
  void addItemsLater(int count, ItemMaker make);
  void removeItem(int index);
  void clearItems();
  // The selected item; for a Grid the selected row (the header row is 0).
  int listIndex() const { return listIndex_; }
  void setListIndex(int i);
  int topIndex() const { return topIndex_; }
  void setTopIndex(int i);
  int listCount() const { return laterItems_.empty() ? static_cast<int>(items_.size()) : laterItems_.back().end; }

  // Grid (table control). Reading the cells makes any rows still to be made.
  const GridModel& grid() const;
  int gridRows() const { return gm().rows; }
  void setGridRows(int rows);
  // The cells of one data row, made when the grid is first read (shown, dumped or looked up):
  // a table of years of records costs nothing at start-up while its page is hidden. `make`
  // must hold what it needs by value, as it was when the rows were set.
  using RowMaker = std::function<std::vector<std::string>(int row)>;
  // Grows the grid to `rows` rows, rows `first`..rows-1 made by `make`.
  void setGridRowsLater(int rows, int first, RowMaker make);
  void setGridCols(int cols);
  void setCell(int row, int col, const std::string& text);
  const std::string& cell(int row, int col) const;
  void setColWidth(int col, int twips);
  void setColAlignment(int col, Align header, Align data);
  void setFontSize(int size);
  // Scrolls so that `row` is the top visible row; false (and nothing changes) when the grid is
  // too short for it.
  bool setTopRow(int row);

  // Chart. Reading it makes any values still to be made.
  const ChartModel& chart() const;
  // Values written when the chart is first read, in order after those written before; `make`
  // holds its data by value. The selected cell stays as it was.
  using ChartValuesMaker = std::function<std::vector<ChartValue>()>;
  void setChartValuesLater(ChartValuesMaker make);
  void setChartColumnCount(int n);
  void setChartRowCount(int n);
  void selectChartCell(int row, int column);
  void setChartData(const std::string& decimalText);  // at the selected cell
  void setChartValue(int row, int column, const std::string& decimalText);
  void setSeriesVisible(int column, bool shown);
  void setSeriesNames(std::vector<std::string> names);
  // The rows' days, made when the chart is first read (a log of years on a hidden page); `make`
  // holds its data by value.
  using RowDaysMaker = std::function<std::vector<double>()>;
  void setChartRowDaysLater(RowDaysMaker make);
  void setChartDayRange(std::optional<std::pair<double, double>> range);
  // Ignored (the last good limits stay) unless min < max.
  void setAxisLimits(double min, double max);
  void setAxisAuto();

  // Takes every property of `built` (a control of the same name in a newly built form), keeping
  // this control's identity; the change counter moves so the GUI redraws it whole.
  void restoreFrom(const Control& built);

 private:
  void touch() { ++changes_; }
  // The models are made on first use: most controls are no table or chart.
  GridModel& gm() const { return table().model; }
  ChartModel& cm() const { return plot().model; }
  // Make what was set to be made later, in the order it was set.
  void makeRows() const;
  void resizeGrid(int rows, bool rowsToBeMade);
  bool madeLater(int row) const;
  void makeItems() const;
  void makeChart() const;

  // Rows or items first..end-1, made by `make`.
  template <class Maker>
  struct Later {
    int first, end;
    Maker make;
  };
  using LaterRows = Later<RowMaker>;
  using LaterItems = Later<ItemMaker>;

  std::string name_;
  Kind kind_;
  std::string parent_;
  uint64_t changes_ = 0;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true, enabled_ = true, outlined_ = false;
  std::string caption_, text_, toolTip_, picture_;
  std::optional<Color> backColor_, foreColor_;
  Color fillColor_ = 0;
  int value_ = 0, min_ = 0, max_ = 0, smallChange_ = 1, largeChange_ = 1;
  // Mutable: what waits to be made is made on the first read. The items made come first; the
  // ranges waiting follow them, one after another.
  mutable std::vector<std::string> items_;
  mutable std::vector<LaterItems> laterItems_;
  int listIndex_ = -1, topIndex_ = 0;
  // A table's or a chart's state, apart from the control: a form holds hundreds of controls and
  // a few dozen tables and charts.
  struct Table {
    GridModel model;
    std::vector<LaterRows> later;
    // Rows setCell left without cells while others waited to be made; sized on the first read.
    bool rowsUnsized = false;
  };
  struct Plot {
    ChartModel model;
    std::vector<ChartValuesMaker> laterValues;
    RowDaysMaker laterDays;
  };
  // Owns its value and copies it with the control.
  template <class T>
  struct Box {
    std::unique_ptr<T> p;
    Box() = default;
    Box(Box&&) noexcept = default;
    Box& operator=(Box&&) noexcept = default;
    Box(const Box& o) : p(o.p ? std::make_unique<T>(*o.p) : nullptr) {}
    Box& operator=(const Box& o) {
      if (this != &o) p = o.p ? std::make_unique<T>(*o.p) : nullptr;
      return *this;
    }
    T& get() {
      if (!p) p = std::make_unique<T>();
      return *p;
    }
  };
  mutable Box<Table> table_;
  mutable Box<Plot> plot_;
  Table& table() const { return table_.get(); }
  Plot& plot() const { return plot_.get(); }
};

}  // namespace form
