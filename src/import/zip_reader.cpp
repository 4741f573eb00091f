#include "import/zip_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "words/import_messages.h"

namespace history {
namespace {

constexpr uint32_t kEndSignature = 0x06054b50, kEnd64Signature = 0x06064b50, kLocator64Signature = 0x07064b50;
constexpr uint32_t kCentralSignature = 0x02014b50, kLocalSignature = 0x04034b50;
constexpr size_t kEndSize = 22, kLocator64Size = 20, kEnd64Size = 56, kCentralSize = 46, kLocalSize = 30;
constexpr size_t kLongestComment = 0xFFFF;
constexpr uint16_t kStored = 0, kDeflated = 8, kEncrypted = 1, kZip64Extra = 0x0001;
constexpr size_t kChunk = 64 * 1024;

uint16_t le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t le32(const unsigned char* p) { return le16(p) | static_cast<uint32_t>(le16(p + 2)) << 16; }
uint64_t le64(const unsigned char* p) { return le32(p) | static_cast<uint64_t>(le32(p + 4)) << 32; }

[[noreturn]] void damaged() { throw ZipError(words::kZipDamaged); }

// Takes the Zip64 sizes and offset that stand in for fields of all ones, in their order.
void readZip64Extra(const unsigned char* extra, size_t length, ZipEntry& e, bool size, bool packed, bool offset) {
  for (size_t at = 0; at + 4 <= length;) {
    const uint16_t id = le16(extra + at), n = le16(extra + at + 2);
    if (at + 4 + n > length) damaged();
    if (id == kZip64Extra) {
      const unsigned char* p = extra + at + 4;
      const unsigned char* const end = p + n;
      for (auto [wanted, field] : {std::pair{size, &e.size}, {packed, &e.packedSize}, {offset, &e.localHeader}}) {
        if (!wanted) continue;
        if (end - p < 8) damaged();
        *field = le64(p);
        p += 8;
      }
      return;
    }
    at += 4 + n;
  }
  if (size || packed || offset) damaged();
}

}  // namespace

ZipReader::ZipReader(const std::filesystem::path& path) {
  file_ = std::fopen(path.c_str(), "rb");
  if (!file_) throw ZipError(words::kZipDamaged);
  try {
    readDirectory();
  } catch (...) {
    std::fclose(file_);
    throw;
  }
}

void ZipReader::readDirectory() {
  if (std::fseek(file_, 0, SEEK_END) != 0) damaged();
  const long size = std::ftell(file_);
  if (size < static_cast<long>(kEndSize)) throw ZipError(words::kZipNoDirectory);
  fileSize_ = static_cast<uint64_t>(size);

  // The end record, found from the end: the archive's comment may follow it.
  const size_t tail = static_cast<size_t>(std::min<uint64_t>(fileSize_, kEndSize + kLongestComment));
  std::vector<unsigned char> last(tail);
  readAt(fileSize_ - tail, last.data(), tail);
  size_t end = std::string::npos;
  for (size_t at = tail - kEndSize + 1; at-- > 0;)
    if (le32(&last[at]) == kEndSignature && at + kEndSize + le16(&last[at + 20]) <= tail) {
      end = at;
      break;
    }
  if (end == std::string::npos) throw ZipError(words::kZipNoDirectory);
  const unsigned char* e = &last[end];
  uint64_t count = le16(e + 10), directorySize = le32(e + 12), directory = le32(e + 16);
  if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directory == 0xFFFFFFFF) {
    const uint64_t endAt = fileSize_ - tail + end;
    if (endAt < kLocator64Size) damaged();
    unsigned char locator[kLocator64Size], end64[kEnd64Size];
    readAt(endAt - kLocator64Size, locator, sizeof locator);
    if (le32(locator) != kLocator64Signature) damaged();
    readAt(le64(locator + 8), end64, sizeof end64);
    if (le32(end64) != kEnd64Signature) damaged();
    count = le64(end64 + 32);
    directorySize = le64(end64 + 40);
    directory = le64(end64 + 48);
  }
  if (directory > fileSize_ || directorySize > fileSize_ - directory || count > directorySize / kCentralSize) damaged();

