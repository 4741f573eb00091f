#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "store/files.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::runDriveInProcess;
using testing_support::TempFolder;

namespace {

const char* kPages[] = {"fraMain", "fraTaijyu", "fraShibou", "fraManpo",   "fraKintore",
                        "fraEiyo", "fraDiary",  "fraMemo",   "fraBunseki", "fraSettei"};

std::string dumpPages() {
  std::string s = "dump";
  for (const char* p : kPages) s += std::string(" ") + p;
  return s + "\n";
}

std::vector<std::string> visiblePages(const nlohmann::json& dump) {
  std::vector<std::string> shown;
  for (const char* p : kPages)
    if (dump["controls"][p]["visible"].get<bool>()) shown.push_back(p);
  return shown;
}

const char* kStart = "clock 2004/05/01 09:00:00\nstart\n";

}  // namespace

TEST(Pages, EverySwitchLeavesExactlyItsOwnPageVisible) {
  TempFolder dir;
  dir.writeMinimalDiary();
  const std::pair<const char*, const char*> buttons[] = {
      {"cmdTaijyu", "fraTaijyu"}, {"cmdSuii", "fraShibou"}, {"cmdManpo", "fraManpo"}, {"cmdKintore", "fraKintore"},
      {"cmdEiyo", "fraEiyo"},     {"cmdDiary", "fraDiary"}, {"cmdMemo", "fraMemo"},   {"cmdBunseki", "fraBunseki"},
      {"cmdSettei", "fraSettei"}, {"cmdMain", "fraMain"}};
  std::string script = std::string(kStart) + dumpPages();
  for (const auto& [button, page] : buttons) script += std::string("click ") + button + "\n" + dumpPages();
  auto r = runDrive(dir.path(), script);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  EXPECT_EQ(visiblePages(r.dumps[0]), std::vector<std::string>{"fraMain"});
  for (size_t i = 0; i < std::size(buttons); ++i) {
    EXPECT_EQ(visiblePages(r.dumps[i + 1]), std::vector<std::string>{buttons[i].second}) << buttons[i].first;
    EXPECT_TRUE(r.dialogs(i + 1).empty()) << buttons[i].first;  // the tour is off
  }
}

