#include "support/temp_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "store/cp932.h"

namespace fs = std::filesystem;

namespace testing_support {

TempFolder::TempFolder() : TempFolder(fs::temp_directory_path().string()) {}

TempFolder::TempFolder(const std::string& under) {
  std::string tmpl = (fs::path(under) / "zorvel-test-XXXXXX").string();
  if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

void TempFolder::writeBytes(const std::string& name, const std::string& bytes) const {
  std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
  out << bytes;
}

void TempFolder::writeCp932(const std::string& name, const std::string& utf8) const {
  writeBytes(name, store::utf8ToCp932(utf8));
}

std::string TempFolder::readBytes(const std::string& name) const {
  std::ifstream in(file(name), std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string TempFolder::readUtf8(const std::string& name) const { return store::cp932ToUtf8(readBytes(name)); }

bool TempFolder::exists(const std::string& name) const { return fs::exists(file(name)); }

std::vector<std::string> TempFolder::list() const {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(path_)) names.push_back(e.path().filename().string());
  return names;
}

void TempFolder::copySample() const {
  for (const auto& e : fs::directory_iterator(ZORVEL_SAMPLE_DIR))
    fs::copy_file(e.path(), fs::path(path_) / e.path().filename(), fs::copy_options::overwrite_existing);
}

void TempFolder::writeMinimalDiary(const std::string& name, int helpTour) const {
  writeCp932("設定.txt", "\"ヘルプツアー\"," + std::to_string(helpTour) + "\r\n");
  writeCp932("ﾌﾟﾗｲﾍﾞｰﾄ.txt", "\"氏名\",\"" + name +
                                 "\"\r\n\"身長\",170\r\n\"目標体重\",60\r\n\"目標期間\",100\r\n\"目標達成率\",70\r\n"
                                 "\"目標ｶﾛﾘｰ\",1800\r\n\"体脂肪率Ｙ軸MAX\",30\r\n\"体脂肪率Ｙ軸MIN\",10\r\n"
                                 "\"歩数Ｙ軸MAX\",20000\r\n\"歩数Ｙ軸MIN\",0\r\n\"一歩換算\",0.7\r\n");
  // Every other file start-up reads, as an empty diary has it.
  for (const auto& e : fs::directory_iterator(ZORVEL_TEST_DATA_DIR "/minimal"))
    fs::copy_file(e.path(), fs::path(path_) / e.path().filename(), fs::copy_options::overwrite_existing);
}

InFolder::InFolder(const TempFolder& dir) : old_(fs::current_path().string()) { fs::current_path(dir.path()); }
InFolder::~InFolder() {
  std::error_code ec;
  fs::current_path(old_, ec);
}

}  // namespace testing_support
