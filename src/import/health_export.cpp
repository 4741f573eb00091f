#include "import/health_export.h"

#include <expat.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "import/zip_reader.h"
#include "store/numbers.h"
#include "words/import_messages.h"

namespace history {
namespace {

constexpr size_t kChunk = 256 * 1024;
constexpr const char* kRoot = "HealthData";

enum class Kind { None, Weight, Fat, Steps };

Kind kindOf(const char* type) {
  if (std::strcmp(type, "HKQuantityTypeIdentifierBodyMass") == 0) return Kind::Weight;
  if (std::strcmp(type, "HKQuantityTypeIdentifierBodyFatPercentage") == 0) return Kind::Fat;
  if (std::strcmp(type, "HKQuantityTypeIdentifierStepCount") == 0) return Kind::Steps;
  return Kind::None;
}

struct Stamp {
  store::Date day;
  int seconds = 0;
};

// "2026-11-01 07:30:12 +0900": the date and the time as the clock of that zone showed them.
std::optional<Stamp> parseStartDate(const char* text) {
  int y, mo, d, h, mi, s, zone, used = 0;
  char sign;
  if (std::sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d %c%4d%n", &y, &mo, &d, &h, &mi, &s, &sign, &zone, &used) != 8 ||
      text[used] != '\0' || (sign != '+' && sign != '-') || std::strlen(text) != 25)
    return std::nullopt;
  if (y < 1900 || h < 0 || mi < 0 || s < 0 || zone < 0 || mo < 1 || mo > 12 || d < 1 ||
      d > static_cast<int>(store::daysInMonth(y, static_cast<unsigned>(mo))) || h > 23 || mi > 59 || s > 60 ||
      zone % 100 > 59 || zone > 1400)
    return std::nullopt;
  return Stamp{store::makeDate(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)), h * 3600 + mi * 60 + s};
}

DayFigures failed(std::string why) {
  DayFigures f;
  f.error = std::move(why);
  return f;
}

std::optional<double> number(const char* text) {
  if (!*text) return std::nullopt;
  return store::parseNumberField(text);
}

}  // namespace

struct HealthXmlReader::State {
  XML_Parser parser = XML_ParserCreate(nullptr);
  int depth = 0;
  bool rootSeen = false;
  std::optional<std::string> error;
  DayFigures out;
  Collector collect;

  void stop(std::string why) {
    if (!error) error = std::move(why);
    XML_StopParser(parser, XML_FALSE);
  }

  void record(const char** attrs) {
    const char *type = "", *unit = "", *value = "", *start = "", *source = "";
    for (const char** a = attrs; a[0]; a += 2) {
      if (std::strcmp(a[0], "type") == 0)
        type = a[1];
      else if (std::strcmp(a[0], "unit") == 0)
        unit = a[1];
      else if (std::strcmp(a[0], "value") == 0)
        value = a[1];
      else if (std::strcmp(a[0], "startDate") == 0)
        start = a[1];
      else if (std::strcmp(a[0], "sourceName") == 0)
        source = a[1];
    }
    const Kind kind = kindOf(type);
    if (kind == Kind::None) return;
    Series& series = kind == Kind::Weight ? out.weight : kind == Kind::Fat ? out.fat : out.steps;
    ++series.records;
    const std::optional<Stamp> stamp = parseStartDate(start);
    if (!stamp) {
      ++series.skipped[Skip::BadDate];
      return;
    }
    std::optional<double> factor;
    if (kind == Kind::Weight) factor = kgPerUnit(unit);
    if (kind == Kind::Fat && std::strcmp(unit, "%") == 0) factor = 100.0;  // given as a fraction of 1
    if (kind == Kind::Steps && std::strcmp(unit, "count") == 0) factor = 1.0;
    if (!factor) {
      ++series.skipped[Skip::UnknownUnit];
      return;
    }
    const std::optional<double> v = number(value);
    const double figure = v ? oneDecimal(*v * *factor) : 0;
    const double highest = kind == Kind::Weight ? kHighestKg : kind == Kind::Fat ? 100.0 : kHighestSteps;
    const bool bad = !v || figure > highest || (kind == Kind::Steps ? *v < 0 : figure <= 0);
    if (bad) {
      ++series.skipped[Skip::BadValue];
      return;
    }
    switch (kind) {
      case Kind::Weight: collect.weight(stamp->day, stamp->seconds, figure); break;
      case Kind::Fat: collect.fat(stamp->day, stamp->seconds, figure); break;
      default: collect.stepsPart(stamp->day, source, *v); break;
    }
  }

  static void onStart(void* self, const char* name, const char** attrs) {
    State& s = *static_cast<State*>(self);
    if (s.depth++ == 0) {
      s.rootSeen = true;
      if (std::strcmp(name, kRoot) != 0) s.stop(words::notHealthExport(name));
      return;
    }
    // Records nested in correlations repeat records of the top level.
    if (s.depth == 2 && std::strcmp(name, "Record") == 0) s.record(attrs);
  }
  static void onEnd(void* self, const char*) { --static_cast<State*>(self)->depth; }

  State() {
    if (!parser) throw std::bad_alloc();
    XML_SetUserData(parser, this);
    XML_SetElementHandler(parser, &State::onStart, &State::onEnd);
  }
  ~State() { XML_ParserFree(parser); }
};

