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
// 「名称に改行は使えません。一行で入力してください。」; without a subject when `what` is empty.
std::string lineBreakRefused(std::string_view what);

// ---- corrections and undo
inline constexpr const char* kCorrectionTitle = "記録の修正";
// What a step that can be taken back did, after the record it names.
inline constexpr const char* kEntered = " の入力";
inline constexpr const char* kCorrected = " の修正";
inline constexpr const char* kDeleted = " の削除";
inline constexpr const char* kReplaced = " の置き換え";
// 「2026/12/05 の体重」, 「2026/12/05 07:00:00 の体重」
std::string dayName(std::string_view date, std::string_view name);
// 「2026/12/05 の体重 68.3Kg」
std::string dayRecord(std::string_view date, std::string_view name, std::string_view value);
// 「2026/12/05 の体重を修正します（Kg）」; no unit in brackets when `unit` is empty.
std::string correctionPrompt(std::string_view subject, std::string_view unit);
std::string registeredItem(std::string_view entry);
std::string memoNote(std::string_view note);
std::string checklistDay(std::string_view date);
std::string trainingRename(std::string_view from, std::string_view to);
std::string calendarMark(std::string_view month, std::string_view day);
inline constexpr const char* kTimesUnit = "回";
std::string confirmDeletion(std::string_view what);
std::string askReplace(std::string_view monthDay);
std::string confirmUndo(std::string_view what);
inline constexpr const char* kNothingToUndo = "取り消せる操作はありません。";
inline constexpr const char* kMiddleWeightDeletion = "途中の日の記録は削除できません。値を修正してください。";
std::string confirmTrainingRename(std::string_view title, int records);
// 「前回（11/30）の 58.6Kg から 27.1Kg 増えています。この体重で記録しますか？」 (減っています
// when `up` is false); `what` is 体重 or 体脂肪率, the values as shown with their unit.
std::string askUnlikelyChange(std::string_view monthDay, std::string_view before, std::string_view by, bool up,
                              std::string_view what);
// The import's one question for all such rows.
std::string askUnlikelyImport(int rows);

// ---- titles of boxes
inline constexpr const char* kErrorTitle = "エラー";
inline constexpr const char* kMealChoiceTitle = "食事の選択";
inline constexpr const char* kSaveCheckTitle = "保存の確認";
inline constexpr const char* kCannotSaveTitle = "保存できません";
inline constexpr const char* kDayReadTitle = "日記の読み込み";
inline constexpr const char* kRestoreTitle = "バックアップから戻す";
inline constexpr const char* kExportTitle = "CSVに書き出す";
inline constexpr const char* kImportTitle = "CSVから読み込む";
inline constexpr const char* kOutOfRange = "入力できる範囲を超えた数値です。";
inline constexpr const char* kWeightOrderTitle = "体重の記録の確認";

// After the weight of a day the gap question filled with the last weight.
inline constexpr const char* kFilledMark = "（補完）";

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
std::string safetyCopyAt(std::string_view safetyFolder);
std::string restoreFailed(std::string_view why, std::string_view safetyFolder);
std::string restored(std::string_view folder, std::string_view safetyFolder);
std::string backupNotMade(std::string_view why);
inline constexpr const char* kDataFolderLost =
    "データフォルダーに戻れなくなりました。データを守るためプログラムを終了します。もう一度起動してください。";
inline constexpr const char* kExportFolderTitle = "CSVファイルを書き出すフォルダー";
std::string confirmOverwrite(std::string_view names);
std::string exported(size_t files, std::string_view folder);
inline constexpr const char* kImportFileTitle = "読み込むファイル（CSV・ヘルスケアの書き出し）";
std::string importUnreadable(std::string_view file, std::string_view why);
std::string importGap(int days);
std::string nothingToImport(std::string_view counts);
// 「2025/01/05 と 2026/12/02 の間の 695 日は体重がありません。…」; `inDiary` when the first day
// is the diary's last one (only a new start could take such rows), else both are rows of the file.
std::string importGapTooLong(std::string_view before, std::string_view after, int days, bool inDiary);
// What an import did, as the undo names it.
std::string csvImportStep(int days);

// ---- the weight CSV import
inline constexpr const char* kCsvBadDate = "日付が読めない行";
inline constexpr const char* kCsvBadWeight = "体重が読めない行";
inline constexpr const char* kCsvBadFat = "体脂肪率が読めない行";
inline constexpr const char* kCsvUnknownEncoding =
    "文字コードが読めません。UTF-8 か Shift-JIS のCSVファイルを選んでください。";
inline constexpr const char* kCsvNoHeader =
    "1 行目に日付（日付 / date）と体重（体重 / weight）の列名がありません。列名を書き足してから読み込んでください。";
