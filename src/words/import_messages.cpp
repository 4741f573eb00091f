#include "words/import_messages.h"

#include <utility>

namespace words {

std::string notHealthExport(std::string_view root) {
  return "ヘルスケアの書き出しではありません（最初の要素が " + std::string(root) + "）。";
}
std::string xmlDamaged(unsigned long line, std::string_view why) {
  return "XML が " + std::to_string(line) + " 行目で壊れています（" + std::string(why) +
         "）。書き出し直したファイルを選んでください。";
}
std::string zipUnreadable(std::string_view why) { return "ZIP ファイルが読めません（" + std::string(why) + "）。"; }
std::string zipEntryUnreadable(std::string_view why) {
  return "ZIP の中の書き出しが読めません（" + std::string(why) + "）。";
}
std::string fileUnopenable(std::string_view name) { return "「" + std::string(name) + "」が開けません。"; }
std::string fileUnreadable(std::string_view name) { return "「" + std::string(name) + "」が読めません。"; }

std::string figuresImportStep(int weights, int fat, int steps) {
  std::string text;
  for (const auto& [name, days] : {std::pair{"体重", weights}, std::pair{"体脂肪率", fat}, std::pair{"歩数", steps}})
    if (days > 0) text += (text.empty() ? "" : "・") + std::string(name) + " " + std::to_string(days) + " 日分";
  return text + "の読み込み";
}

std::string figuresCounts(std::string_view kind, int added, const std::map<std::string, int>& skipped) {
  int count = 0;
  for (const auto& [why, n] : skipped) count += n;
  if (added + count == 0) return "";
  std::string text = "\n\n" + std::string(kind) + "を " + std::to_string(added) +
                     " 日分読み込みました。\n読み飛ばした記録: " + std::to_string(count);
  for (const auto& [why, n] : skipped) text += "\n  " + why + ": " + std::to_string(n);
  return text;
}

}  // namespace words
