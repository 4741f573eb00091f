#include <gtest/gtest.h>
#include <unistd.h>

#include "app/frmMain.h"
#include "support/temp_folder.h"

using testing_support::InFolder;
using testing_support::TempFolder;

namespace {

// Notes, for every box, whether the window was already on screen.
class RecordingDialogs : public form::Dialogs {
 public:
  const form::Form* form = nullptr;
  std::vector<std::pair<std::string, bool>> boxes;
  form::Answer MsgBox(const std::string& text, const std::string&, form::Icon, form::Buttons) override {
    boxes.emplace_back(text, form && form->windowShown());
    return form::Answer::OK;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  void showHelp(const std::string&) override {}
  void closeHelp() override {}
};

class FixedClock : public form::Clock {
 public:
  store::DateTime now() const override { return {store::makeDate(2004, 5, 1), 9, 0, 0}; }
};

std::vector<std::pair<std::string, bool>> startIn(const TempFolder& dir) {
  InFolder in(dir);
  RecordingDialogs dialogs;
  FixedClock clock;
  app::frmMain m(dialogs, clock);
  dialogs.form = &m.form;
  m.Form_Load();
  EXPECT_TRUE(m.form.windowShown());
  return dialogs.boxes;
}

}  // namespace

TEST(WindowShown, OneRecordChartMessagesComeWithTheWindowOnScreen) {
  TempFolder dir;
  dir.writeMinimalDiary();
  dir.writeCp932("体重.txt", "\"2004/04/30\",70\r\n");
  dir.writeCp932("体脂肪率.txt", "\"2004/04/30\",25\r\n");
  auto boxes = startIn(dir);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].first, "体重グラフは２日目から表示されます");
  EXPECT_TRUE(boxes[0].second);
  EXPECT_EQ(boxes[1].first, "体脂肪率グラフは２日目から表示されます");
  EXPECT_TRUE(boxes[1].second);
}

TEST(WindowShown, StartUpErrorsComeBeforeTheWindow) {
  TempFolder dir;
  dir.writeMinimalDiary();
  std::remove(dir.file("設定.txt").c_str());
  InFolder in(dir);
  RecordingDialogs dialogs;
  FixedClock clock;
  app::frmMain m(dialogs, clock);
  dialogs.form = &m.form;
  m.Form_Load();
  ASSERT_EQ(dialogs.boxes.size(), 1u);
  EXPECT_FALSE(dialogs.boxes[0].second);
  EXPECT_TRUE(m.ended());
}
