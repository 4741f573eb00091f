#pragma once
// Registered food, drink and exercise items, and the entry text every diary list shows:
// the item name, " _ " and the calories.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {
class OpenedFile;
class RecordReader;
}  // namespace store

namespace diary {

inline constexpr const char* kCalorieItemsFile = "ｶﾛﾘｰ.txt";
inline constexpr int kItemLists = 3;  // food, drink, exercise
inline constexpr int kExerciseItems = 2;

std::string CalorieItemEntry(std::string_view name, int calories);
// The calories written at the end of an entry; nullopt when the text has no separator or no
// 16-bit whole number after it. The separator is taken from the right, so a name from an old
// or hand-edited file that holds "_" still reads.
std::optional<int> entryCalories(std::string_view entry);
// The item name: the text before the separator (the whole text when it has none).
std::string entryName(std::string_view entry);

// Why a typed item name cannot be stored, as a message for the user; nullopt when it can.
// A quote would end the text field early and "_" would be mistaken for the separator.
std::optional<std::string> itemNameProblem(std::string_view name);

// A typed calorie answer: its leading number rounded to a whole number, halves to the even
// neighbour; nullopt when the result does not fit in 16 bits.
std::optional<int16_t> caloriesFromAnswer(std::string_view answer);

// "ﾘｽﾄ1" for list 0 and so on; the list of a key, nullopt for any other key.
std::string itemListKey(int list);
std::optional<int> itemListOfKey(std::string_view key);

struct RegisteredItem {
  int list = 0;
  std::string entry;
};
// Every item of ｶﾛﾘｰ.txt in file order. Throws store::StoreError on a missing or damaged file.
std::vector<RegisteredItem> readCalorieItems(const std::string& fileName = kCalorieItemsFile);
// The same from a reader (bytes read and checked before).
std::vector<RegisteredItem> readCalorieItems(store::RecordReader& r);
// The file read and checked as readCalorieItems does, with the same errors, and each list's
// items counted; the entries are made from `bytes` when first needed.
struct CheckedItems {
  std::string file;
  std::shared_ptr<const std::string> bytes;
  std::array<int, kItemLists> counts{};
};
CheckedItems checkCalorieItems(const std::string& fileName = kCalorieItemsFile);
CheckedItems checkCalorieItems(store::OpenedFile& file);
// Rewrites the whole file (atomically) with `items`, whose entries are name and calories.
void writeCalorieItems(const std::vector<RegisteredItem>& items, const std::string& fileName = kCalorieItemsFile);
// Appends one item; throws store::StoreError when the file cannot be written.
void appendCalorieItem(int list, std::string_view name, int16_t calories,
                       const std::string& fileName = kCalorieItemsFile);

}  // namespace diary
