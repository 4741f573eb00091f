#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "app/frmMain.h"
#include "scenario/weight_diary.h"
#include "support/drive.h"
#include "support/temp_folder.h"

using testing_support::runDrive;
using testing_support::TempFolder;
using weight_diary::writeDiary;
using weight_diary::writeWeights;

namespace {

store::Date day(int y, unsigned m, unsigned d) { return store::makeDate(y, m, d); }

const char* kBmi =
    "dump Label6(0) lblMHyouka Label9(25) lblHyouka Label9(28) Label9(30) lblHyojun(0) lblHyojun(1) lblTai lblHiman "
    "HScroll1 Image1 Image2 Shape1(2) Shape2(2)\n";

std::string caption(const nlohmann::json& c, const char* name) { return c[name]["caption"].get<std::string>(); }

}  // namespace

TEST(BmiScenario, WorkedExampleFillsTheMeter) {
  TempFolder dir;
  writeDiary(dir, "168.5", "60", "100");
  writeWeights(dir, day(2004, 5, 1), {66.0f, 65.3f});
  auto r = runDrive(dir.path(), std::string("clock 2004/05/02 08:00:00\nstart\n") + kBmi);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.last()["controls"];
  EXPECT_EQ(caption(c, "Label6(0)"), "23.0");
  EXPECT_EQ(caption(c, "Label9(25)"), "23.0");
  EXPECT_EQ(caption(c, "lblMHyouka"), "スタンダード");
  EXPECT_EQ(c["lblMHyouka"]["backColor"], "#C0FFC0");
  EXPECT_EQ(caption(c, "lblHyouka"), "スタンダード");
  EXPECT_EQ(c["HScroll1"]["value"], 230);
  EXPECT_EQ(caption(c, "lblHyojun(0)"), "62.5");
  EXPECT_EQ(caption(c, "lblHyojun(1)"), "62.5");
  EXPECT_EQ(caption(c, "lblTai"), "65.3");
  EXPECT_EQ(caption(c, "lblHiman"), "4.5");
  EXPECT_EQ(caption(c, "Label9(28)"), "65.3");
  EXPECT_EQ(caption(c, "Label9(30)"), "1.685");
  EXPECT_EQ(r.last()["state"]["GradeText"], "スタンダード");
}

TEST(BmiScenario, GradeBoundariesDayByDay) {
  // At 1 m of height the BMI is the weight itself.
  TempFolder dir;
  writeDiary(dir, "100", "20", "100");
  writeWeights(dir, day(2004, 5, 1), {50});
  struct Step {
    const char* kg;
    const char* shown;
    const char* grade;
    const char* color;
  } steps[] = {{"24", "24.0", "スタンダード", "#C0FFC0"},       {"24.1", "24.1", "でぶメゾフォルテ", "#FFFFC0"},
               {"26.4", "26.4", "でぶメゾフォルテ", "#FFFFC0"}, {"26.5", "26.5", "でぶフォルテ", "#FFC0FF"},
               {"30", "30.0", "でぶフォルテシモ", "#FFC0C0"},   {"16.9", "16.9", "やせ過ぎ", "#C0C0FF"},
               {"17", "17.0", "やせ気味", "#C0FFFF"},           {"20", "20.0", "スタンダード", "#C0FFC0"}};
  std::string script = "clock 2004/05/20 08:00:00\nstart\n";
  int d = 2;
  double before = 50;
  for (const Step& s : steps) {
    // Each jump of more than 5 % is asked about first.
    if (std::abs(std::stod(s.kg) - before) > before / 20) script += "answer Yes\n";
    before = std::stod(s.kg);
    script += "settext txtDate 2004/05/" + std::string(d < 10 ? "0" : "") + std::to_string(d) +
              "\nsettext txtInpTaijyu " + s.kg + "\nenter txtInpTaijyu\n" + kBmi;
    ++d;
  }
  auto r = runDrive(dir.path(), script);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  ASSERT_EQ(r.dumps.size(), std::size(steps));
  for (size_t i = 0; i < std::size(steps); ++i) {
    const auto& c = r.dumps[i]["controls"];
    EXPECT_EQ(caption(c, "Label6(0)"), steps[i].shown) << steps[i].kg;
    EXPECT_EQ(caption(c, "lblMHyouka"), steps[i].grade) << steps[i].kg;
    EXPECT_EQ(c["lblMHyouka"]["backColor"], steps[i].color) << steps[i].kg;
    EXPECT_EQ(caption(c, "lblHyouka"), steps[i].grade) << steps[i].kg;
  }
}

TEST(BmiScenario, PointersAndSliderStopAtTheEndsOfTheScale) {
  for (auto [kg, slider, pointer] : {std::tuple{35.0f, 320, 32.0f}, std::tuple{15.0f, 170, 17.0f}}) {
    TempFolder dir;
    writeDiary(dir, "100", "20", "100");
    writeWeights(dir, day(2004, 5, 1), {40, kg});
    auto r = runDrive(dir.path(), std::string("clock 2004/05/02 08:00:00\nstart\n") + kBmi);
    ASSERT_EQ(r.exitCode, 0) << r.stderrText;
    const auto& c = r.last()["controls"];
    const auto& state = r.last()["state"];
    EXPECT_EQ(c["HScroll1"]["value"], slider) << kg;
    EXPECT_EQ(state["PointerBmi"], pointer) << kg;
    EXPECT_EQ(state["CurrentBmi"], kg) << kg;
    const int main = static_cast<int>((24 - pointer) * 246 + 240);
    const int settei = static_cast<int>((24 - pointer) * 500 + 240);
    EXPECT_EQ(c["Image1"]["left"], c["Shape1(2)"]["left"].get<int>() - main) << kg;
    EXPECT_EQ(c["Image2"]["left"], c["Shape2(2)"]["left"].get<int>() - settei) << kg;
    if (kg > 30) {
      EXPECT_EQ(caption(c, "Label6(0)"), "35.0");
      EXPECT_EQ(caption(c, "lblMHyouka"), "でぶフォルテシモ");
    } else {
      EXPECT_EQ(caption(c, "Label6(0)"), "15.0");
      EXPECT_EQ(caption(c, "lblMHyouka"), "やせ過ぎ");
    }
  }
}

