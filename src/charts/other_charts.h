#pragma once
// The single-series trend charts: intra-day weights, body fat, fat mass and steps, and the
// axis boxes that set the body-fat and step charts' limits.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/control.h"
#include "profile/profile.h"

namespace charts {

// What a draw did; a chart that needs two records says so with a message.
enum class DrawResult { Empty, OneRecord, Drawn };

// MSChart5: from the second weighing on; the axis follows the daily log's highest weight and
// the target weight, not the intra-day values.
DrawResult DrawIntradayChart(form::Control& chart, const std::vector<float>& kg, float maxWeight, float targetWeight);
// MSChart2: from the second record on, between the profile's limits.
DrawResult DrawBodyFatChart(form::Control& chart, const std::vector<float>& percent, float axisMax, float axisMin);
// MSChart4: the axis runs from the whole part of the lowest to the whole part of the highest.
void DrawFatMassChart(form::Control& chart, const std::vector<float>& fatMassKg);
// MSChart3: a single record is drawn too.
DrawResult DrawStepChart(form::Control& chart, const std::vector<float>& steps, int axisMax, int axisMin);

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
