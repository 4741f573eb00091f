// Our own messages live in one table: a Japanese text anywhere else in the sources is one of the
// window's fixed texts, kept as they have always been, or it is a label rather than a message.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Labels, not messages: the form's captions and tooltips, the names spoken for controls, the
// command line's own help, and the column names of the CSV files.
const char* const kLabelFiles[] = {"form/pages/", "qt/window_keys.cpp", "qt/main.cpp", "qt/chart_fill",
                                   "csv/diary_export.cpp"};

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The string literals of a C++ source as written between the quotes, comments skipped. Adjacent
// literals stay separate: each is looked up on its own.
std::vector<std::string> literals(const std::string& src) {
  std::vector<std::string> out;
  for (size_t i = 0; i < src.size(); ++i) {
    if (src.compare(i, 2, "//") == 0) {
      i = src.find('\n', i);
      if (i == std::string::npos) break;
    } else if (src.compare(i, 2, "/*") == 0) {
      i = src.find("*/", i + 2);
      if (i == std::string::npos) break;
      ++i;
    } else if (src[i] == '\'') {
      for (++i; i < src.size() && src[i] != '\''; ++i)
        if (src[i] == '\\') ++i;
    } else if (src.compare(i, 3, "R\"(") == 0) {
      const size_t end = src.find(")\"", i + 3);
      out.push_back(src.substr(i + 3, end - i - 3));
      i = end + 1;
    } else if (src[i] == '"') {
      std::string text;
      for (++i; i < src.size() && src[i] != '"'; ++i) {
        if (src[i] == '\\') text += src[i++];
        text += src[i];
      }
      out.push_back(text);
    }
  }
  return out;
}

// Anything from the ideographic space up: kana, kanji, full-width forms.
bool japanese(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xE3; });
}

std::set<std::string> fixedTexts() {
  std::set<std::string> texts;
  std::ifstream in(ZORVEL_TEST_DATA_DIR "/window_texts.txt", std::ios::binary);
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') texts.insert(line);
  return texts;
}

bool labelFile(const std::string& relative) {
  return std::any_of(std::begin(kLabelFiles), std::end(kLabelFiles),
                     [&](const char* prefix) { return relative.rfind(prefix, 0) == 0; });
}

}  // namespace

TEST(MessageTable, EveryMessageOfOursComesFromTheTable) {
  const std::set<std::string> fixed = fixedTexts();
  std::vector<std::string> strays;
  for (const auto& e : fs::recursive_directory_iterator(ZORVEL_SOURCE_DIR)) {
    const std::string relative = fs::relative(e.path(), ZORVEL_SOURCE_DIR).generic_string();
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
    if (relative.rfind("words/", 0) == 0 || labelFile(relative)) continue;
    for (const std::string& text : literals(readAll(e.path())))
      if (japanese(text) && !fixed.count(text)) strays.push_back(relative + ": " + text);
  }
  EXPECT_GT(fixed.size(), 100u);
  EXPECT_TRUE(strays.empty()) << [&] {
    std::string list;
    for (const auto& s : strays) list += "\n  " + s;
    return "Japanese texts outside the message table:" + list;
  }();
}

// One meaning, one wording: no text twice in the table, and the table keeps its style.
TEST(MessageTable, OneWordingPerMeaningInOneStyle) {
  std::map<std::string, int> seen;
  std::vector<std::string> problems;
  for (const char* file : {"words/messages.h", "words/messages.cpp"}) {
    for (const std::string& text : literals(readAll(fs::path(ZORVEL_SOURCE_DIR) / file))) {
      if (!japanese(text)) continue;
      // Short pieces (「, 」の) are joints, not wordings.
      if (text.size() > 12 && ++seen[text] == 2) problems.push_back("twice: " + text);
      if (text.find("下さい") != std::string::npos) problems.push_back("下さい: " + text);
      for (const char* wide : {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"})
        if (text.find(wide) != std::string::npos) problems.push_back("full-width digit: " + text);
    }
  }
  EXPECT_GT(seen.size(), 50u);
  EXPECT_TRUE(problems.empty()) << ::testing::PrintToString(problems);
}
