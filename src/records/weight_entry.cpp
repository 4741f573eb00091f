#include "records/weight_entry.h"

#include <cmath>

#include "store/numbers.h"

namespace records {

std::string dataLimitMessage() {
  return "保存データ量が２年分なりました。長々御愛用いただきうれしく思います。\n"
         "\n"
         "このフォルダとしてはこれ以上データを保存することはできません。\n"
         "\n"
         "もう一つZorvelのフォルダをコピーするなどして作成して\n"
         "新規にスタートしてください。";
}

std::string notAfterLastMessage(const std::string& lastDateText) {
  return "すでに登録済みの日付(" + lastDateText +
         ")以前の日付で保存しようとしています\n"
         "正しい日付で保存し直してください\n"
         "\n"
         "※データの修正は「体重.txt」をダブルクリックで開いて直接編集できます。";
}

std::string gapFillQuestion(store::Date last, store::Date entry, float lastKg) {
  const std::string kg = store::shortestSingle(lastKg);
  return store::formatDate(last + std::chrono::days(1)) + "～" + store::formatDate(entry - std::chrono::days(1)) +
         "までのデータが保存されていません\n"
         "最終日のデータ (" +
         kg +
         "Kg)でうめておきますか？\n"
         "\n"
         "『はい』をクリックすると自動的に" +
         kg +
         "Kgでうめます\n"
         "自分で保存し直す場合は『いいえ』をクリックしてください";
}

std::optional<std::string> bestRecordMessage(float kg, float minWeight) {
  if (kg < minWeight) {
    float by = minWeight - kg;  // single, as both weights are
    return "最高記録を " + store::formatNumber(by, "0.0Kg") + " 更新しました  ";
  }
  if (kg == minWeight) return std::string("最高記録と並びました  ");
  return std::nullopt;
}

std::vector<store::Record> recordsForEntry(store::Date last, float lastKg, int gap, const std::string& entryDate,
                                           float kg) {
  std::vector<store::Record> out;
  for (int i = 1; i < gap; ++i)
    out.push_back(store::Record().text(store::formatDate(last + std::chrono::days(i))).single(lastKg));
  out.push_back(store::Record().text(entryDate).single(kg));
  return out;
}

namespace {
// In hundredths, so that a change of exactly 5 % or 5 points, as typed, is no question.
long long hundredths(double v) { return std::llround(v * 100); }
}  // namespace

bool UnlikelyWeight(double before, double now) {
  return std::llabs(hundredths(now) - hundredths(before)) * 20 > hundredths(before);
}

bool UnlikelyFat(double before, double now) { return std::llabs(hundredths(now) - hundredths(before)) > 500; }

}  // namespace records
