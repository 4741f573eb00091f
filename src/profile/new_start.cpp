#include "profile/new_start.h"

#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "profile/profile_change.h"
#include "profile/sample_move.h"
#include "store/files.h"
#include "store/folder_files.h"
#include "store/numbers.h"
#include "store/record.h"
#include "store/typed_number.h"

namespace profile {

bool IsNumberAnswer(std::string_view typed) {
  const std::string ascii = store::asciiNumberText(typed);
  std::string_view text = ascii;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (text.empty()) return false;
  return store::parseNumberField(text).has_value();
}

namespace {

struct Question {
  const char* prompt;
  const char* title;
  const char* defaultText;
};

const Question kQuestions[6] = {
    {"名前を入力して下さい。ニックネームでもいいですよ。", "名前入力", ""},
    {"身長をｃｍで入力して下さい。（例　168.5 半角文字で）", "身長登録", ""},
    {"目標体重をＫｇで入力して下さい。（例　65.5 半角文字で）", "目標体重登録", ""},
    {"目標期間を数値で入力して下さい。（例　120 半角文字で）\n\n初期値は３０日にしてあります", "目標期間登録", "30"},
    {"ものぐさカレンダーの達成率を数値で入力して下さい。（例　70 半角文字で）\n\n初期値は７０％にしてあります\n"
     "この数値を割るとニコニコマークがムスッマークに変化します",
     "達成率登録", "70"},
    {"収支カロリーの目標値を数値で入力して下さい。（例　2000 半角文字で）\n\n初期値は２０００にしてあります\n"
     "収支カロリーの結果がこの数値を割ると目標ｶﾛﾘｰ差の見出しが赤く変化します",
     "収支カロリー目標登録", "2000"},
};

// Asks question `box` until the answer is empty (nullopt: give up) or can be stored.
std::optional<std::string> ask(form::Dialogs& d, int box) {
  const Question& q = kQuestions[box];
  for (;;) {
    std::optional<std::string> answer = d.InputBox(q.prompt, q.title, q.defaultText);
    if (!answer || answer->empty()) return std::nullopt;
    if (box != 0 && !IsNumberAnswer(*answer)) {
      d.MsgBox("数値で入力して下さい", kRefusalTitle, form::Icon::Warning, form::Buttons::OK);
      continue;
    }
    if (auto problem = ProfileTextProblem(box, *answer)) {
      d.MsgBox(*problem, kRefusalTitle, form::Icon::Warning, form::Buttons::OK);
      continue;
    }
    return answer;
  }
}

NewStartOutcome giveUp(form::Dialogs& d, form::Form& form, const Profile& current) {
  d.MsgBox("新規登録を取りやめます", "新規登録中止", form::Icon::Warning, form::Buttons::OK);
  RefillProfileBoxes(current, form);
  return NewStartOutcome::GivenUp;
}

}  // namespace

void RefillProfileBoxes(const Profile& p, form::Form& form) { ShowProfileDataBoxes(p, form); }

NewStartOutcome AskNewProfile(form::Dialogs& d, form::Form& form, const Profile& current) {
  // Both confirmations warn and default to Cancel: an Enter pressed in a hurry never wipes the diary.
  if (d.MsgBoxDefaultSecond(
          "現在まで保管されているデータを初期化します。\n『ＯＫボタン』を押すと各種プライベートデータの入力が始ま"
          "ります。"
          "\n\nこの先でキャンセルすることもできます。",
          "データ初期化", form::Icon::Warning, form::Buttons::OKCancel) != form::Answer::OK)
    return NewStartOutcome::Declined;

  for (int i = 0; i < 6; ++i) form("txtPriData", i).setText("");
  for (int i = 0; i < 6; ++i) {
    std::optional<std::string> answer = ask(d, i);
    if (!answer) return giveUp(d, form, current);
    form("txtPriData", i).setText(*answer);
  }

  if (d.MsgBoxDefaultSecond("これまで登録されていたデータはクリアされ新たに登録した新情報でスタートします\n\n"
                            "登録情報に間違いがなかったらＯＫボタンを押して下さい",
                            "情報確認", form::Icon::Warning, form::Buttons::OKCancel) != form::Answer::OK)
    return giveUp(d, form, current);
  return NewStartOutcome::Confirmed;
}

void WriteNewStartFiles(const Profile& fresh, const std::string& calendarFile, bool fromSample) {
  store::FileChanges changes;
  for (const char* name : kNewStartEmptiedFiles) changes.write.push_back({name, ""});
  if (!calendarFile.empty()) changes.write.push_back({calendarFile, ""});
  // The filled days go with the weights; from the sample they are put aside with its diary.
  if (!fromSample && store::pathExists(store::kFilledDaysFile)) changes.write.push_back({store::kFilledDaysFile, ""});
  changes.write.push_back({kProfileFile, store::encodeRecords(kProfileFile, ProfileRecords(fresh))});  // last of all
  const bool hadSampleFolder = store::pathExists(kSampleFolder);
  try {
    if (fromSample) changes.move = sampleDiaryMoves();
    store::changeFiles(changes);
  } catch (...) {
    if (fromSample && !hadSampleFolder) ::rmdir(kSampleFolder);  // only while empty: the folder we made
    throw;
  }
}

void ShowNewStartCleared(form::Dialogs& d) {
  d.MsgBox(
      "関連データを全てクリアしました。\n\nなお、体脂肪率と歩数のグラフＹ軸指定と一歩換算値は後ほど必要に応じて変更して"
      "ください\n\n"
      "まず最初は次に開く画面の体重記入欄に現在の体重を入力してリターンキーを押してください。\n"
      "ここが勝利への道のスタート地点です！！",
      "さぁスタートです。o(^-^)o", form::Icon::Information, form::Buttons::OK);
}

void ShowNewStartFirstSteps(form::Dialogs& d) {
  d.MsgBox(
      "今日からスタートでよければ、体重入力欄に本日の体重を入力してＥｎｔｅｒキーを押してください。\n\n"
      "以前からダイエットをしていてそれからのデータにしたい場合は\n"
      "左上の日付変更で日付をダイエットスタート日まで戻して、それから体重を入力してみてください。\n",
      "さぁスタートです。o(^-^)o", form::Icon::Information, form::Buttons::OK);
}

}  // namespace profile