  std::vector<unsigned char> table(static_cast<size_t>(directorySize));
  readAt(directory, table.data(), table.size());
  entries_.reserve(static_cast<size_t>(count));
  for (size_t at = 0; entries_.size() < count;) {
    if (table.size() - at < kCentralSize || le32(&table[at]) != kCentralSignature) damaged();
    const unsigned char* h = &table[at];
    const size_t nameLength = le16(h + 28), extraLength = le16(h + 30), commentLength = le16(h + 32);
    if (table.size() - at - kCentralSize < nameLength + extraLength + commentLength) damaged();
    ZipEntry entry;
    entry.flags = le16(h + 8);
    entry.method = le16(h + 10);
    entry.crc = le32(h + 16);
    entry.packedSize = le32(h + 20);
    entry.size = le32(h + 24);
    entry.localHeader = le32(h + 42);
    entry.name.assign(reinterpret_cast<const char*>(h + kCentralSize), nameLength);
    readZip64Extra(h + kCentralSize + nameLength, extraLength, entry, entry.size == 0xFFFFFFFF,
                   entry.packedSize == 0xFFFFFFFF, entry.localHeader == 0xFFFFFFFF);
    entries_.push_back(std::move(entry));
    at += kCentralSize + nameLength + extraLength + commentLength;
  }
}

ZipReader::~ZipReader() {
  if (file_) std::fclose(file_);
}

void ZipReader::readAt(uint64_t offset, void* to, size_t n) const {
  if (offset > fileSize_ || n > fileSize_ - offset) damaged();
  if (offset > static_cast<uint64_t>(std::numeric_limits<long>::max()) ||
      std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0 || std::fread(to, 1, n, file_) != n)
    damaged();
}

std::unique_ptr<ZipEntryStream> ZipReader::open(const ZipEntry& entry) const {
  if (entry.flags & kEncrypted) throw ZipError(words::kZipEncrypted);
  if (entry.method != kStored && entry.method != kDeflated) throw ZipError(words::kZipMethod);
  unsigned char local[kLocalSize];
  readAt(entry.localHeader, local, sizeof local);
  if (le32(local) != kLocalSignature) damaged();
  const uint64_t data = entry.localHeader + kLocalSize + le16(local + 26) + le16(local + 28);
  if (data > fileSize_ || entry.packedSize > fileSize_ - data) damaged();
  return std::make_unique<ZipEntryStream>(*this, entry, data);
}

struct ZipEntryStream::Inflater {
  z_stream z{};
  Inflater() {
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
  }
  ~Inflater() { inflateEnd(&z); }
};

ZipEntryStream::ZipEntryStream(const ZipReader& zip, const ZipEntry& entry, uint64_t dataStart)
    : zip_(zip), entry_(entry), next_(dataStart), packedLeft_(entry.packedSize), crc_(crc32(0, nullptr, 0)) {
  if (entry_.method == kDeflated) inflater_ = std::make_unique<Inflater>();
}

ZipEntryStream::~ZipEntryStream() = default;

void ZipEntryStream::refill() {
  const size_t n = static_cast<size_t>(std::min<uint64_t>(packedLeft_, kChunk));
  in_.resize(n);
  zip_.readAt(next_, in_.data(), n);
  next_ += n;
  packedLeft_ -= n;
  if (inflater_) {
    inflater_->z.next_in = in_.data();
    inflater_->z.avail_in = static_cast<uInt>(n);
  }
}

size_t ZipEntryStream::read(char* to, size_t n) {
  if (ended_ || n == 0) return 0;
  n = std::min<size_t>(n, std::numeric_limits<uInt>::max());
  size_t got = 0;
  if (!inflater_) {
    const size_t take = static_cast<size_t>(std::min<uint64_t>(n, packedLeft_));
    zip_.readAt(next_, to, take);
    next_ += take;
    packedLeft_ -= take;
    got = take;
  } else {
    z_stream& z = inflater_->z;
    z.next_out = reinterpret_cast<Bytef*>(to);
    z.avail_out = static_cast<uInt>(n);
    while (z.avail_out > 0) {
      if (z.avail_in == 0 && packedLeft_ > 0) refill();
      const uInt before = z.avail_out;
      const int r = inflate(&z, Z_NO_FLUSH);
      if (r == Z_STREAM_END) break;
      if (r != Z_OK && !(r == Z_BUF_ERROR && z.avail_out < before)) throw ZipError(words::kZipDataDamaged);
      if (z.avail_in == 0 && packedLeft_ == 0 && z.avail_out == before) throw ZipError(words::kZipDataDamaged);
    }
    got = n - z.avail_out;
  }
  crc_ = crc32(crc_, reinterpret_cast<const Bytef*>(to), static_cast<uInt>(got));
  produced_ += got;
  if (produced_ > entry_.size) throw ZipError(words::kZipDataDamaged);
  if (got == 0) {
    // The end: every byte the table promised, and the same checksum.
    ended_ = true;
    if (produced_ != entry_.size || crc_ != entry_.crc) throw ZipError(words::kZipDataDamaged);
  }
  return got;
}

}  // namespace history
