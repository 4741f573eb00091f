#include "records/dated_log.h"

namespace records {

std::optional<size_t> insertionIndex(const store::TextColumn& dates, store::Date day) {
  if (dates.empty()) return std::nullopt;
  const std::optional<store::Date> last = store::parseDate(dates.back());
  if (!last || !(day < *last)) return std::nullopt;
  for (size_t i = dates.size(); i-- > 0;) {
    const std::optional<store::Date> d = store::parseDate(dates[i]);
    if (!d || !(day < *d)) return i + 1;
  }
  return 0;
}

void rewriteWithInsert(const std::string& fileName, const store::TextColumn& dates, const std::vector<float>& values,
                       size_t at, const store::Record& added) {
  std::vector<store::Record> records;
  records.reserve(dates.size() + 1);
  for (size_t i = 0; i < dates.size(); ++i) {
    if (i == at) records.push_back(added);
    records.push_back(store::Record().text(dates[i]).single(values[i]));
  }
  if (at >= dates.size()) records.push_back(added);
  store::rewriteRecords(fileName, records);
}

void storeInDateOrder(const std::string& fileName, const store::TextColumn& dates, const std::vector<float>& values,
                      store::Date day, const store::Record& added) {
  if (auto at = insertionIndex(dates, day))
    rewriteWithInsert(fileName, dates, values, *at, added);
  else
    store::appendRecords(fileName, {added});
}

}  // namespace records