HealthXmlReader::HealthXmlReader() : state_(std::make_unique<State>()) {}
HealthXmlReader::~HealthXmlReader() = default;

bool HealthXmlReader::feed(const char* data, size_t size, bool last) {
  State& s = *state_;
  if (s.error) return false;
  // Expat takes an int length: big pieces go in slices.
  do {
    const size_t n = std::min<size_t>(size, kChunk);
    const bool end = last && n == size;
    if (XML_Parse(s.parser, data, static_cast<int>(n), end) != XML_STATUS_OK) {
      const XML_Error code = XML_GetErrorCode(s.parser);
      if (s.error) return false;
      if (!s.rootSeen && code == XML_ERROR_NO_ELEMENTS)
        s.error = words::kXmlEmpty;
      else
        s.error = words::xmlDamaged(XML_GetCurrentLineNumber(s.parser), XML_ErrorString(code));
      return false;
    }
    data += n;
    size -= n;
  } while (size > 0);
  return true;
}

DayFigures HealthXmlReader::finish() {
  State& s = *state_;
  DayFigures out = std::move(s.out);
  if (s.error) return failed(*s.error);
  s.collect.finish(out);
  return out;
}

DayFigures readHealthXml(std::string_view xml) {
  HealthXmlReader reader;
  reader.feed(xml.data(), xml.size(), true);
  return reader.finish();
}

namespace {

bool endsWithXml(std::string_view name) {
  if (name.size() < 4) return false;
  std::string tail(name.substr(name.size() - 4));
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".xml";
}

// The root element's name of an XML entry, read no further than to it; empty when there is none.
// A ZipError when the entry cannot be read.
std::string rootOf(const ZipReader& zip, const ZipEntry& entry, std::vector<char>& buffer) {
  const std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> p(XML_ParserCreate(nullptr),
                                                                                   XML_ParserFree);
  if (!p) throw std::bad_alloc();
  std::string root;
  XML_SetUserData(p.get(), &root);
  XML_UseParserAsHandlerArg(p.get());
  XML_SetStartElementHandler(p.get(), [](void* parser, const char* name, const char**) {
    auto pp = static_cast<XML_Parser>(parser);
    *static_cast<std::string*>(XML_GetUserData(pp)) = name;
    XML_StopParser(pp, XML_FALSE);
  });
  const std::unique_ptr<ZipEntryStream> file = zip.open(entry);
  // The root comes after the declaration and the document type, a few kB at most.
  for (int pieces = 0; root.empty() && pieces < 16; ++pieces) {
    const size_t n = file->read(buffer.data(), buffer.size());
    if (n == 0 || XML_Parse(p.get(), buffer.data(), static_cast<int>(n), false) != XML_STATUS_OK) break;
  }
  return root;
}

DayFigures readZip(const std::filesystem::path& path) {
  std::optional<ZipReader> zip;
  try {
    zip.emplace(path);
  } catch (const ZipError& e) {
    return failed(words::zipUnreadable(e.what()));
  }
  std::vector<char> buffer(kChunk);
  const ZipEntry* found = nullptr;
  // Why an XML entry could not be looked into (a password, a damaged entry): the reason no
  // export was found.
  std::optional<std::string> unreadable;
  for (const ZipEntry& entry : zip->entries()) {
    if (!endsWithXml(entry.name)) continue;
    std::string root;
    try {
      root = rootOf(*zip, entry, buffer);
    } catch (const ZipError& e) {
      if (!unreadable) unreadable = e.what();
      continue;
    }
    if (root != kRoot) continue;
    if (found) return failed(words::kZipTwoExports);
    found = &entry;
  }
  if (!found) return failed(unreadable ? words::zipEntryUnreadable(*unreadable) : words::kZipNoExport);
  HealthXmlReader reader;
  try {
    const std::unique_ptr<ZipEntryStream> file = zip->open(*found);
    for (;;) {
      const size_t n = file->read(buffer.data(), buffer.size());
      if (!reader.feed(buffer.data(), n, n == 0)) {
        // XML that breaks off may be a damaged entry: its checksum, at its end, tells which.
        while (file->read(buffer.data(), buffer.size()) > 0) {
        }
        break;
      }
      if (n == 0) break;
    }
  } catch (const ZipError& e) {
    return failed(words::zipEntryUnreadable(e.what()));
  }
  return reader.finish();
}

}  // namespace

DayFigures readHealthExport(const std::filesystem::path& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return failed(words::fileUnopenable(path.filename().string()));
  std::vector<char> buffer(kChunk);
  size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
  if (n >= 2 && buffer[0] == 'P' && buffer[1] == 'K') {
    std::fclose(f);
    return readZip(path);
  }
  HealthXmlReader reader;
  for (;;) {
    const bool last = n < buffer.size();
    if (last && std::ferror(f)) {
      std::fclose(f);
      return failed(words::fileUnreadable(path.filename().string()));
    }
    if (!reader.feed(buffer.data(), n, last) || last) break;
    n = std::fread(buffer.data(), 1, buffer.size(), f);
  }
  std::fclose(f);
  return reader.finish();
}

}  // namespace history
