#pragma once
// The body-fat and step logs are kept in date order: an entry for a day before the log's last
// record goes in its place rather than at the end.
#include <optional>
#include <string>
#include <vector>

#include "store/dates.h"
#include "store/record.h"
#include "store/text_column.h"

namespace records {

// Where a record for `day` belongs among `dates` (the log's date fields in file order): after the
// last record whose date is not later than `day`. nullopt when it belongs at the end, to be
// appended: an empty log, a day not before the last record's, or a last date that is no date.
// A log left out of order by hand is taken as it is.
std::optional<size_t> insertionIndex(const store::TextColumn& dates, store::Date day);

// Rewrites `fileName` (atomically) with the log's records and `added` at position `at`.
void rewriteWithInsert(const std::string& fileName, const store::TextColumn& dates, const std::vector<float>& values,
                       size_t at, const store::Record& added);

// Appends `added` (dated `day`), or inserts it in date order when the log runs past that day.
void storeInDateOrder(const std::string& fileName, const store::TextColumn& dates, const std::vector<float>& values,
                      store::Date day, const store::Record& added);

}  // namespace records
