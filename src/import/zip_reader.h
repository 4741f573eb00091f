#pragma once
// Reading the entries of a zip archive one stream at a time, over zlib: stored and deflated
// entries, Zip64 sizes and offsets. An archive library of its own would be loaded at every start
// of the program for the one import that reads a zip.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace history {

// Why an archive or an entry cannot be read, in Japanese (goes inside the import's message).
class ZipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ZipEntry {
  std::string name;
  uint64_t packedSize = 0, size = 0, localHeader = 0;
  uint32_t crc = 0;
  uint16_t method = 0, flags = 0;
};

class ZipEntryStream;

class ZipReader {
 public:
  // Opens the archive and reads its table of contents; a ZipError when it is none.
  explicit ZipReader(const std::filesystem::path& path);
  ~ZipReader();
  ZipReader(const ZipReader&) = delete;
  ZipReader& operator=(const ZipReader&) = delete;

  const std::vector<ZipEntry>& entries() const { return entries_; }
  // The entry's contents as a stream; a ZipError when its method cannot be read.
  std::unique_ptr<ZipEntryStream> open(const ZipEntry& entry) const;

 private:
  friend class ZipEntryStream;
  void readDirectory();
  // Exactly `n` bytes at `offset`, else a ZipError.
  void readAt(uint64_t offset, void* to, size_t n) const;
  std::FILE* file_ = nullptr;
  uint64_t fileSize_ = 0;
  std::vector<ZipEntry> entries_;
};

class ZipEntryStream {
 public:
  ZipEntryStream(const ZipReader& zip, const ZipEntry& entry, uint64_t dataStart);
  ~ZipEntryStream();
  ZipEntryStream(const ZipEntryStream&) = delete;
  ZipEntryStream& operator=(const ZipEntryStream&) = delete;
  // Up to `n` bytes of the contents; 0 at their end, which is checked against the entry's size
  // and checksum. A ZipError when the data are damaged.
  size_t read(char* to, size_t n);

 private:
  void refill();
  const ZipReader& zip_;
  const ZipEntry entry_;
  uint64_t next_, packedLeft_, produced_ = 0;
  uint32_t crc_ = 0;
  std::vector<unsigned char> in_;
  struct Inflater;
  std::unique_ptr<Inflater> inflater_;
  bool ended_ = false;
};

}  // namespace history
