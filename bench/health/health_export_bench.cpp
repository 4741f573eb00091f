// Writes an Apple Health export of the given size (default 200 MB) into a temporary folder,
// as export.xml and zipped, and reads each once, printing the time taken and the process's
// peak memory (ru_maxrss) before and after. A phone used for years holds mostly heart rate
// and step records; those make the bulk here, with a weight and a body fat a day.
//
//   health_export_bench [MB]
#include <sys/resource.h>
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "import/health_export.h"

namespace {

double peakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024;
}

void writeExport(const std::string& path, double megabytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::exit(2);
  std::fputs(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE HealthData [\n"
      "<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation)*)>\n<!ATTLIST HealthData locale CDATA #REQUIRED>\n"
      "]>\n<HealthData locale=\"ja_JP\">\n <ExportDate value=\"2026-12-07 21:00:00 +0900\"/>\n <Me/>\n",
      f);
  const auto limit = static_cast<long long>(megabytes * 1048576);
  long long written = 0;
  const store::Date first = store::makeDate(2016, 1, 1);
  for (long long i = 0; written < limit; ++i) {
    // 144 ten-minute slots a day: heart rate and steps from the phone and the watch.
    const store::Date day = first + std::chrono::days(i / 144 % 3650);
    const int minute = static_cast<int>(i % 144) * 10;
    const std::string date = store::formatDate(day);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, "%.4s-%.2s-%.2s %02d:%02d:00 +0900", date.c_str(), date.c_str() + 5,
                  date.c_str() + 8, minute / 60, minute % 60);
    const auto record = [&](const char* type, const char* source, const char* unit, double value) {
      written += std::fprintf(f,
                              " <Record type=\"HKQuantityTypeIdentifier%s\" sourceName=\"%s\" sourceVersion=\"17.1\" "
                              "device=\"&lt;&lt;HKDevice: 0x283a1&gt;, name:%s&gt;\" unit=\"%s\" creationDate=\"%s\" "
                              "startDate=\"%s\" endDate=\"%s\" value=\"%g\"/>\n",
                              type, source, source, unit, stamp, stamp, stamp, value);
    };
    record("HeartRate", "Apple Watch", "count/min", 60 + static_cast<double>(i % 40));
    record("StepCount", "iPhone", "count", static_cast<double>(i % 300));
    record("StepCount", "Apple Watch", "count", static_cast<double>(i % 290));
    if (i % 144 == 42) {
      record("BodyMass", "体重計", i % 288 ? "kg" : "lb", i % 288 ? 70 + (i % 50) / 10.0 : 155.2);
      record("BodyFatPercentage", "体重計", "%", 0.2 + (i % 50) / 1000.0);
    }
  }
  std::fputs("</HealthData>\n", f);
  std::fclose(f);
}

void zipIt(const std::string& xml, const std::string& zipPath) {
  int code = 0;
  zip_t* z = zip_open(zipPath.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  zip_source_t* s = z ? zip_source_file(z, xml.c_str(), 0, -1) : nullptr;
  if (!s || zip_file_add(z, "apple_health_export/export.xml", s, 0) < 0 || zip_close(z) != 0) std::exit(2);
}

// `xmlMb`: the size of the XML read, also when it comes out of a zip.
void read(const std::string& path, double xmlMb) {
  const double before = peakMb();
  const auto start = std::chrono::steady_clock::now();
  const history::DayFigures f = history::readHealthExport(path);
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (f.error) {
    std::fprintf(stderr, "%s\n", f.error->c_str());
    std::exit(1);
  }
  const double mb = static_cast<double>(std::filesystem::file_size(path)) / 1048576;
  std::printf(
      "%-10s %6.1f MB (XML %6.1f MB)  read in %6.2f s (%5.1f MB of XML/s)  peak memory %5.1f MB "
      "(before reading %5.1f MB)\n           %zu weights, %zu body fat, %zu step days from %d records\n",
      std::filesystem::path(path).filename().c_str(), mb, xmlMb, seconds, xmlMb / seconds, peakMb(), before,
      f.weight.days.size(), f.fat.days.size(), f.steps.days.size(), f.weight.records + f.fat.records + f.steps.records);
}

}  // namespace

int main(int argc, char** argv) {
  const double megabytes = argc > 1 ? std::atof(argv[1]) : 200;
  std::string folder = (std::filesystem::temp_directory_path() / "zorvel-health-XXXXXX").string();
  if (!mkdtemp(folder.data())) return 2;
  const std::string xml = folder + "/export.xml", zipped = folder + "/export.zip";
  writeExport(xml, megabytes);
  zipIt(xml, zipped);
  const double xmlMb = static_cast<double>(std::filesystem::file_size(xml)) / 1048576;
  read(xml, xmlMb);
  read(zipped, xmlMb);
  std::filesystem::remove_all(folder);
}
