#pragma once
// Draws a chart model with Qt Charts: one colour per column, rows along the x axis.
#include <QFont>
#include <QString>
#include <optional>
#include <vector>

#include "form/control.h"

class QChart;

namespace qt {

// What the window adds to a chart model: names and extra lines the model does not hold.
struct ChartLook {
  // names[c] labels column c+1 where the model names none.
  std::vector<QString> names;
  // A line drawn after the model's columns (the weight trend): its name and one value per row.
  QString extraName;
  std::vector<std::optional<double>> extra;
  // The font of axes and legend; the chart's own when unset.
  std::optional<QFont> font;
  // About how many labels fit along the x axis.
  int xLabels = 8;
  // Rows (0-based) of the first column the line runs across without a point (filled days).
  std::vector<bool> passedRows;
};

// Replaces every series of `chart` and re-ranges its axes. Rows stand at their days (the model's
// row days; else at evenly spaced slots numbered from 1). Each run of written cells of a column
// becomes one line (an isolated point a marker), so a cell never written is a gap; hidden columns
// are not drawn. The value axis shows the model's limits, widened to every drawn value, with ticks
// at round steps so no two labels read the same; with days in view chosen it fits the values
// inside them. The time axis is labelled with whole dates (or times of day) at round steps, none
// cut at the edge. A chart with nothing drawn shows an empty plot: no scale, no legend. Hovering
// a line shows its nearest point.
void fillChart(QChart& chart, const form::ChartModel& model, const ChartLook& look);
void fillChart(QChart& chart, const form::ChartModel& model, const std::vector<QString>& names = {});

// The decimal text of a cell as a number; nullopt when it is not one (drawn as a gap).
std::optional<double> chartNumber(const std::string& text);

// A round step (1, 2 or 5 times a power of ten) that cuts `span` into about `parts` pieces, and
// the decimals that print each multiple of it differently.
struct AxisStep {
  double step;
  int decimals;
};
AxisStep niceStep(double span, int parts);

// Sets the fonts of the chart's axes and legend.
void setChartFont(QChart& chart, const QFont& font);

}  // namespace qt
