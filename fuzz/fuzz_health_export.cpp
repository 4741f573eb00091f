// The health export's XML reader on any bytes: fed whole or in two pieces it reads the same,
// an error leaves no figures, every figure is in range and at most one a day, in order.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "import/health_export.h"
#include "import/scale_csv.h"

namespace {
void check(const history::Series& s, double highest) {
  int skipped = 0;
  for (const auto& [why, n] : s.skipped) skipped += n;
  if (skipped > s.records || static_cast<int>(s.days.size()) > s.records) __builtin_trap();
  for (size_t i = 0; i < s.days.size(); ++i) {
    if (!(s.days[i].value >= 0 && s.days[i].value <= highest)) __builtin_trap();
    if (i > 0 && s.days[i].day <= s.days[i - 1].day) __builtin_trap();
  }
}
bool same(const history::Series& a, const history::Series& b) {
  if (a.records != b.records || a.skipped != b.skipped || a.days.size() != b.days.size()) return false;
  for (size_t i = 0; i < a.days.size(); ++i)
    if (a.days[i].day != b.days[i].day || a.days[i].value != b.days[i].value) return false;
  return true;
}
}  // namespace

// The first byte chooses where the XML is cut in two; the CSV reader gets the same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  const history::DayFigures whole = history::readHealthXml(bytes);
  history::HealthXmlReader reader;
  const size_t cut = bytes.size() * data[0] / 255;
  if (reader.feed(bytes.data(), cut, false)) reader.feed(bytes.data() + cut, bytes.size() - cut, true);
  const history::DayFigures pieces = reader.finish();

  if (whole.error.has_value() != pieces.error.has_value()) __builtin_trap();
  if (whole.error && (!whole.weight.days.empty() || !whole.fat.days.empty() || !whole.steps.days.empty()))
    __builtin_trap();
  if (!same(whole.weight, pieces.weight) || !same(whole.fat, pieces.fat) || !same(whole.steps, pieces.steps))
    __builtin_trap();
  check(whole.weight, history::kHighestKg);
  check(whole.fat, 100);
  check(whole.steps, history::kHighestSteps);

  const history::DayFigures csv = history::readScaleCsv(bytes);
  check(csv.weight, history::kHighestKg);
  check(csv.fat, 100);
  check(csv.steps, history::kHighestSteps);
  return 0;
}