TEST(BmiScenario, SliderSimulatesUntilTheNextWeightEntry) {
  TempFolder dir;
  writeDiary(dir, "168.5", "60", "100");
  writeWeights(dir, day(2004, 5, 1), {66.0f, 65.3f});
  auto r =
      runDrive(dir.path(), std::string("clock 2004/05/03 08:00:00\nstart\nscroll HScroll1 264\n") + kBmi +
                               "settext txtDate 2004/05/03\nsettext txtInpTaijyu 65.5\nenter txtInpTaijyu\n" + kBmi);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& moved = r.dumps[0]["controls"];
  EXPECT_EQ(caption(moved, "Label9(25)"), "26.4");
  EXPECT_EQ(caption(moved, "lblHyouka"), "でぶメゾフォルテ");
  EXPECT_EQ(moved["lblHyouka"]["backColor"], "#FFFFC0");
  EXPECT_EQ(caption(moved, "Label9(28)"), "75.0");  // 2.839225 m² × 26.4
  EXPECT_EQ(caption(moved, "lblTai"), "75.0");
  EXPECT_EQ(caption(moved, "lblHiman"), "20.0");  // (75.0 - 62.5) / 62.5
  EXPECT_EQ(caption(moved, "lblMHyouka"), "スタンダード");
  EXPECT_EQ(moved["Image2"]["left"],
            moved["Shape2(2)"]["left"].get<int>() - static_cast<int>(std::lround((24 - 26.4) * 500 + 240)));

  const auto& back = r.dumps[1]["controls"];
  EXPECT_EQ(caption(back, "Label9(25)"), "23.1");
  EXPECT_EQ(caption(back, "lblHyouka"), "スタンダード");
  EXPECT_EQ(caption(back, "Label9(28)"), "65.5");
  EXPECT_EQ(caption(back, "lblTai"), "65.5");
  EXPECT_EQ(back["HScroll1"]["value"], 231);
}

// The driver only moves the slider by its change event; a drag of the thumb is raised here.
TEST(BmiScenario, DraggingTheThumbSimulatesToo) {
  struct Boxes : form::Dialogs {
    form::Answer MsgBox(const std::string&, const std::string&, form::Icon, form::Buttons) override {
      return form::Answer::OK;
    }
    std::optional<std::string> InputBox(const std::string&, const std::string&, const std::string&) override {
      return std::nullopt;
    }
    void showHelp(const std::string&) override {}
    void closeHelp() override {}
  } boxes;
  struct FixedClock : form::Clock {
    store::DateTime now() const override { return {store::makeDate(2004, 5, 3), 8, 0, 0}; }
  } clock;
  TempFolder dir;
  writeDiary(dir, "100", "20", "100");
  writeWeights(dir, day(2004, 5, 1), {22});
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  {
    app::frmMain m(boxes, clock);
    m.Form_Load();
    ASSERT_FALSE(m.ended());
    m.ScrollTrack("HScroll1", 301);
    EXPECT_EQ(m.form("Label9", 25).caption(), "30.1");
    EXPECT_EQ(m.form("lblHyouka").caption(), "でぶフォルテシモ");
    EXPECT_EQ(m.form("Label9", 28).caption(), "30.1");
    EXPECT_EQ(m.form("lblMHyouka").caption(), "スタンダード");
  }
  std::filesystem::current_path(previous);
}

TEST(BmiScenario, NoHeightLeavesTheBmiFiguresBlank) {
  TempFolder dir;
  writeDiary(dir, "0", "60", "100");
  writeWeights(dir, day(2004, 5, 1), {66.0f, 65.3f});
  auto r =
      runDrive(dir.path(), std::string("clock 2004/05/03 08:00:00\nstart\n") + kBmi + "scroll HScroll1 250\n" + kBmi);
  ASSERT_EQ(r.exitCode, 0) << r.stderrText;
  const auto& c = r.dumps[0]["controls"];
  for (const char* name : {"Label6(0)", "Label9(25)", "lblMHyouka", "lblHyouka", "lblHyojun(0)", "lblHiman"})
    EXPECT_EQ(caption(c, name), "") << name;
  EXPECT_TRUE(c["lblMHyouka"]["backColor"].is_null());
  // The slider still names the grade of the BMI it stands at; the weights it would need are unknown.
  const auto& s = r.dumps[1]["controls"];
  EXPECT_EQ(caption(s, "Label9(25)"), "25.0");
  EXPECT_EQ(caption(s, "lblHyouka"), "でぶメゾフォルテ");
  EXPECT_EQ(caption(s, "Label9(28)"), "");
  EXPECT_EQ(caption(s, "lblHiman"), "");
}
