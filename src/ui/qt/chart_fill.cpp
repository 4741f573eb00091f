#include "ui/qt/chart_fill.h"

#include <QChart>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace ui::qt {

namespace {

QColor columnColor(int column) {
  static const QColor colors[] = {QColor(0x1f, 0x5f, 0xc8), QColor(0xe0, 0x6c, 0x10), QColor(0x2c, 0xa0, 0x2c),
                                  QColor(0xc0, 0x20, 0x40), QColor(0x80, 0x50, 0xb0), QColor(0x70, 0x50, 0x30)};
  return colors[column % (sizeof colors / sizeof colors[0])];
}

}  // namespace

std::optional<double> chartNumber(const std::string& text) {
  bool ok = false;
  const double v = QString::fromStdString(text).trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(v)) return std::nullopt;
  return v;
}

void fillChart(QChart& chart, const ChartModel& model, const std::vector<QString>& names) {
  chart.removeAllSeries();
  // The axes are kept and only re-ranged: axes deleted and made anew leave their old labels
  // painted under the new ones.
  auto* xAxis =
      chart.axes(Qt::Horizontal).isEmpty() ? nullptr : qobject_cast<QValueAxis*>(chart.axes(Qt::Horizontal).first());
  auto* yAxis =
      chart.axes(Qt::Vertical).isEmpty() ? nullptr : qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).first());
  if (!xAxis) {
    xAxis = new QValueAxis;
    xAxis->setLabelFormat("%d");
    chart.addAxis(xAxis, Qt::AlignBottom);
  }
  if (!yAxis) {
    yAxis = new QValueAxis;
    chart.addAxis(yAxis, Qt::AlignLeft);
  }

  double lo = 0, hi = 0;
  bool any = false;
  const bool showPoints = model.rowCount <= 60;
  for (int c = 0; c < model.columnCount; ++c) {
    if (c < static_cast<int>(model.seriesVisible.size()) && !model.seriesVisible[c]) continue;
    const QString name = c < static_cast<int>(names.size()) ? names[c] : QString("系列%1").arg(c + 1);
    const QColor color = columnColor(c);

    // Runs of written cells.
    std::vector<QList<QPointF>> runs;
    QList<QPointF> run;
    for (int r = 0; r < model.rowCount; ++r) {
      std::optional<double> v;
      if (r < static_cast<int>(model.data.size()) && c < static_cast<int>(model.data[r].size()) && model.data[r][c])
        v = chartNumber(*model.data[r][c]);
      if (v) {
        run.append(QPointF(r + 1, *v));
        lo = any ? std::min(lo, *v) : *v;
        hi = any ? std::max(hi, *v) : *v;
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
        s->setPointsVisible(showPoints);
        QPen pen(color);
        pen.setWidthF(1.6);
        s->setPen(pen);
        add(s);
      }
    }
  }

  xAxis->setRange(1, std::max(2, model.rowCount));
  xAxis->setTickCount(std::clamp(model.rowCount, 2, 8));
  if (model.axisMin && model.axisMax) {
    yAxis->setRange(*model.axisMin, *model.axisMax);
  } else {
    if (!any) {
      lo = 0;
      hi = 1;
    } else if (lo == hi) {
      lo -= 1;
      hi += 1;
    }
    yAxis->setRange(lo, hi);
    yAxis->applyNiceNumbers();
  }
  // Steps read best without decimals, kilograms and percentages with one.
  yAxis->setLabelFormat(yAxis->max() - yAxis->min() >= 100 ? "%.0f" : "%.1f");
  chart.legend()->setVisible(model.columnCount > 1);
}

}  // namespace ui::qt
