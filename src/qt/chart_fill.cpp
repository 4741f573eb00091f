#include "qt/chart_fill.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace qt {

namespace {

QColor columnColor(int column) {
  static const QColor colors[] = {QColor(0x1f, 0x5f, 0xc8), QColor(0xe0, 0x6c, 0x10), QColor(0x2c, 0xa0, 0x2c),
                                  QColor(0xc0, 0x20, 0x40), QColor(0x80, 0x50, 0xb0), QColor(0x70, 0x50, 0x30)};
  return colors[column % (sizeof colors / sizeof colors[0])];
}

QString rowLabel(const ChartLook& look, int row) {
  if (row >= 1 && row <= static_cast<int>(look.rowLabels.size()) && !look.rowLabels[row - 1].isEmpty())
    return look.rowLabels[row - 1];
  return QString::number(row);
}

// The axes are kept and only re-ranged: axes deleted and made anew leave their old labels painted
// under the new ones.
template <class Axis>
Axis* keptAxis(QChart& chart, Qt::Orientation orientation, Qt::Alignment alignment) {
  const auto axes = chart.axes(orientation);
  if (!axes.isEmpty())
    if (auto* axis = qobject_cast<Axis*>(axes.first())) return axis;
  for (QAbstractAxis* old : axes) {
    chart.removeAxis(old);
    delete old;
  }
  auto* axis = new Axis;
  chart.addAxis(axis, alignment);
  return axis;
}

}  // namespace

std::optional<double> chartNumber(const std::string& text) {
  bool ok = false;
  const double v = QString::fromStdString(text).trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

AxisStep niceStep(double span, int parts) {
  if (!(span > 0) || parts < 1) return {1, 0};
  const double raw = span / parts;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = 10 * power;
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= raw * (1 - 1e-9)) {
      step = m * power;
      break;
    }
  const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
  return {step, decimals};
}

void setChartFont(QChart& chart, const QFont& font) {
  for (QAbstractAxis* axis : chart.axes())
    if (axis->labelsFont() != font) axis->setLabelsFont(font);
  if (chart.legend()->font() != font) chart.legend()->setFont(font);
}

void fillChart(QChart& chart, const form::ChartModel& model, const std::vector<QString>& names) {
  ChartLook look;
  look.names = names;
  fillChart(chart, model, look);
}

