#pragma once
// Every message of our own, in one place, so that one meaning has one wording: polite, with
// half-width digits, each saying what happened and what the user can do.
#include <string>
#include <string_view>

namespace words {

// ---- refusals of typed text
// 「名称に「"」（ダブルクォーテーション）は使えません。」; without a subject when `what` is empty.
std::string quoteRefused(std::string_view what);
std::string underscoreRefused(std::string_view what);
// 「保存できない文字「X」が含まれています。別の文字にして入力し直してください。」
std::string unstorableChar(std::string_view ch);
// 「目標期間は 1 から 32767 までの日数で入力してください。」
std::string rangeRefused(std::string_view subject, long long low, long long high, std::string_view kind);
// 「身長は 0 より大きい数値で入力してください。」
std::string positiveRefused(std::string_view subject);
std::string tooLarge(std::string_view subject);
inline constexpr const char* kNotNumber = "数値を入力してください。";
inline constexpr const char* kHeaviestWeight = "体重が大きすぎます。999.9Kg 以下で入力してください。";
// A date the entry could not read.
std::string dateRefused(std::string_view typed);
inline constexpr const char* kCaloriesOutOfRange = "カロリー数は -32768 から 32767 までの数値で入力してください。";
inline constexpr const char* kChooseMeal = "1、2、3 のどれかを入力してください。";
std::string calorieTotalTooLarge(bool adding);
std::string targetRefusedRenameCancelled();

// ---- corrections and undo
inline constexpr const char* kCorrectionTitle = "記録の修正";
std::string confirmDeletion(std::string_view what);
std::string askReplace(std::string_view monthDay);
std::string confirmUndo(std::string_view what);
inline constexpr const char* kNothingToUndo = "取り消せる操作はありません。";
inline constexpr const char* kMiddleWeightDeletion = "途中の日の記録は削除できません。値を修正してください。";
std::string confirmTrainingRename(std::string_view title, int records);

// ---- the diary
std::string unsavedDiaryDay(std::string_view monthDay);
std::string partlyReadDay(int unread, std::string_view copies);
std::string dayReadInPart(std::string_view problems);
inline constexpr const char* kChooseMealPrompt = "どの食事に追加しますか？\r\n\r\n1: 朝　2: 昼　3: 夜";
std::string calendarMonthDamaged(std::string_view damage);

// ---- backups and CSV
inline constexpr const char* kNoBackups =
    "バックアップはまだありません。\nバックアップは起動のたびに一日一回、自動で作られます。";
inline constexpr const char* kChooseBackup = "戻すバックアップを選んでください（新しい順）";
std::string backupDamaged(std::string_view folder, std::string_view damage);
std::string confirmRestore(std::string_view folder, int weights, std::string_view safetyFolder);
std::string restoreNotStarted(std::string_view why);
std::string restoreFailed(std::string_view why, std::string_view safetyFolder);
std::string restored(std::string_view folder, std::string_view safetyFolder);
std::string backupNotMade(std::string_view why);
inline constexpr const char* kExportFolderTitle = "CSV ファイルを書き出すフォルダー";
std::string confirmOverwrite(std::string_view names);
std::string exported(size_t files, std::string_view folder);
inline constexpr const char* kImportFileTitle = "体重を読み込む CSV ファイル";
std::string importUnreadable(std::string_view file, std::string_view why);
std::string importGap(int days);
std::string nothingToImport(std::string_view counts);

}  // namespace words