inline constexpr const char* kCsvSkipped = "読み飛ばした行: ";
inline constexpr const char* kCsvAlreadyInDiary = "\n  登録済みの日付の行: ";
inline constexpr const char* kCsvLaterWeighings = "\n  同じ日の 2 回目以降の行: ";
inline constexpr const char* kCsvRefused = "\n読み込めなかった行: ";
inline constexpr const char* kCsvAfterGap = "\n  間の日をうめなかったため入れられない行: ";
inline constexpr const char* kCsvOverLimit = "\n  記録の上限（36600 日分）を超える行: ";
std::string csvImported(int days, int filled);
// 「\n体脂肪率を 3 件読み込みました。」
std::string csvFatsImported(int records);
inline constexpr const char* kCsvFutureDate = "今日より後の日付の行";
inline constexpr const char* kCsvTooManyFields = "見出しより列の多い行（小数点にコンマ？）";
inline constexpr const char* kCsvQuoteLeftOpen = "「\"」が閉じていない行";

// ---- backups
std::string backupLine(std::string_view folder, int weights, std::string_view lastDate, const std::string* damage);
std::string backupDateUnreadable(std::string_view file, int line);
std::string backupFileUnreadable(std::string_view file);
std::string backupFileMissing(std::string_view file);

// ---- forecasts
inline constexpr const char* kForecastTooFar = "達成日が遠すぎて予想不能";
inline constexpr const char* kTrendForecast = "トレンドによる予想: ";
inline constexpr const char* kDaysLater = "日後";
inline constexpr const char* kTrendPerWeek = "トレンド: 週 ";
inline constexpr const char* kTrendHelp =
    "体重のトレンド（日々の凸凹をならした推移）を破線で表示しています。\r\n"
    "最近 14 日間のトレンドの傾きから目標達成日を予想します。\r\n";

// ---- the window
inline constexpr const char* kHelpTitle = "Zorvel ヘルプ";
std::string helpFileMissing(std::string_view file, std::string_view folder);
inline constexpr const char* kStartupErrorTitle = "起動エラー";
inline constexpr const char* kProgramEnds = "\n\nプログラムを終了します。";

// ---- damaged records (after the file and line)
inline constexpr const char* kDataEndsEarly = "データが途中で終わっています。";
std::string notANumber(std::string_view field);
std::string numberOutOfRange(std::string_view range, std::string_view field);
inline constexpr const char* kAnyNumber = "数値";
inline constexpr const char* kInt16Range = "整数（-32768 から 32767）";
inline constexpr const char* kInt32Range = "整数（-2147483648 から 2147483647）";
std::string tooManyLines(std::string_view quotedName, size_t lines, size_t limit);
inline constexpr const char* kMoveOldRecords = "\n古い記録をテキストエディターで別のファイルに移してください。";
std::string unknownItemList(std::string_view key);
inline constexpr const char* kDayCaloriesTooLarge = "カロリーの合計が -32768 から 32767 の範囲を超えます。";
std::string weightOutOfRange(std::string_view field);
std::string dateUnreadable(std::string_view field);
std::string writeRefused(std::string_view quotedName, std::string_view why);
std::string unencodableByte(size_t offset);
std::string unencodableChar(std::string_view ch);
std::string converterMissing(std::string_view from, std::string_view to);
std::string sampleNotPrepared(std::string_view folder, std::string_view why);
std::string sampleFolderMissing(std::string_view seedFolder);
inline constexpr const char* kFolderBusy =
    "このデータフォルダーは別の Zorvel で使用中です。\nもう一方の Zorvel を終了してから起動してください。";
std::string changedSince(std::string_view file);
// After "「体重.txt」の 5 行目: ".
std::string weightDatesOutOfOrder(std::string_view lineText, std::string_view date, std::string_view previous);
inline constexpr const char* kQuoteNotClosed = "「\"」で始まる文字の欄が、その行のうちに「\"」で閉じていません。";
inline constexpr const char* kLineBreakInText = "文字の欄に改行があると、読み戻せないため保存できません";

// ---- names the user sees in the data folder
inline constexpr const char* kBackupFolder = "バックアップ";
inline constexpr const char* kBackupTitle = kBackupFolder;
inline constexpr const char* kBeforeRestoreSuffix = "-復元前";
inline constexpr const char* kCsvDateTimeHeader = "日時";
inline constexpr const char* kCsvDateHeader = "日付";
inline constexpr const char* kCsvWeightHeader = "体重";
inline constexpr const char* kCsvFatHeader = "体脂肪率";

inline constexpr const char* kStepAxisMax = "歩数グラフの上限";
inline constexpr const char* kStepAxisMin = "歩数グラフの下限";
inline constexpr const char* kItemName = "の名称";
inline constexpr const char* kCountOf = "の回数";
std::string itemCalories(std::string_view name);
inline constexpr const char* kCorrectAction = "修正";
inline constexpr const char* kDeleteAction = "削除";
inline constexpr const char* kUndoAction = "元に戻す";

}  // namespace words
