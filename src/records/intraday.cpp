#include "records/intraday.h"

#include <cstdio>

#include "records/body_fat.h"
#include "store/dates.h"

namespace records {

namespace {

// "7:5:3" or "07:05:03" as HH:NN:SS; anything else as it is.
std::string listTime(const std::string& t) {
  // The usual "H:M:S" of one or two digits each, without the scanf below.
  int f[3] = {0, 0, 0}, k = 0, digits = 0;
  bool plain = true;
  for (char c : t) {
    if (c >= '0' && c <= '9' && digits < 2) {
      f[k] = f[k] * 10 + (c - '0');
      ++digits;
    } else if (c == ':' && digits > 0 && k < 2) {
      ++k;
      digits = 0;
    } else {
      plain = false;
      break;
    }
  }
  if (plain && k == 2 && digits > 0) {
    if (f[0] > 23 || f[1] > 59 || f[2] > 59) return t;
    return store::formatTime({store::Date{}, f[0], f[1], f[2]});
  }
  int h = 0, n = 0, s = 0;
  char rest = 0;
  if (std::sscanf(t.c_str(), "%d:%d:%d%c", &h, &n, &s, &rest) != 3 || h < 0 || h > 23 || n < 0 || n > 59 || s < 0 ||
      s > 59)
    return t;
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", h, n, s);
  return buf;
}

}  // namespace

IntradaySeries ReadIntradayWeightLog() {
  IntradaySeries s;
  store::RecordReader r(kIntradayFile, store::kBusyLogLimit);
  s.IntradayDate.reserve(r.recordsHint());
  s.IntradayTime.reserve(r.recordsHint());
  s.IntradayWeightKg.reserve(r.recordsHint());
  while (!r.atEnd()) {
    s.IntradayDate.read(r);
    s.IntradayTime.read(r);
    s.IntradayWeightKg.push_back(r.readSingle());
    ++s.IntradayCount;
  }
  return s;
}

store::Record IntradayRecord(const store::DateTime& now, double kg) {
  store::Record rec;
  rec.text(store::formatDate(now.date)).text(store::formatTime(now)).dbl(kg);
  return rec;
}

std::vector<std::string> IntradayListCells(const IntradaySeries& s, int i) {
  return {ListDate(s.IntradayDate[i]), listTime(std::string(s.IntradayTime[i])),
          FormatSingle(s.IntradayWeightKg[i], "0.0Kg")};
}

}  // namespace records
