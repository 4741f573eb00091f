#include "words/import_messages.h"

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

}  // namespace words
