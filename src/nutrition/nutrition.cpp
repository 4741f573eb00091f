#include "nutrition/nutrition.h"

#include <cmath>

#include "store/numbers.h"
#include "store/record.h"

namespace nutrition {

const std::array<std::string, kGroupCount>& adviceLines() {
  static const std::array<std::string, kGroupCount> lines = {
      "【乳】  吸収のいいカルシウムやビタミンＡ，Ｂ2など不足がちな栄養素を含む",
      "【卵】  必須アミノ酸８種を全てバランスよく含む良質なたんぱく源",
      "【肉】  筋肉、血液、爪などを作る体の基礎栄養素であるたんぱく質の良質なものを供給",
      "【魚】　肉と同様",
      "【豆】  植物性たんぱく質を多く含む畑の肉。特に大豆はコレステロール低下に効く",
      "【野】  体の不調を取り、活性化するビタミン、ミネラルと食物繊維が豊富",
      "【芋】  ビタミンＣやＢ1、食物繊維は加熱しても安定な状態でしかも豊富",
      "【果】  生のままで食べられるのでビタミンＣの供給源として効果的",
      "【穀】  活動に必要なエネルギー源。たんぱく質、ビタミンＢ1、ミネラルも含む",
      "【砂】  約９８％が等質の高エネルギー食品。他の栄養素は期待できず",
      "【油】  腹持ちをよくする。ビタミンＡ、Ｄ、Ｅの吸収を促す役目あり",
  };
  return lines;
}

std::vector<NutritionRecord> readNutritionLog(const std::string& fileName) {
  store::RecordReader r(fileName, store::kDailyLogLimit);
  return readNutritionLog(r);
}

std::vector<Ticks> readTicks(store::RecordReader& r) {
  std::vector<Ticks> ticks;
  ticks.reserve(r.recordsHint());
  store::TextIs isTicked(kTicked);
  while (!r.atEnd()) {
    r.skipField();
    Ticks& t = ticks.emplace_back();
    for (bool& ticked : t) ticked = isTicked.next(r);
  }
  return ticks;
}

std::vector<NutritionRecord> readNutritionLog(store::RecordReader& r) {
  std::vector<NutritionRecord> records;
  records.reserve(r.recordsHint());
  while (!r.atEnd()) {
    NutritionRecord rec;
    rec.date = r.readText();
    for (auto& mark : rec.marks) mark = r.readText();
    records.push_back(std::move(rec));
  }
  return records;
}

void appendNutritionRecord(const std::string& date, const std::array<bool, kGroupCount>& ticked,
                           const std::string& fileName) {
  store::Record rec;
  rec.text(date);
  for (bool t : ticked) rec.text(t ? kTicked : kNotTicked);
  store::appendRecords(fileName, {rec});
}

void writeNutritionLog(const std::vector<NutritionRecord>& records, const std::string& fileName) {
  std::vector<store::Record> out;
  out.reserve(records.size());
  for (const auto& r : records) {
    store::Record rec;
    rec.text(r.date);
    for (const auto& mark : r.marks) rec.text(mark);
    out.push_back(std::move(rec));
  }
  store::rewriteRecords(fileName, out);
}

std::optional<size_t> lastRecordOf(const std::vector<NutritionRecord>& records, const std::string& date) {
  for (size_t i = records.size(); i-- > 0;)
    if (records[i].date == date) return i;
  return std::nullopt;
}

namespace {
// The last `n` characters of a UTF-8 text (the whole text when it is shorter).
std::string lastChars(const std::string& s, int n) {
  size_t pos = s.size();
  for (int count = 0; pos > 0 && count < n;) {
    --pos;
    if ((static_cast<unsigned char>(s[pos]) & 0xC0) != 0x80) ++count;
  }
  return s.substr(pos);
}
}  // namespace

std::string historyLine(const NutritionRecord& r) {
  std::string line = lastChars(r.date, 5) + "-";
  for (const auto& mark : r.marks) line += mark;
  return line;
}

std::optional<NutritionShares> analyse(const std::vector<NutritionRecord>& records, bool showAll) {
  std::vector<Ticks> ticks;
  ticks.reserve(records.size());
  for (const NutritionRecord& r : records) {
    Ticks& t = ticks.emplace_back();
    for (int g = 0; g < kGroupCount; ++g) t[g] = r.marks[g] == kTicked;
  }
  return analyseTicks(ticks, showAll);
}

std::optional<NutritionShares> analyseTicks(const std::vector<Ticks>& ticks, bool showAll) {
  const int n = static_cast<int>(ticks.size());
  if (n == 0) return std::nullopt;
  NutritionShares s;
  for (int p = 0; p < n; ++p) {
    if (!showAll && p < n - kRecentRecords) continue;
    ++s.included;
    for (int g = 0; g < kGroupCount; ++g)
      if (ticks[p][g]) ++s.ticks[g];
  }
  for (int g = 0; g < kGroupCount; ++g)
    s.percent[g] = static_cast<float>(static_cast<double>(s.ticks[g]) / s.included * 100.0);
  return s;
}

bool isDeficient(float percent) { return percent >= 0 && percent < kDeficientBelow; }

form::Color barColour(float percent) {
  if (percent < kDeficientBelow) return 0xFF0000;
  if (percent < 80.0f) return 0xFFFF00;
  return 0x0000FF;
}

int barWidth(int backWidth, float percent) {
  return static_cast<int>(std::floor(static_cast<double>(backWidth) * percent / 100.0));
}

std::string percentText(float percent) { return store::formatNumber(percent, "0.0") + "%"; }

}  // namespace nutrition
