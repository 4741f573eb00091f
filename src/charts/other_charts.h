#pragma once
// The single-series trend charts: intra-day weights, body fat, fat mass and steps, and the
// axis boxes that set the body-fat and step charts' limits.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/control.h"
#include "profile/profile.h"
#include "store/text_column.h"

namespace charts {

// What a draw did; a chart that needs two records says so with a message.
enum class DrawResult { Empty, OneRecord, Drawn };

// A record's place in time: days since 1970/01/01, a time "hh:mm:ss" adding the part of its day
// gone; nullopt when the date or the time cannot be read.
std::optional<double> dayNumber(std::string_view date, std::string_view time = {});
// The days of records by their dates (and times, when given), made when the chart is first read.
// A date that cannot be read, or one before the record above it, leaves the chart's rows as
// evenly spaced slots.
form::Control::RowDaysMaker recordDays(store::TextColumn dates, store::TextColumn times = {});

// Each draw places its rows by `days` (none: evenly spaced slots).
// MSChart5: from the second weighing on; the axis follows the daily log's highest weight and
// the target weight, not the intra-day values.
DrawResult DrawIntradayChart(form::Control& chart, const std::vector<float>& kg, float maxWeight, float targetWeight,
                             form::Control::RowDaysMaker days = {});
// MSChart2: from the second record on, between the profile's limits.
DrawResult DrawBodyFatChart(form::Control& chart, const std::vector<float>& percent, float axisMax, float axisMin,
                            form::Control::RowDaysMaker days = {});
// MSChart4: the axis runs from the whole part of the lowest to the whole part of the highest.
void DrawFatMassChart(form::Control& chart, const std::vector<float>& fatMassKg, form::Control::RowDaysMaker days = {});
// MSChart3: a single record is drawn too.
DrawResult DrawStepChart(form::Control& chart, const std::vector<float>& steps, int axisMax, int axisMin,
                         form::Control::RowDaysMaker days = {});

// The four axis boxes.
enum class AxisBox { FatMax, FatMin, StepMax, StepMin };

// A typed number: the whole text, blanks around it allowed; nullopt for anything else.
std::optional<double> ReadNumberBox(std::string_view text);

// Stores `v` in the profile field of `box`, converted to that field's type (steps are rounded,
// halves to even). False, and the profile untouched, when `v` does not fit that field.
bool StoreAxisLimit(profile::Profile& p, AxisBox box, double v);

// Sets one limit of `chart`, keeping the other as the chart has it (or `otherFallback` when the
// chart has none yet). A pair whose minimum is not below its maximum is ignored by the chart.
void SetOneLimit(form::Control& chart, bool isMax, double v, double otherFallback);

}  // namespace charts
