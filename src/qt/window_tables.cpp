// Tables: the cells of the model's grid, its rows scrolled as the model says, and the columns
// fitted into the table's width.
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "qt/main_window.h"
#include "qt/window_widgets.h"

namespace qt {

namespace {

bool sameGrid(const form::GridModel& a, const form::GridModel& b) {
  return a.rows == b.rows && a.cols == b.cols && a.cells == b.cells && a.colWidths == b.colWidths &&
         a.dataAlign == b.dataAlign && a.headerAlign == b.headerAlign && a.topRow == b.topRow &&
         a.fontSize == b.fontSize;
}

}  // namespace

void MainWindow::applyGrid(Entry& e) {
  const form::GridModel& g = e.control->grid();
  auto* table = static_cast<QTableWidget*>(e.widget);
  const QFont font = tableFont(g);
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

// The font follows the layout's scale; the model gives its size at scale 1.
QFont MainWindow::tableFont(const form::GridModel& g) const {
  QFont font = canvas_->font();
  if (g.fontSize > 0) font.setPointSizeF(g.fontSize * scale_);
  return font;
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
  // a little more than its share. Only the longest few texts are measured: a long table is fitted
  // on every step of a resize. Their length in UTF-8 bytes goes with their width (a wide
  // character takes three bytes).
  constexpr size_t kMeasured = 6;
  std::vector<std::vector<const std::string*>> longest(g.cols);
  for (int col = 0; col < g.cols; ++col)
    for (int row = 0; row < g.rows; ++row) {
      const std::string& text = g.cells[row][col];
      auto& l = longest[col];
      if (l.size() == kMeasured && text.size() <= l.back()->size()) continue;
      l.insert(std::upper_bound(l.begin(), l.end(), &text,
                                [](const std::string* a, const std::string* b) { return a->size() > b->size(); }),
               &text);
      if (l.size() > kMeasured) l.pop_back();
    }
  const int pad = 2 * table.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &table) + 4;
  std::vector<int> need(g.cols, 0);
  auto measure = [&](const QFont& font) {
    const QFontMetrics fm(font);
    int needed = 0;
    for (int col = 0; col < g.cols; ++col) {
      need[col] = 0;
      for (const std::string* text : longest[col])
        need[col] = std::max(need[col], fm.horizontalAdvance(q(*text)) + pad);
      needed += need[col];
    }
    return needed;
  };
  // Whole texts in a smaller font rather than cut ones, down to three quarters of the layout's.
  QFont font = tableFont(g);
  const double full = font.pointSizeF();
  int needSum = measure(font);
  for (int tries = 0; tries < 4 && needSum > std::min(sum, room) && font.pointSizeF() > full * 0.75 + 1e-3; ++tries) {
    const double by = std::clamp(static_cast<double>(std::min(sum, room)) / needSum, 0.8, 0.98);
    font.setPointSizeF(std::max(full * 0.75, font.pointSizeF() * by));
    needSum = measure(font);
  }
  if (table.font() != font) {
    table.setFont(font);
    table.horizontalHeader()->setFont(font);
  }
  bool cut = false;
  for (int col = 0; col < g.cols; ++col) cut = cut || need[col] > widths[col];
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

}  // namespace qt
