#include "qt/chart_fill.h"

#include <QCategoryAxis>
#include <QChart>
#include <QCursor>
#include <QDateTime>
#include <QFont>
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

// A day number (days since 1970/01/01) as the date it stands for, with its time of day when asked.
QString dayText(double day, const char* format) {
  const qint64 whole = static_cast<qint64>(std::floor(day + 1e-9));
  const int seconds = static_cast<int>(std::lround((day - static_cast<double>(whole)) * 86400));
  return QDateTime(QDate(1970, 1, 1).addDays(whole), QTime(0, 0).addSecs(seconds)).toString(format);
}

// Labels along the time axis at round steps: whole days a week or more apart where the span is
// long, hours within a day.
struct TimeLabels {
  double step;
  const char* format;
};
TimeLabels timeLabels(double span, int parts) {
  const double raw = span / std::max(1, parts);
  if (span < 1)
    for (double hours : {1.0, 2.0, 3.0, 6.0, 12.0})
      if (hours / 24 >= raw) return {hours / 24, "HH:mm"};
  const char* format = span > 360 ? "yy/MM/dd" : "MM/dd";
  for (double days : {1.0, 2.0, 7.0, 14.0, 28.0, 56.0, 91.0, 182.0, 364.0, 728.0})
    if (days >= raw) return {days, format};
  return {std::ceil(raw / 364) * 364, format};
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
  // A font of our own for its (empty) title: the theme's would load a typeface of its own,
  // milliseconds before the first frame.
  axis->setTitleFont(QFont());
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
  // A date label stands centred over its day, the last one over the right end of the axis: the
  // margin holds its other half.
  int half = 0;
  for (QAbstractAxis* axis : chart.axes(Qt::Horizontal))
    if (auto* dates = qobject_cast<QCategoryAxis*>(axis))
      for (const QString& label : dates->categoriesLabels())
        half = std::max(half, QFontMetrics(axis->labelsFont()).horizontalAdvance(label) / 2 + 4);
  const QMargins margins(4, 4, std::max(4, half), 4);
  if (chart.margins() != margins) chart.setMargins(margins);
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

  // Where the rows stand: their days, else slots 1, 2, 3 …
  const int rowCount = std::max(0, model.rowCount);
  const bool dated = rowCount > 0 && static_cast<int>(model.rowDays.size()) == rowCount;
  auto xOf = [&](size_t r) { return dated ? model.rowDays[r] : static_cast<double>(r + 1); };
  double left = rowCount > 0 ? xOf(0) : 1, right = rowCount > 0 ? xOf(static_cast<size_t>(rowCount - 1)) : 2;
  const bool windowed = dated && model.dayRange && model.dayRange->first < model.dayRange->second;
  if (windowed) left = model.dayRange->first, right = model.dayRange->second;
  // One day (one record): half a day either side, so its date stands under it.
  if (right - left < 1e-9) left -= dated ? 0.5 : 1, right += dated ? 0.5 : 1;

  double lo = 0, hi = 0;
  bool any = false;
  const bool showPoints = rowCount <= 60;

  // One column of values to draw (row r+1 in values[r]) under `name` in `color`, as runs of
  // written cells.
  struct Column {
    QString name;
    QColor color;
    Qt::PenStyle style;
    std::vector<QList<QPointF>> runs;
  };
  std::vector<Column> columns;
  auto collect = [&](const QString& name, const QColor& color, const std::vector<std::optional<double>>& values,
                     Qt::PenStyle style, const std::vector<bool>& passed = {}) {
    Column column{name, color, style, {}};
    QList<QPointF> run;
    for (size_t r = 0; r < values.size(); ++r) {
      if (values[r]) {
        const double v = *values[r];
        const double x = xOf(r);
        run.append(QPointF(x, v));
        // With days in view chosen, the value axis fits what is seen of them.
        if (windowed && (x < left || x > right)) continue;
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
      } else if (!run.isEmpty() && !(r < passed.size() && passed[r])) {
        column.runs.push_back(run);
        run.clear();
      }
    }
    if (!run.isEmpty()) column.runs.push_back(run);
    if (!column.runs.empty()) columns.push_back(std::move(column));
  };

  for (int c = 0; c < model.columnCount; ++c) {
    if (c < static_cast<int>(model.seriesVisible.size()) && !model.seriesVisible[c]) continue;
    std::vector<std::optional<double>> values(static_cast<size_t>(rowCount));
    for (int r = 0; r < rowCount; ++r)
      if (r < static_cast<int>(model.data.size()) && c < static_cast<int>(model.data[r].size()) && model.data[r][c])
        values[r] = chartNumber(*model.data[r][c]);
    const QString name = c < static_cast<int>(model.seriesNames.size()) ? QString::fromStdString(model.seriesNames[c])
                         : c < static_cast<int>(look.names.size())      ? look.names[c]
                                                                        : QString();
    collect(name, columnColor(c), values, Qt::SolidLine, c == 0 ? look.passedRows : std::vector<bool>());
  }
  if (!look.extra.empty()) {
    std::vector<std::optional<double>> values = look.extra;
    values.resize(std::min<size_t>(values.size(), static_cast<size_t>(rowCount)));
    collect(look.extraName, columnColor(model.columnCount), values, Qt::DashLine);
  }
  const int drawnColumns = static_cast<int>(columns.size());

  // Along the bottom: dates (or times) at round steps, else slot numbers. The categories go
  // before the range, so no label of the old range is laid out on the new one.
  for (const QString& label : xAxis->categoriesLabels()) xAxis->remove(label);
  if (dated) {
    const TimeLabels t = timeLabels(right - left, std::max(1, look.xLabels - 1) * (right - left > 360 ? 5 : 8) / 8);
    const double firstLabel = t.step < 1 ? std::ceil(left / t.step - 1e-9) * t.step : std::ceil(left - 1e-9);
    for (double at = firstLabel; at <= right + 1e-9; at += t.step) xAxis->append(dayText(at, t.format), at);
  } else {
    const int step =
        std::max(1, static_cast<int>(std::lround(niceStep(right - left, std::max(1, look.xLabels - 1)).step)));
    for (int r = static_cast<int>(std::ceil(left)); r <= right + 1e-9; r += step) xAxis->append(QString::number(r), r);
  }
  xAxis->setStartValue(left);
  xAxis->setRange(left, right);

  // The model's limits, widened so that no drawn value falls outside. Limits that are upside down
  // (no record yet) are ignored, and so are they when days in view are chosen.
  bool limited = !windowed && model.axisMin && model.axisMax && *model.axisMin <= *model.axisMax;
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

  // The lines go in once the axes stand: each change of a range would lay out every line again.
  for (const Column& column : columns) {
    const QString& name = column.name;
    bool first = true;
    // Empty while it is added and put on the axes, which lay it out each time; then its points.
    auto add = [&](QXYSeries* s, const QList<QPointF>& points) {
      s->setName(name);
      s->setColor(column.color);
      chart.addSeries(s);
      s->attachAxis(xAxis);
      s->attachAxis(yAxis);
      s->replace(points);
      // One legend entry per column, however many pieces it is drawn in.
      if (!first)
        for (QLegendMarker* m : chart.legend()->markers(s)) m->setVisible(false);
      first = false;
      // The nearest point of the line under the pointer, with its date.
      QObject::connect(s, &QXYSeries::hovered, s, [s, name, dated](const QPointF& at, bool over) {
        if (!over) return QToolTip::hideText();
        const auto points = s->points();
        if (points.isEmpty()) return;
        const QPointF* best = &points.first();
        for (const QPointF& p : points)
          if (std::abs(p.x() - at.x()) < std::abs(best->x() - at.x())) best = &p;
        const bool timed = std::abs(best->x() - std::round(best->x())) > 1e-6;
        const QString where = dated ? dayText(best->x(), timed ? "yyyy/MM/dd HH:mm" : "yyyy/MM/dd")
                                    : QString::number(std::lround(best->x()));
        QToolTip::showText(QCursor::pos(), where + "\n" + name + ": " + QString::number(best->y(), 'g', 7));
      });
    };
    for (const auto& points : column.runs) {
      if (points.size() == 1) {
        auto* s = new QScatterSeries;
        s->setMarkerSize(7);
        s->setBorderColor(column.color);
        add(s, points);
      } else {
        auto* s = new QLineSeries;
        s->setPointsVisible(showPoints && column.style == Qt::SolidLine);
        QPen pen(column.color);
        pen.setWidthF(1.6);
        pen.setStyle(column.style);
        s->setPen(pen);
        add(s, points);
      }
    }
  }
  // Nothing drawn: an empty plot, with no scale or names made up for it.
  const bool drawn = drawnColumns > 0;
  xAxis->setLabelsVisible(drawn);
  yAxis->setLabelsVisible(drawn);
  chart.legend()->setVisible(drawn && (model.columnCount > 1 || !look.extra.empty()));
  setChartFont(chart, look.font ? *look.font : xAxis->labelsFont());
}

}  // namespace qt
