#pragma once
// The intra-day weight log 連続体重.txt: weighings at any time of the day, stamped by the clock.
#include <string>
#include <vector>

#include "store/dates.h"
#include "store/record.h"
#include "store/text_column.h"

namespace records {

inline constexpr const char* kIntradayFile = "連続体重.txt";

struct IntradaySeries {
  store::TextColumn IntradayDate;  // fields exactly as read
  store::TextColumn IntradayTime;
  std::vector<float> IntradayWeightKg;
  int IntradayCount = 0;
};

// Throws store::StoreError.
IntradaySeries ReadIntradayWeightLog();

// The record of one weighing taken at `now`; the weight keeps the precision it was typed with.
store::Record IntradayRecord(const store::DateTime& now, double kg);

// The cells of msgTaiList's row for record i.
std::vector<std::string> IntradayListCells(const IntradaySeries& s, int i);

}  // namespace records
