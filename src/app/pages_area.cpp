#include "app/pages_area.h"

#include "app/frmMain.h"
#include "store/record.h"

namespace app {
namespace {

constexpr const char* NL = "\r\n";

struct PageButton {
  const char* button;
  const char* frame;
  const char* focusAfter;  // nullptr: the focus stays where it is
};

constexpr PageButton kPageButtons[] = {
    {"cmdMain", "fraMain", nullptr},          {"cmdTaijyu", "fraTaijyu", "txtInpRenTai"},
    {"cmdSuii", "fraShibou", "txtInpShibou"}, {"cmdManpo", "fraManpo", "txtInpHosuu"},
    {"cmdKintore", "fraKintore", nullptr},    {"cmdEiyo", "fraEiyo", nullptr},
    {"cmdDiary", "fraDiary", nullptr},        {"cmdMemo", "fraMemo", nullptr},
    {"cmdBunseki", "fraBunseki", nullptr},    {"cmdSettei", "fraSettei", nullptr},
};

std::string joinLines(std::initializer_list<const char*> lines) {
  std::string out;
  bool firstLine = true;
  for (const char* line : lines) {
    if (!firstLine) out += NL;
    out += line;
    firstLine = false;
  }
  return out;
}

void switchPage(frmMain& m, const PageButton& b) {
  if (m.form(b.frame).visible()) return;
  ShowPage(m);
  m.form(b.frame).setVisible(true);
  if (std::string(b.button) == "cmdMain") return;
  m.HelpText = PageHelpText(b.button);
  DSP_HELP(m);
  if (b.focusAfter) m.SetFocus(b.focusAfter);
}

}  // namespace

std::string MainPageHelpText() {
  return joinLines({"Zorvelに興味をもっていただきありがとうございます。(^o^)／", "",
                    "起動時のこの画面は体重の推移グラフやものぐさカレンダー機能を持つメイン画面です｡ ", "",
                    "グラフは４種類の表示をすることができますので、各チェックＢＯＸをクリックしてみてください。",
                    "グラフをダブルクリックすると拡大表示できますのでお試しください。", "",
                    "ものぐさカレンダーはダイエットを意識した一日だったかどうかを緑と赤で記録できます。",
                    "カレンダーをクリックしてみてください｡ ", "",
                    "他にはダイエットの進度を把握できる各種データが表示されています。", "",
                    "※現在はヘルプツアーモードがＯＮになっています。",
                    "一番右のニコニコボタンを押すとＯＮ／ＯＦＦの切り替えができます。"});
}

std::string PageHelpText(const std::string& button) {
  if (button == "cmdTaijyu")
    return joinLines({"メインの体重が１日１記録に対して、ここでは好きなときに何度でも記録できます。", "",
                      "朝、昼、夕…など１日での変化を把握することができます。", "",
                      "体重を入力してＥｎｔｅｒキーを押すと時間とともに保存されます。", "", ""});
  if (button == "cmdSuii")
    return joinLines({"体脂肪率計付きの体重計も一般的になってきましたよね。", "",
                      "ここでは体脂肪率の記録をすることができます。", "",
                      "体脂肪率を入力してＥｎｔｅｒキーを押すと保存されます。", "",
                      "Ｙ軸の最大、最小は任意に変更できます。変更入力してＥｎｔｅｒキーを押してください。", "",
                      "脂肪量換算表示ボタンを押すと体重と体脂肪率の関係から脂肪量を表示します。", "",
                      "※必ずしも毎日入力する必要はありません。入力した日付だけでデータが保存されていきます。"});
  if (button == "cmdManpo")
    return joinLines({"ウォーキングのような有酸素運動はダイエットに効果あり！", "",
                      "歩数系の記録を行うことができます。", "", "歩数を入力してＥｎｔｅｒキーを押すと保存されます。",
                      "", "Ｙ軸の最大、最小は任意に変更できます。変更入力してＥｎｔｅｒキーを押してください。", "",
                      "一歩の値を登録しておくことで、歩数を距離に換算して表示することができます。", "",
                      "※必ずしも毎日入力する必要はありません。入力した日付だけでデータが保存されていきます。"});
  if (button == "cmdKintore")
    return joinLines({"筋力をつけて基礎代謝量を上げ、痩せやすい体質になろう！", "",
                      "ここでは筋トレの記録をすることができます。", "",
                      "回数を入力してＥｎｔｅｒキーを押すと保存されます。", "", "",
                      "全部で６種類の筋トレを登録しておけます。", "題名をダブルクリックすると項目の変更ができます。 ",
                      "", "（それまでの履歴をクリアしたい場合もこの機能を使います。） ", "",
                      "題名入力後に目標回数を聞いてきますので、当面の目標を入れておきましょう。 ",
                      "目標までの推移をバーで把握できます。  ", "",
                      "※必ずしも毎日入力する必要はありません。入力した日付だけでデータが保存されていきます。"});
  if (button == "cmdEiyo")
    return joinLines({"ダイエット中とはいえ、栄養の偏りはいけません。",
                      "いろんな食材をまんべんなくとって綺麗に、元気に痩せましょう。", "",
                      "一日の食事を思い出しながら、摂取できたものにチェックをつけて保存します。", "",
                      "摂取が不足している栄養素を指摘してくれますので次の日にはとる様にする…などの支援を行います。", "",
                      "※必ずしも毎日入力する必要はありません。入力した日付だけでデータが保存されていきます。"});
  if (button == "cmdDiary")
    return joinLines({"ダイエットの王道、カロリー計算も簡単に！", "",
                      "あらかじめ登録しておいた料理や運動をドラッグ＆ドロップで記録できます。",
                      "登録リストから任意の料理や運動をつまんで左のリストに入れてください。",
                      "（入出リスト左どなりのボタンを押すと登録リスト外の直接入力も可能です）", "",
                      "※任意のデータをダブルクリックすると削除することができます。", "",
                      "簡単なコメントも保存しておけますので、ダイエット日記として使ってください。", "",
                      "目標としたカロリーとの差などを把握でき、食生活を見直すきっかけになると思います。", "",
                      "日付をスクロールさせれば過去の日記を振り返ることができます。", "",
                      "※必ずしも毎日入力する必要はありません。入力した日付だけでデータが保存されていきます。"});
  if (button == "cmdMemo")
    return joinLines({"ダイエットに関係するさまざまなメモを残すことができます。", "",
                      "サンプルの題目を参考にして下さい。", "",
                      "また題目をダブルクリックすると任意に変更することが可能です。",
                      "メモの入力はリストをクリックすることで行えます。", "",
                      "なお、右下のリストだけは自動的に日付が入ります。", "日記的な用途に便利だと思います。", ""});
  if (button == "cmdBunseki")
    return joinLines({"登録されている体重データを元に４つの分析結果を一覧表示します。", "",
                      "　・時系列体重データ：日々の推移です。前日との差と初日との差で切り替えができます。", "",
                      "　・区切り経過　　　：０．５Ｋｇを区切りとして何日後に達成したかが把握できます。", "",
                      "　・体重平均推移　　：体重推移の平均です。停滞期でも下がっていくので励みになります。", "",
                      "　・体重推移累積番付：何回その体重区間に滞在したかが把握できます。停滞期がより有利です。", "",
                      "", "これらの情報を利用してダイエットの励みにしましょう。"});
  if (button == "cmdSettei")
    return joinLines({"これまでのデータを削除して新規にダイエットをスタートさせます。",
                      "『現状のデータを破棄して～』ボタンを押して必要項目を入力してください。", "",
                      "『データ保存』ボタンは一度確定したデータを変更したときに押すボタンです。", "",
                      "他にもこのページでは、ダイエットの状況を一覧で把握したり、",
                      "肥満指数として一般的なＢＭＩ値、肥満度を把握することができます。", "",
                      "なお、ＢＭＩはスクロールバーを動かしてシミュレーションできます。", ""});
  return {};
}

const char* PageButtonName(int i) { return kPageButtons[i].button; }

void ShowPage(frmMain& m) {
  for (const char* page : {"fraShibou", "fraTaijyu", "fraKintore", "fraBunseki", "fraDiary", "fraManpo", "fraMain",
                           "fraSettei", "fraMemo", "fraEiyo"})
    m.form(page).setVisible(false);
}

void DSP_HELP(frmMain& m) {
  if (m.HelpTourOn == 0) return;
  m.dialogs.MsgBox(m.HelpText, "ヘルプツアー", form::Icon::Information, form::Buttons::OK);
}

void chkHelp_Click(frmMain& m) {
  if (m.Loading) return;
  form::Control& box = m.form("chkHelp");
  const int16_t on = box.value() == 1 ? 1 : 0;
  // Written first: the box and the switch say "on" or "off" only once the file agrees.
  try {
    store::rewriteRecords(kSettingsFile, {store::Record().text("ヘルプツアー").int16(on)});
  } catch (const store::StoreError& e) {
    box.setValue(on ? 0 : 1);
    m.ShowFailure(e);
    return;
  }
  if (on)
    m.dialogs.MsgBox("ヘルプツアー機能をオンにします。", "ヘルプツアーＯＮ", form::Icon::Information,
                     form::Buttons::OK);
  else
    m.dialogs.MsgBox("ヘルプツアー機能をオフにします。", "ヘルプツアーＯＦＦ", form::Icon::Information,
                     form::Buttons::OK);
  m.HelpTourOn = on;
}

void cmdHelp_Click(frmMain& m) { m.dialogs.showHelp(m.HelpFileName); }

void wirePages(frmMain& m) {
  for (const PageButton& b : kPageButtons) m.onClick(b.button, [&m, &b](int) { switchPage(m, b); });
  m.onClick("chkHelp", [&m](int) { chkHelp_Click(m); });
  m.onClick("cmdHelp", [&m](int) { cmdHelp_Click(m); });
}

}  // namespace app
