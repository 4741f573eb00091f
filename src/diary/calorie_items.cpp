#include "diary/calorie_items.h"

#include <array>
#include <cmath>

#include "store/cp932.h"
#include "store/files.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"
#include "words/file_errors.h"
#include "words/messages.h"

namespace diary {
namespace {
constexpr std::string_view kSeparator = " _ ";
// Up to 300 items, each written over up to ten lines by hand.
constexpr store::RecordLimit kItemsLimit{10 * 300};

std::optional<int16_t> toInt16(double v) {
  if (!std::isfinite(v)) return std::nullopt;
  double whole = store::roundHalfEven(v);
  if (whole < -32768 || whole > 32767) return std::nullopt;
  return static_cast<int16_t>(whole);
}

// The entry made from a name already copied (reading the file makes one of each).
std::string entryOf(std::string name, int calories) {
  name += kSeparator;
  name += std::to_string(calories);
  return name;
}
}  // namespace

std::string CalorieItemEntry(std::string_view name, int calories) { return entryOf(std::string(name), calories); }

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

namespace {
// Reads every item of `r`, refusing a record of no known list; with `items`, makes their entries
// too. Start-up only checks and counts, the same way: the entries are made when a list is read.
std::array<int, kItemLists> readItems(store::RecordReader& r, std::vector<RegisteredItem>* items) {
  std::array<int, kItemLists> counts{};
  if (items) items->reserve(r.recordsHint());
  while (!r.atEnd()) {
    // Views, not copies: the key is one of four and the name goes straight into its entry.
    const std::string_view key = r.readTextView();
    const int line = r.line();
    const std::optional<int> list = itemListOfKey(key);
    const std::string unknownKey = list ? std::string() : std::string(key);
    std::string name;
    if (items)
      name = r.readTextView();
    else
      r.skipField();
    const int16_t calories = r.readInt16();
    if (!list)
      throw store::StoreError(r.fileName(), store::lineText(r.fileName(), line) + words::unknownItemList(unknownKey));
    ++counts[static_cast<size_t>(*list)];
    if (items) items->push_back({*list, entryOf(std::move(name), calories)});
  }
  return counts;
}
}  // namespace

std::vector<RegisteredItem> readCalorieItems(const std::string& fileName) {
  store::RecordReader r(fileName, kItemsLimit);
  return readCalorieItems(r);
}

std::vector<RegisteredItem> readCalorieItems(store::RecordReader& r) {
  std::vector<RegisteredItem> items;
  readItems(r, &items);
  return items;
}

CheckedItems checkCalorieItems(const std::string& fileName) {
  store::OpenedFile file(fileName);
  return checkCalorieItems(file);
}

CheckedItems checkCalorieItems(store::OpenedFile& file) {
  store::RecordReader r(file, kItemsLimit);
  CheckedItems checked{file.name(), r.bytes(), readItems(r, nullptr)};
  return checked;
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
