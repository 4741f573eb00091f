#include "words/messages.h"

namespace words {
namespace {
std::string cat(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (std::string_view p : parts) s += p;
  return s;
}
std::string subjectOf(std::string_view what) { return what.empty() ? std::string() : cat({what, "に"}); }
}  // namespace

std::string quoteRefused(std::string_view what) {
  return cat({subjectOf(what), "「\"」（ダブルクォーテーション）は使えません。"});
}

std::string underscoreRefused(std::string_view what) {
  return cat({subjectOf(what), "「_」（アンダーバー）は使えません。"});
}

std::string unstorableChar(std::string_view ch) {
  return cat({"保存できない文字「", ch, "」が含まれています。別の文字にして入力し直してください。"});
}

std::string rangeRefused(std::string_view subject, long long low, long long high, std::string_view kind) {
  return cat(
      {subject, "は ", std::to_string(low), " から ", std::to_string(high), " までの", kind, "で入力してください。"});
}

std::string positiveRefused(std::string_view subject) {
  return cat({subject, "は 0 より大きい数値で入力してください。"});
}

std::string tooLarge(std::string_view subject) { return cat({subject, "の数値が大きすぎます。"}); }

std::string dateRefused(std::string_view typed) {
  return cat({"日付「", typed, "」が読めません。2026/12/07 の形で入力するか、日付の選択で日を選んでください。"});
}

std::string calorieTotalTooLarge(bool adding) {
  return cat({"カロリーの合計または収支が -32768 から 32767 の範囲を超えるため、この品目は", adding ? "追加" : "削除",
              "できません。"});
}

std::string targetRefusedRenameCancelled() { return positiveRefused("目標数") + "\n種目の変更は取り消しました。"; }

std::string lineBreakRefused(std::string_view what) {
  return cat({subjectOf(what), "改行は使えません。一行で入力してください。"});
}

std::string dayName(std::string_view date, std::string_view name) { return cat({date, " の", name}); }

std::string dayRecord(std::string_view date, std::string_view name, std::string_view value) {
  return cat({dayName(date, name), " ", value});
}

std::string correctionPrompt(std::string_view subject, std::string_view unit) {
  return unit.empty() ? cat({subject, "を修正します"}) : cat({subject, "を修正します（", unit, "）"});
}

std::string registeredItem(std::string_view entry) { return cat({"登録項目「", entry, "」"}); }
std::string memoNote(std::string_view note) { return cat({"メモ「", note, "」"}); }
std::string checklistDay(std::string_view date) { return cat({date, " の栄養チェック"}); }
std::string trainingRename(std::string_view from, std::string_view to) {
  return cat({"「", from, "」から「", to, "」への種目の変更"});
}
std::string calendarMark(std::string_view month, std::string_view day) { return cat({month, day, "日の印"}); }

std::string confirmDeletion(std::string_view what) { return cat({what, " を削除します。よろしいですか？"}); }

std::string askUnlikelyChange(std::string_view monthDay, std::string_view before, std::string_view by, bool up,
                              std::string_view what) {
  return cat({"前回（", monthDay, "）の ", before, " から ", by, up ? " 増えています。この" : " 減っています。この",
              what, "で記録しますか？"});
}

std::string askUnlikelyImport(int rows) {
  return cat({"読み込む記録のうち ", std::to_string(rows),
              " 件は、前の記録から体重が 5% より、体脂肪率が 5 ポイントより大きく変わっています。"
              "入力のまちがいでないか確かめてください。\nこのまま読み込みますか？"});
}

std::string askReplace(std::string_view monthDay) {
  return cat({monthDay, "の記録はすでにあります。置き換えますか？"});
}

std::string confirmUndo(std::string_view what) {
  return cat({"直前の操作（", what, "）を取り消します。よろしいですか？"});
}

std::string confirmTrainingRename(std::string_view title, int records) {
  return cat(
      {"「", title, "」の記録（", std::to_string(records), "件）を消去して新しい種目にします。よろしいですか？"});
}

std::string unsavedDiaryDay(std::string_view monthDay) {
  return cat({monthDay, "の日記は保存されていません。保存しますか？"});
}

std::string partlyReadDay(int unread, std::string_view copies) {
  return cat({"この日のファイルには読み込めなかった記録が ", std::to_string(unread),
              " 件あります。\n保存すると、それらは失われます。\n\n元のファイルは ", copies,
              " として残します。\n保存しますか？"});
}

std::string dayReadInPart(std::string_view problems) {
  return cat({problems,
              "\n読み込めたところまでを表示しています。ファイルを直すと、次にこの日を開いたときに全部を表示します。"});
}

std::string calendarMonthDamaged(std::string_view damage) {
  return cat({damage, "\n\nこの月のファイルを直すまで、カレンダーの印は変えられません。"});
}

std::string backupDamaged(std::string_view folder, std::string_view damage) {
  return cat({"「", folder, "」のバックアップには読めないファイルがあるため、戻せません。\n", damage,
              "\n\nほかの日のバックアップを選んでください。"});
}

std::string confirmRestore(std::string_view folder, int weights, std::string_view safetyFolder) {
  return cat({"「", folder, "」のバックアップ（体重 ", std::to_string(weights), "件）に戻します。\n今のデータは先に「",
              safetyFolder, "」にコピーします。\n\nよろしいですか？"});
}

std::string restoreNotStarted(std::string_view why) {
  return cat({"今のデータをコピーできなかったため、戻すのをやめました。データは変わっていません。\n", why});
}

std::string safetyCopyAt(std::string_view safetyFolder) {
  return cat({"戻す前のデータは「", safetyFolder, "」にあります。"});
}

std::string restoreFailed(std::string_view why, std::string_view safetyFolder) {
  return cat({"戻せませんでした。データは変わっていません。\n", why, "\n\n", safetyCopyAt(safetyFolder)});
}

std::string restored(std::string_view folder, std::string_view safetyFolder) {
  return cat({"「", folder, "」のバックアップに戻しました。\n", safetyCopyAt(safetyFolder)});
}

std::string backupNotMade(std::string_view why) {
  return cat({"今日のバックアップを作れませんでした。データはそのまま使えます。\n", why});
}

std::string confirmOverwrite(std::string_view names) {
  return cat({"次のファイルはすでにあります。置き換えますか？\n", names});
}

std::string exported(size_t files, std::string_view folder) {
  return cat({std::to_string(files), " 個の CSVファイルを書き出しました。\n", folder});
}

std::string importUnreadable(std::string_view file, std::string_view why) {
  return cat({"「", file, "」を読み込めません。\n", why});
}

std::string importGap(int days) {
  return cat({"読み込む日付の間に体重のない日が ", std::to_string(days),
              " 日あります。\n前の日の体重でうめておきますか？\n\n"
              "『いいえ』をクリックすると、間のあいた日より後の行は読み込みません"});
}

std::string nothingToImport(std::string_view counts) {
  return cat({"読み込める新しい体重の行がありません。\n\n", counts});
}

std::string importGapTooLong(std::string_view before, std::string_view after, int days, bool inDiary) {
  return cat(
      {inDiary ? "体重の記録の最後の日 " : "", before, " と ", after, " の間の ", std::to_string(days),
       " 日は体重がありません。\n1 年（365 日）を超える間は前の日の体重でうめられないため、読み込みませんでした。\n",
       inDiary ? "この体重を記録するには、設定ページの「データの新規スタート」で新しく始めてから読み込んでください。"
               : "間より前か後の行だけのCSVファイルにしてから読み込んでください。"});
}

std::string csvImportStep(int days) { return cat({"CSVからの体重 ", std::to_string(days), " 日分の読み込み"}); }

std::string csvFatsImported(int records) {
  return cat({"\n体脂肪率を ", std::to_string(records), " 件読み込みました。"});
}

std::string csvImported(int days, int filled) {
  std::string text = cat({"体重を ", std::to_string(days), " 日分読み込みました。"});
  if (filled > 0) text += cat({"\n間の ", std::to_string(filled), " 日は前の日の体重でうめました。"});
  return text;
}

std::string backupLine(std::string_view folder, int weights, std::string_view lastDate, const std::string* damage) {
  std::string line = cat({folder, "  体重 ", std::to_string(weights), "件"});
  if (!lastDate.empty()) line += cat({"  最終日 ", lastDate});
  if (damage) line = cat({"× ", line, "  (", *damage, ")"});
  return line;
}

std::string backupDateUnreadable(std::string_view file, int line) {
  return cat({file, " の ", std::to_string(line), " 行目の日付が読めません"});
}
std::string backupFileUnreadable(std::string_view file) { return cat({file, " が読めません"}); }
std::string backupFileMissing(std::string_view file) { return cat({file, " がありません"}); }

std::string helpFileMissing(std::string_view file, std::string_view folder) {
  return cat({"ヘルプファイル「", file, "」が見つかりません。\n\nプログラムのフォルダー（", folder,
              "）に置くか、プログラムをインストールし直してください。"});
}

std::string notANumber(std::string_view field) { return cat({"数値の欄に「", field, "」とあります。"}); }
std::string numberOutOfRange(std::string_view range, std::string_view field) {
  return cat({range, "の範囲を超えた数値「", field, "」があります。"});
}
std::string tooManyLines(std::string_view quotedName, size_t lines, size_t limit) {
  return cat({quotedName, "には ", std::to_string(lines), " 行の記録があり、扱える ", std::to_string(limit),
              " 行を超えています。"});
}
std::string unknownItemList(std::string_view key) { return cat({"リストの種類「", key, "」がわかりません。"}); }
std::string weightOutOfRange(std::string_view field) {
  return cat({"体重「", field, "」は 0 より大きく 999.9 以下ではありません。"});
}
std::string dateUnreadable(std::string_view field) { return cat({"日付「", field, "」が読めません。"}); }
std::string writeRefused(std::string_view quotedName, std::string_view why) {
  return cat({quotedName, "に書き込めませんでした。", why, "。"});
}
std::string unencodableByte(size_t offset) {
  return cat({"Shift-JIS（CP932）として読めないバイトがあります（先頭から ", std::to_string(offset), " バイト目）。"});
}
std::string unencodableChar(std::string_view ch) { return cat({"「", ch, "」は Shift-JIS で保存できない文字です"}); }
std::string converterMissing(std::string_view from, std::string_view to) {
  return cat({"文字コード変換 ", from, " → ", to, " が使えません。iconv の CP932 が入っているか確かめてください。"});
}
std::string sampleNotPrepared(std::string_view folder, std::string_view why) {
  return cat({"データフォルダー「", folder, "」にサンプルデータを用意できませんでした。\n", why});
}
std::string sampleFolderMissing(std::string_view seedFolder) {
  return cat({"サンプルデータのフォルダー「", seedFolder, "」が見つかりません。プログラムを入れ直してください。"});
}
std::string changedSince(std::string_view file) {
  return cat({"「", file, "」はこの操作のあとで書き換えられているため、元に戻せません。"});
}

std::string weightDatesOutOfOrder(std::string_view lineText, std::string_view date, std::string_view previous) {
  return cat({lineText, "日付「", date, "」が前の記録の日付「", previous,
              "」の後ではありません。\n同じ日の体重が二つあるか、日付が前に戻っています（二つの Zorvel で同時に"
              "入力したときや、手で書き換えたときに起こります）。\n\nこのまま使えますが、グラフや集計が正しく"
              "なりません。テキストエディターでこの行を直してください。"});
}

std::string itemCalories(std::string_view name) { return cat({"「", name, "」のカロリー数"}); }

}  // namespace words