void fillChart(QChart& chart, const form::ChartModel& model, const ChartLook& look) {
  chart.removeAllSeries();
  auto* xAxis = keptAxis<QCategoryAxis>(chart, Qt::Horizontal, Qt::AlignBottom);
  auto* yAxis = keptAxis<QValueAxis>(chart, Qt::Vertical, Qt::AlignLeft);
  xAxis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);

  double lo = 0, hi = 0;
  bool any = false;
  const bool showPoints = model.rowCount <= 60;

  // Draws one column of values (row r+1 in values[r]) under `name` in `color`.
  auto drawColumn = [&](const QString& name, const QColor& color, const std::vector<std::optional<double>>& values,
                        Qt::PenStyle style) {
    // Runs of written cells.
    std::vector<QList<QPointF>> runs;
    QList<QPointF> run;
    for (size_t r = 0; r < values.size(); ++r) {
      if (values[r]) {
        const double v = *values[r];
        run.append(QPointF(static_cast<double>(r + 1), v));
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
      } else if (!run.isEmpty()) {
        runs.push_back(run);
        run.clear();
      }
    }
    if (!run.isEmpty()) runs.push_back(run);

    bool first = true;
    auto add = [&](QXYSeries* s) {
      s->setName(name);
      s->setColor(color);
      chart.addSeries(s);
      s->attachAxis(xAxis);
      s->attachAxis(yAxis);
      // One legend entry per column, however many pieces it is drawn in.
      if (!first)
        for (QLegendMarker* m : chart.legend()->markers(s)) m->setVisible(false);
      first = false;
      // The nearest point of the line under the pointer, with its date.
      QObject::connect(s, &QXYSeries::hovered, s, [s, name, look](const QPointF& at, bool over) {
        if (!over) return QToolTip::hideText();
        const auto points = s->points();
        if (points.isEmpty()) return;
        const QPointF* best = &points.first();
        for (const QPointF& p : points)
          if (std::abs(p.x() - at.x()) < std::abs(best->x() - at.x())) best = &p;
        const int row = static_cast<int>(std::lround(best->x()));
        QToolTip::showText(QCursor::pos(),
                           rowLabel(look, row) + "\n" + name + ": " + QString::number(best->y(), 'g', 7));
      });
    };
    if (runs.empty()) add(new QLineSeries);  // keeps the column in the legend
    for (const auto& points : runs) {
      if (points.size() == 1) {
        auto* s = new QScatterSeries;
        s->setMarkerSize(7);
        s->setBorderColor(color);
        s->replace(points);
        add(s);
      } else {
        auto* s = new QLineSeries;
        s->replace(points);
        s->setPointsVisible(showPoints && style == Qt::SolidLine);
        QPen pen(color);
        pen.setWidthF(1.6);
        pen.setStyle(style);
        s->setPen(pen);
        add(s);
      }
    }
  };

  for (int c = 0; c < model.columnCount; ++c) {
    if (c < static_cast<int>(model.seriesVisible.size()) && !model.seriesVisible[c]) continue;
    std::vector<std::optional<double>> values(std::max(0, model.rowCount));
    for (int r = 0; r < model.rowCount; ++r)
      if (r < static_cast<int>(model.data.size()) && c < static_cast<int>(model.data[r].size()) && model.data[r][c])
        values[r] = chartNumber(*model.data[r][c]);
    const QString name = c < static_cast<int>(look.names.size()) ? look.names[c] : QString("系列%1").arg(c + 1);
    drawColumn(name, columnColor(c), values, Qt::SolidLine);
  }
  if (!look.extra.empty()) {
    std::vector<std::optional<double>> values = look.extra;
    values.resize(std::min<size_t>(values.size(), std::max(0, model.rowCount)));
    drawColumn(look.extraName, columnColor(model.columnCount), values, Qt::DashLine);
  }

  // Rows along the bottom, labelled at round steps (by date where the window knows one).
  const int rows = std::max(2, model.rowCount);
  xAxis->setRange(1, rows);
  for (const QString& label : xAxis->categoriesLabels()) xAxis->remove(label);
  xAxis->setStartValue(1);
  const int parts = std::max(1, look.xLabels - 1);
  int rowStep = std::max(1, static_cast<int>(std::lround(niceStep(rows - 1, parts).step)));
  if (!look.rowLabels.empty()) {
    // Dates read best a whole number of weeks apart.
    const double raw = static_cast<double>(rows - 1) / parts;
    for (int days : {1, 2, 7, 14, 28, 56, 91, 182, 364})
      if (days >= raw) {
        rowStep = days;
        break;
      }
  }
  QString previous;
  for (int r = 1; r <= rows; r += rowStep) {
    const QString label = rowLabel(look, r);
    if (label != previous) xAxis->append(label, r);
    previous = label;
  }

  // The model's limits, widened so that no drawn value falls outside. Limits that are upside down
  // (no record yet) are ignored.
  bool limited = model.axisMin && model.axisMax && *model.axisMin <= *model.axisMax;
  double bottom = limited ? *model.axisMin : lo, top = limited ? *model.axisMax : hi;
  if (!limited && !any) bottom = 0, top = 1;
  if (any) bottom = std::min(bottom, lo), top = std::max(top, hi);
  if (top - bottom < 1e-9) bottom -= 1, top += 1;
  const AxisStep step = niceStep(top - bottom, 6);
  // A side that was widened, or never given, ends on a round value.
  if (!limited || bottom < *model.axisMin) bottom = std::floor(bottom / step.step + 1e-9) * step.step;
  if (!limited || top > *model.axisMax) top = std::ceil(top / step.step - 1e-9) * step.step;
  // Qt lays the labels out at each change: with the old interval on the new range (0.2 on 0–15000)
  // that would be tens of thousands of labels. Whichever change makes fewer labels goes first.
  yAxis->setTickType(QValueAxis::TicksDynamic);
  yAxis->setTickAnchor(0);
  if (step.step >= yAxis->tickInterval()) {
    yAxis->setTickInterval(step.step);
    yAxis->setRange(bottom, top);
  } else {
    yAxis->setRange(bottom, top);
    yAxis->setTickInterval(step.step);
  }
  yAxis->setLabelFormat(QString("%.%1f").arg(step.decimals));
  chart.legend()->setVisible(model.columnCount > 1 || !look.extra.empty());
  if (look.font) setChartFont(chart, *look.font);
}

}  // namespace qt
