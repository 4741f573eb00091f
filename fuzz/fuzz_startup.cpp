// A whole start-up, a change of day and a month forward on a folder built from the input (no
// writes: those have their own tests, and a flush per input would slow the search).
// The input is a list of files separated by a zero byte; each file's first byte chooses its name.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "drive/driver.h"
#include "fuzz_common.h"

namespace {

const char* const kNames[] = {"ﾌﾟﾗｲﾍﾞｰﾄ.txt",     "設定.txt",     "体重.txt",      "体脂肪率.txt",   "歩数.txt",
                              "連続体重.txt",     "ﾘｽﾄ題目.txt",  "ﾘｽﾄ1.txt",      "ﾘｽﾄ2.txt",       "筋トレ題目.txt",
                              "筋トレ1.txt",      "栄養.txt",     "ｶﾛﾘｰ.txt",      "2024年01月.txt", "20240105.txt",
                              "日記20240105.txt", "20240104.txt", "2024年02月.txt"};
constexpr size_t kNameCount = sizeof kNames / sizeof kNames[0];

// Every file start-up reads, as an empty diary has it.
void writeBaseline() {
  fuzzing::writeFile("ﾌﾟﾗｲﾍﾞｰﾄ.txt",
                     "\"name\",\"a\"\r\n\"h\",170\r\n\"w\",60\r\n\"p\",100\r\n\"r\",70\r\n\"c\",1800\r\n\"fx\",30\r\n"
                     "\"fn\",10\r\n\"sx\",20000\r\n\"sn\",0\r\n\"s\",0.7\r\n");
  fuzzing::writeFile("設定.txt", "\"t\",0\r\n");
  fuzzing::writeFile("ﾘｽﾄ題目.txt", "\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n");
  fuzzing::writeFile("筋トレ題目.txt",
                     "\"1\",\"a\",1\r\n\"2\",\"b\",1\r\n\"3\",\"c\",1\r\n\"4\",\"d\",1\r\n"
                     "\"5\",\"e\",1\r\n\"6\",\"f\",1\r\n");
  for (const char* empty : {"体重.txt", "体脂肪率.txt", "歩数.txt", "連続体重.txt", "ﾘｽﾄ1.txt", "ﾘｽﾄ2.txt", "ﾘｽﾄ3.txt",
                            "ﾘｽﾄ4.txt", "筋トレ1.txt", "筋トレ2.txt", "筋トレ3.txt", "筋トレ4.txt", "筋トレ5.txt",
                            "筋トレ6.txt", "栄養.txt", "ｶﾛﾘｰ.txt"})
    fuzzing::writeFile(empty, "");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string folder = fuzzing::freshFolder();
  writeBaseline();
  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t pos = 0;
  while (pos < input.size()) {
    size_t end = input.find('\0', pos);
    if (end == std::string::npos) end = input.size();
    if (end > pos)
      fuzzing::writeFile(kNames[static_cast<uint8_t>(input[pos]) % kNameCount], input.substr(pos + 1, end - pos - 1));
    pos = end + 1;
  }
  std::istringstream script("clock 2024/01/05 09:00:00\nstart\ndump\nscroll VScroll1 364\nclick cmdOkuri\ndump\n");
  std::ostringstream out, err;
  drive::runScript(folder, script, out, err);
  return 0;
}