TEST(Pages, TourShowsThePageTextThenFocusesTheEntryBox) {
  TempFolder dir;
  dir.writeMinimalDiary("テスト", 1);
  auto r = runDrive(dir.path(), std::string(kStart) + "dump\nclick cmdTaijyu\ndump\nclick cmdTaijyu\ndump\n" +
                                    "click cmdMain\ndump\nclick cmdSettei\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  // Start-up shows the main page's text.
  ASSERT_EQ(r.dialogs(0).size(), 1u);
  EXPECT_EQ(r.dialogs(0)[0]["title"], "ヘルプツアー");
  EXPECT_EQ(r.dialogs(0)[0]["text"].get<std::string>().rfind("Zorvelに興味をもっていただきありがとうございます。", 0),
            0u);

  ASSERT_EQ(r.dialogs(1).size(), 1u);
  const auto& box = r.dialogs(1)[0];
  EXPECT_EQ(box["title"], "ヘルプツアー");
  EXPECT_EQ(box["icon"], "information");
  EXPECT_EQ(box["buttons"], "OK");
  EXPECT_EQ(box["text"],
            "メインの体重が１日１記録に対して、ここでは好きなときに何度でも記録できます。\r\n\r\n"
            "朝、昼、夕…など１日での変化を把握することができます。\r\n\r\n"
            "体重を入力してＥｎｔｅｒキーを押すと時間とともに保存されます。\r\n\r\n");
  EXPECT_EQ(r.dumps[1]["focus"], "txtInpRenTai");
  EXPECT_EQ(r.dumps[1]["state"]["HelpText"], box["text"]);

  // The page already shown: nothing at all.
  EXPECT_TRUE(r.dialogs(2).empty());
  // The main page never shows a box and leaves the help text as it was.
  EXPECT_TRUE(r.dialogs(3).empty());
  EXPECT_EQ(r.dumps[3]["state"]["HelpText"], box["text"]);
  EXPECT_EQ(r.dumps[3]["focus"], "txtInpRenTai");
  // The settings text ends with its line break.
  ASSERT_EQ(r.dialogs(4).size(), 1u);
  const std::string settei = r.dialogs(4)[0]["text"];
  EXPECT_EQ(settei.substr(settei.size() - 2), "\r\n");
}

TEST(Pages, SwitchingTheTourOffIsKeptForTheNextStart) {
  TempFolder dir;
  dir.writeMinimalDiary("テスト", 1);
  auto r = runDrive(dir.path(), std::string(kStart) + "dump\nclick chkHelp\ndump\nclick cmdSuii\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(1).size(), 1u);
  EXPECT_EQ(r.dialogs(1)[0]["text"], "ヘルプツアー機能をオフにします。");
  EXPECT_EQ(r.dialogs(1)[0]["title"], "ヘルプツアーＯＦＦ");
  EXPECT_EQ(r.dialogs(1)[0]["icon"], "information");
  EXPECT_EQ(r.dumps[1]["state"]["HelpTourOn"], 0);
  EXPECT_EQ(dir.readUtf8("設定.txt"), "\"ヘルプツアー\",0\r\n");
  // Off: the page switches silently and the focus moves at once.
  EXPECT_TRUE(r.dialogs(2).empty());
  EXPECT_EQ(r.dumps[2]["focus"], "txtInpShibou");

  auto again = runDrive(dir.path(), std::string(kStart) + "dump chkHelp\nclick chkHelp\ndump chkHelp\n");
  ASSERT_EQ(again.exitCode, 0) << again.stderrText;
  EXPECT_TRUE(again.dialogs(0).empty());
  EXPECT_EQ(again.dumps[0]["controls"]["chkHelp"]["value"], 0);
  ASSERT_EQ(again.dialogs(1).size(), 1u);
  EXPECT_EQ(again.dialogs(1)[0]["text"], "ヘルプツアー機能をオンにします。");
  EXPECT_EQ(again.dialogs(1)[0]["title"], "ヘルプツアーＯＮ");
  EXPECT_EQ(again.dumps[1]["state"]["HelpTourOn"], 1);
  EXPECT_EQ(dir.readUtf8("設定.txt"), "\"ヘルプツアー\",1\r\n");
}

TEST(Pages, FailedWriteOfTheTourSwitchChangesNothing) {
  TempFolder dir;
  dir.writeMinimalDiary("テスト", 0);
  // The rewrite cannot rename its temporary over the file: nothing may change.
  store::failNthStep(store::IoStep::Rename, 1, EACCES);
  auto r = runDriveInProcess(dir.path(), std::string(kStart) + "click chkHelp\ndump chkHelp\n");
  store::clearInjectedFailure();
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(0).size(), 1u);
  EXPECT_EQ(r.dialogs(0)[0]["icon"], "error");
  EXPECT_NE(r.dialogs(0)[0]["text"].get<std::string>().find("設定.txt"), std::string::npos);
  EXPECT_EQ(r.last()["controls"]["chkHelp"]["value"], 0);
  EXPECT_EQ(r.last()["state"]["HelpTourOn"], 0);
  EXPECT_EQ(dir.readUtf8("設定.txt"), "\"ヘルプツアー\",0\r\n");
}

TEST(Pages, HelpButtonOpensTheHelpFile) {
  TempFolder dir;
  dir.writeMinimalDiary();
  auto r = runDrive(dir.path(), std::string(kStart) + "click cmdHelp\ndump\n");
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dialogs(0).size(), 1u);
  EXPECT_EQ(r.dialogs(0)[0]["kind"], "help");
  EXPECT_EQ(r.dialogs(0)[0]["file"], "ZorvelHelp.html");
}
