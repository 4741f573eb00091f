#pragma once
// Draws a chart model with Qt Charts: one colour per column, rows along the x axis.
#include <QString>
#include <vector>

#include "ui/control.h"

class QChart;

namespace ui::qt {

// Replaces every series and axis of `chart`. Each run of written cells of a column becomes one line
// (an isolated point a marker), so a cell never written is a gap; hidden columns are not drawn.
// names[c] labels column c+1 in the legend ("系列n" where missing).
void fillChart(QChart& chart, const ChartModel& model, const std::vector<QString>& names = {});

// The decimal text of a cell as a number; nullopt when it is not one (drawn as a gap).
std::optional<double> chartNumber(const std::string& text);

}  // namespace ui::qt
