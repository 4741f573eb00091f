#include "diary/calorie_items.h"

#include <array>
#include <cmath>

#include "store/cp932.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace diary {
namespace {
constexpr std::string_view kSeparator = " _ ";

std::optional<int16_t> toInt16(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  double whole = store::roundHalfEven(v);
  if (whole < -32768 || whole > 32767) return std::nullopt;
  return static_cast<int16_t>(whole);
}
}  // namespace

std::string CalorieItemEntry(std::string_view name, int calories) {
  std::string s(name);
  s += kSeparator;
  s += std::to_string(calories);
  return s;
}

std::optional<int> entryCalories(std::string_view entry) {
  size_t at = entry.rfind(kSeparator);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view digits = entry.substr(at + kSeparator.size());
  if (digits.empty()) return std::nullopt;
  auto v = store::parseNumberField(digits);
  if (!v) return std::nullopt;
  return toInt16(*v);
}

std::string entryName(std::string_view entry) {
  size_t at = entry.rfind(kSeparator);
  return std::string(at == std::string_view::npos ? entry : entry.substr(0, at));
}

std::optional<std::string> itemNameProblem(std::string_view name) {
  if (name.find('"') != std::string_view::npos) return words::quoteRefused("名称");
  if (name.find_first_of("\r\n") != std::string_view::npos) return words::lineBreakRefused("名称");
  if (name.find('_') != std::string_view::npos) return words::underscoreRefused("名称");
  if (auto bad = store::firstUnencodable(name)) return words::unstorableChar(*bad);
  return std::nullopt;
}

std::optional<int16_t> caloriesFromAnswer(std::string_view answer) { return toInt16(store::ValTyped(answer)); }

std::string itemListKey(int list) { return "ﾘｽﾄ" + std::to_string(list + 1); }

std::optional<int> itemListOfKey(std::string_view key) {
  static const std::array<std::string, kItemLists> keys = [] {
    std::array<std::string, kItemLists> k;
    for (int i = 0; i < kItemLists; ++i) k[static_cast<size_t>(i)] = itemListKey(i);
    return k;
  }();
  for (int i = 0; i < kItemLists; ++i)
    if (key == keys[static_cast<size_t>(i)]) return i;
  return std::nullopt;
}

std::vector<RegisteredItem> readCalorieItems(const std::string& fileName) {
  std::vector<RegisteredItem> items;
  store::RecordReader r(fileName, store::RecordLimit{10 * 300});
  while (!r.atEnd()) {
    std::string key = r.readText();
    int line = r.line();
    std::string name = r.readText();
    int16_t calories = r.readInt16();
    auto list = itemListOfKey(key);
    if (!list) throw store::StoreError(fileName, store::lineText(fileName, line) + words::unknownItemList(key));
    items.push_back({*list, CalorieItemEntry(name, calories)});
  }
  return items;
}

void writeCalorieItems(const std::vector<RegisteredItem>& items, const std::string& fileName) {
  std::vector<store::Record> out;
  out.reserve(items.size());
  for (const auto& item : items)
    out.push_back(store::Record()
                      .text(itemListKey(item.list))
                      .text(entryName(item.entry))
                      .int16(static_cast<int16_t>(entryCalories(item.entry).value_or(0))));
  store::rewriteRecords(fileName, out);
}

void appendCalorieItem(int list, std::string_view name, int16_t calories, const std::string& fileName) {
  store::appendRecords(fileName, {store::Record().text(itemListKey(list)).text(name).int16(calories)});
}

}  // namespace diary
