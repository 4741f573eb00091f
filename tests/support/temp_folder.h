#pragma once
// Test data lives in temporary folders, never in the program folder.
#include <string>
#include <vector>

namespace testing_support {

class TempFolder {
 public:
  TempFolder();
  // In `under` instead of the system's temporary folder (a memory file system, say).
  explicit TempFolder(const std::string& under);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  // Writes UTF-8 `text` converted to CP932, byte for byte otherwise (give the CR LF yourself).
  void writeCp932(const std::string& name, const std::string& utf8) const;
  // Writes raw bytes.
  void writeBytes(const std::string& name, const std::string& bytes) const;
  // Reads a file's bytes; "" when missing.
  std::string readBytes(const std::string& name) const;
  // Reads a file converted from CP932 to UTF-8.
  std::string readUtf8(const std::string& name) const;
  bool exists(const std::string& name) const;
  std::vector<std::string> list() const;

  // Copies every file of the delivered sample data folder here.
  void copySample() const;
  // A minimal folder that starts: a non-sample profile, 設定.txt with the tour off, empty logs.
  void writeMinimalDiary(const std::string& name = "テスト", int helpTour = 0) const;

 private:
  std::string path_;
};

// While alive, the process works in `dir`: data files are opened by bare name, as in the program.
class InFolder {
 public:
  explicit InFolder(const TempFolder& dir);
  ~InFolder();
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;

 private:
  std::string old_;
};

}  // namespace testing_support
