#pragma once
// The messages and column names of reading other programs' exports (a phone's health data, a
// scale's CSV). Apart from messages.h so that the two grow without getting in each other's way.
#include <map>
#include <string>
#include <string_view>

namespace words {

// ---- the health export
std::string notHealthExport(std::string_view root);  // the XML's first element is `root`
inline constexpr const char* kXmlEmpty = "XML に要素がありません（空のファイルでは？）。";
std::string xmlDamaged(unsigned long line, std::string_view why);
std::string zipUnreadable(std::string_view why);
inline constexpr const char* kZipTwoExports =
    "ZIP にヘルスケアの書き出しが 2 つ以上あります。ZIP から 1 つ取り出した XML を選んでください。";
inline constexpr const char* kZipNoExport = "ZIP にヘルスケアの書き出し（export.xml）が見つかりません。";
std::string zipEntryUnreadable(std::string_view why);
// Why, inside the two messages above.
inline constexpr const char* kZipNoDirectory = "ZIP の目次が見つかりません";
inline constexpr const char* kZipDamaged = "途中で切れているか、壊れています";
inline constexpr const char* kZipEncrypted = "パスワードで保護されています";
inline constexpr const char* kZipMethod = "対応していない圧縮方式です";
inline constexpr const char* kZipDataDamaged = "中身が壊れています";
std::string fileUnopenable(std::string_view name);
std::string fileUnreadable(std::string_view name);

// ---- a scale's or an app's CSV
inline constexpr const char* kFiguresCsvNoHeader =
    "1 行目に日付（測定日 / 日付 / Date）と、体重・体脂肪率・歩数（Weight / Body Fat / Steps）のどれかの列名が"
    "ありません。列名を書き足してから読み込んでください。";
// The file chooser of 「CSVから読み込む」: a CSV, or the Health app's export (zip or XML).
inline constexpr const char* kImportFilter = "CSV・ヘルスケアの書き出し (*.csv *.txt *.zip *.xml)";
// The undo step: 「体重 3 日分・体脂肪率 2 日分・歩数 5 日分の読み込み」.
std::string figuresImportStep(int weights, int fat, int steps);
// The summary's lines of one kind (体脂肪率, 歩数): the days that went in, the records skipped
// by reason; empty when the file had none of the kind.
std::string figuresCounts(std::string_view kind, int added, const std::map<std::string, int>& skipped);
inline constexpr const char* kFatKind = "体脂肪率";
inline constexpr const char* kStepsKind = "歩数";
// Why a record of body fat or steps was skipped.
inline constexpr const char* kSkipDayHeld = "記録のある日";
inline constexpr const char* kSkipFuture = "今日より後の日付";
inline constexpr const char* kSkipBadDate = "日付が読めない";
inline constexpr const char* kSkipBadValue = "値が読めない・範囲外";
inline constexpr const char* kSkipUnknownUnit = "単位がちがう";
inline constexpr const char* kSkipLaterSameDay = "同じ日の 2 回目以降";
inline constexpr const char* kSkipOtherSource = "同じ日により多く数えた機器がある";
inline constexpr const char* kSkipBadRow = "壊れた行";
// Column names in their Japanese forms (English ones are in the reader).
inline constexpr const char* kMeasuredDayHeader = "測定日";
inline constexpr const char* kMeasuredAtHeader = "測定日時";
inline constexpr const char* kFatHeader = "体脂肪率";
inline constexpr const char* kFatShortHeader = "体脂肪";
inline constexpr const char* kStepsHeader = "歩数";
inline constexpr const char* kStepsUnit = "歩";
// Written in dates: 2026年11月1日.
inline constexpr const char* kYearMark = "年";
inline constexpr const char* kMonthMark = "月";
inline constexpr const char* kDayMark = "日";
// Full-width forms read as their half-width ones in column names.
inline constexpr std::string_view kWideForms[][2] = {{"\u3000", " "}, {"（", "("}, {"）", ")"}, {"［", "("},
                                                     {"］", ")"},     {"％", "%"}, {"―", "-"}};

}  // namespace words
