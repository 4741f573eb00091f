#include <gtest/gtest.h>
#include <zip.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "import/health_export.h"
#include "import/scale_csv.h"
#include "store/cp932.h"
#include "support/temp_folder.h"

using testing_support::TempFolder;

namespace {

// "11/01 69.5, 11/02 69.8 (7 read; LaterSameDay 1)".
std::string shown(const history::Series& s) {
  static const char* const kWhy[] = {"BadDate", "BadValue", "UnknownUnit", "LaterSameDay", "OtherSource", "BadRow"};
  std::string out;
  for (const history::DayValue& d : s.days) {
    char text[40];
    std::snprintf(text, sizeof text, "%s%02u/%02u %g", out.empty() ? "" : ", ", store::monthOf(d.day),
                  store::dayOf(d.day), d.value);
    out += text;
  }
  out += " (" + std::to_string(s.records) + " read";
  for (const auto& [why, n] : s.skipped)
    out += std::string("; ") + kWhy[static_cast<int>(why)] + " " + std::to_string(n);
  return out + ")";
}

std::string record(const char* type, const char* source, const char* unit, const char* value, const char* start) {
  return std::string(" <Record type=\"HKQuantityTypeIdentifier") + type + "\" sourceName=\"" + source +
         "\" sourceVersion=\"17.1\" unit=\"" + unit + "\" creationDate=\"" + start + "\" startDate=\"" + start +
         "\" endDate=\"" + start + "\" value=\"" + value +
         "\">\n  <MetadataEntry key=\"HKWasUserEntered\" value=\"0\"/>\n"
         " </Record>\n";
}

// An export as the Health app writes it: declaration, internal DTD, ExportDate and Me, then
// records of every kind in the order they were saved.
std::string healthExport() {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE HealthData [\n<!ELEMENT HealthData (ExportDate,Me,(Record|Correlation)*)>\n"
         "<!ATTLIST HealthData locale CDATA #REQUIRED>\n<!ELEMENT Record ((MetadataEntry)*)>\n]>\n"
         "<HealthData locale=\"ja_JP\">\n <ExportDate value=\"2026-11-05 21:00:00 +0900\"/>\n"
         " <Me HKCharacteristicTypeIdentifierBiologicalSex=\"HKBiologicalSexFemale\"/>\n" +
         record("BodyMass", "ヘルスケア", "kg", "70.04", "2026-11-01 07:30:12 +0900") +
         record("BodyMass", "体重計", "lb", "153.2", "2026-11-01 06:10:00 +0900") +      // earlier: the day's
         record("BodyMass", "ヘルスケア", "kg", "69.84", "2026-11-02 23:30:00 -0800") +  // 11/03 in Tokyo
         record("BodyMass", "ヘルスケア", "st", "11", "2026-11-03 07:00:00 +0900") +
         record("BodyMass", "ヘルスケア", "kg", "abc", "2026-11-03 07:00:00 +0900") +
         record("BodyMass", "ヘルスケア", "kg", "70", "2026-11-31 07:00:00 +0900") +
         record("BodyFatPercentage", "体重計", "%", "0.245", "2026-11-01 06:10:00 +0900") +
         record("BodyFatPercentage", "体重計", "%", "0.1735", "2026-11-02 06:10:00 +0900") +
         record("BodyFatPercentage", "体重計", "%", "1.5", "2026-11-03 06:10:00 +0900") +
         record("HeartRate", "Apple Watch", "count/min", "62", "2026-11-01 08:00:00 +0900") +
         record("StepCount", "iPhone", "count", "3000", "2026-11-01 08:00:00 +0900") +
         record("StepCount", "Apple Watch", "count", "4000", "2026-11-01 08:00:00 +0900") +
         record("StepCount", "Apple Watch", "count", "1000", "2026-11-01 12:00:00 +0900") +
         record("StepCount", "iPhone", "count", "2500", "2026-11-01 12:00:00 +0900") +
         record("StepCount", "Apple Watch", "count", "200", "2026-11-01 18:00:00 +0900") +
         record("StepCount", "iPhone", "count", "100", "2026-11-01 23:50:00 -0500") +
         record("StepCount", "Apple Watch", "count", "8000", "2026-11-02 09:00:00 +0900") +
         record("StepCount", "iPhone", "count", "7000", "2026-11-02 09:00:00 +0900") +
         // Blood pressure's records repeat inside its correlation.
         " <Correlation type=\"HKCorrelationTypeIdentifierBloodPressure\">\n" +
         record("BodyMass", "ヘルスケア", "kg", "60", "2026-11-04 07:00:00 +0900") + " </Correlation>\n</HealthData>\n";
}

void expectHealthFigures(const history::DayFigures& f) {
  ASSERT_FALSE(f.error) << *f.error;
  EXPECT_EQ(shown(f.weight), "11/01 69.5, 11/02 69.8 (6 read; BadDate 1; BadValue 1; UnknownUnit 1; LaterSameDay 1)");
  EXPECT_EQ(shown(f.fat), "11/01 24.5, 11/02 17.4 (3 read; BadValue 1)");
  EXPECT_EQ(shown(f.steps), "11/01 5600, 11/02 8000 (8 read; OtherSource 4)");
}

enum class Packing { Deflated, Stored, Locked };

void writeZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
              Packing packing = Packing::Deflated) {
  int code = 0;
  zip_t* z = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  ASSERT_TRUE(z);
  for (const auto& [name, bytes] : entries) {
    const zip_int64_t i =
        zip_file_add(z, name.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), ZIP_FL_ENC_UTF_8);
    ASSERT_GE(i, 0);
    if (packing == Packing::Stored) {
      ASSERT_EQ(zip_set_file_compression(z, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0), 0);
    } else if (packing == Packing::Locked) {
      ASSERT_EQ(zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, "secret"), 0);
    }
  }
  // A comment after the table of contents, as some tools leave.
  if (packing == Packing::Stored) {
    ASSERT_EQ(zip_set_archive_comment(z, "exported", 8), 0);
  }
  ASSERT_EQ(zip_close(z), 0);
}

// One stored entry the Zip64 way (sizes and offsets in the extra field, the Zip64 end records), as
// archives of over 4 GB are written.
std::string zip64Of(const std::string& name, const std::string& data) {
  std::string z;
  // Little-endian fields of the given widths in bytes.
  auto put = [&z](std::initializer_list<int> widths, std::initializer_list<uint64_t> values) {
    const uint64_t* v = values.begin();
    for (int bytes : widths) {
      for (int i = 0; i < bytes; ++i) z += static_cast<char>(*v >> (8 * i) & 0xFF);
      ++v;
    }
  };
  const uint64_t crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size()));
  const uint64_t size = data.size(), all = 0xFFFFFFFF;
  put({4, 2, 2, 2, 4, 4, 4, 4, 2, 2}, {0x04034b50, 45, 0, 0, 0, crc, all, all, name.size(), 20});
  z += name;
  put({2, 2, 8, 8}, {1, 16, size, size});
  z += data;
  const uint64_t central = z.size();
  put({4, 2, 2, 2, 2, 4, 4, 4, 4, 2, 2, 2, 2, 2, 4, 4},
      {0x02014b50, 45, 45, 0, 0, 0, crc, all, all, name.size(), 28, 0, 0, 0, 0, all});
  z += name;
  put({2, 2, 8, 8, 8}, {1, 24, size, size, 0});
  const uint64_t end64 = z.size();
  put({4, 8, 2, 2, 4, 4, 8, 8, 8, 8}, {0x06064b50, 44, 45, 45, 0, 0, 1, 1, end64 - central, central});
  put({4, 4, 8, 4}, {0x07064b50, 0, end64, 1});
  put({4, 4, 2, 2, 4, 4, 2}, {0x06054b50, 0, 0xFFFF, 0xFFFF, all, all, 0});
  return z;
}

}  // namespace

TEST(HealthExport, TakesTheDaysFiguresFromTheXmlAndFromTheZip) {
  expectHealthFigures(history::readHealthXml(healthExport()));

  TempFolder dir;
  dir.writeBytes("export.xml", healthExport());
  expectHealthFigures(history::readHealthExport(dir.file("export.xml")));
  // A Japanese phone names the files in Japanese; the clinical records' XML has another root.
  const std::string other = "<?xml version=\"1.0\"?>\n<ClinicalDocument/>\n";
  writeZip(dir.file("書き出したデータ.zip"), {{"apple_health_export/書き出し.xml", healthExport()},
                                              {"apple_health_export/export_cda.xml", other},
                                              {"apple_health_export/workout-routes/route.gpx", other}});
  expectHealthFigures(history::readHealthExport(dir.file("書き出したデータ.zip")));

  // Stored rather than deflated, with a comment after the table; and the Zip64 way.
  writeZip(dir.file("stored.zip"), {{"apple_health_export/export.xml", healthExport()}}, Packing::Stored);
  expectHealthFigures(history::readHealthExport(dir.file("stored.zip")));
  dir.writeBytes("zip64.zip", zip64Of("apple_health_export/export.xml", healthExport()));
  expectHealthFigures(history::readHealthExport(dir.file("zip64.zip")));

  writeZip(dir.file("two.zip"), {{"a/export.xml", healthExport()}, {"b/export.xml", healthExport()}});
  writeZip(dir.file("none.zip"), {{"apple_health_export/export_cda.xml", other}});
  writeZip(dir.file("locked.zip"), {{"apple_health_export/export.xml", healthExport()}}, Packing::Locked);
  dir.writeBytes("broken.zip", "PK\x03\x04 not really");
  // A download cut short has no table of contents; a byte changed in the packed data is found.
  const std::string whole = dir.readBytes("書き出したデータ.zip");
  dir.writeBytes("cut.zip", whole.substr(0, whole.size() / 2));
  std::string changed = whole;
  changed[changed.size() / 2] ^= 0x20;  // amid the export's packed data, after its root
  dir.writeBytes("changed.zip", changed);
  // A figure changed in a stored entry still reads as XML: only the checksum finds it.
  std::string altered = dir.readBytes("stored.zip");
  altered.replace(altered.find("69.84"), 5, "96.84");
  dir.writeBytes("altered.zip", altered);
  const struct {
    const char* file;
    const char* error;
  } refused[] = {{"two.zip", "2 つ以上"},
                 {"none.zip", "見つかりません"},
                 {"locked.zip", "書き出しが読めません（パスワードで保護されています）"},
                 {"broken.zip", "ZIP ファイルが読めません（ZIP の目次が見つかりません）"},
                 {"cut.zip", "ZIP ファイルが読めません（ZIP の目次が見つかりません）"},
                 {"changed.zip", "書き出しが読めません（中身が壊れています）"},
                 {"altered.zip", "書き出しが読めません（中身が壊れています）"},
                 {"missing.xml", "開けません"}};
  for (const auto& r : refused) {
    const history::DayFigures f = history::readHealthExport(dir.file(r.file));
    ASSERT_TRUE(f.error) << r.file;
    EXPECT_NE(f.error->find(r.error), std::string::npos) << *f.error;
  }
}

TEST(HealthExport, ADamagedXmlGivesAnErrorAndNoFigures) {
  const std::string xml = healthExport();
  const struct {
    std::string xml;
    const char* error;
  } cases[] = {
      {xml.substr(0, xml.size() - 40), "行目で壊れています"},  // the download stopped
      {xml.substr(0, xml.find("<Record")) + "<Record value=\"1 & 2\"/></HealthData>", "10 行目で壊れています"},
      {"<ClinicalDocument><Record/></ClinicalDocument>", "ヘルスケアの書き出しではありません"},
      {"", "要素がありません"},
  };
  for (const auto& c : cases) {
    const history::DayFigures f = history::readHealthXml(c.xml);
    ASSERT_TRUE(f.error) << c.xml;
    EXPECT_NE(f.error->find(c.error), std::string::npos) << *f.error;
    EXPECT_TRUE(f.weight.days.empty() && f.fat.days.empty() && f.steps.days.empty());
  }
}

TEST(ScaleCsv, ReadsTheHeadersDatesAndEncodingsScalesAndAppsWrite) {
  // Times with a zone go to the computer's zone: Tokyo here.
  const char* const zone = std::getenv("TZ");
  const std::string oldZone = zone ? zone : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  const struct {
    std::string bytes;
    const char* weight;
    const char* fat;
    const char* steps;
    int badRows, badDates;
  } cases[] = {
      // A Japanese scale app's export, in CP932.
      {store::utf8ToCp932("測定日時,体重(kg),体脂肪率(%),歩数\r\n2026年11月1日 7:30,70.0,24.5,8000\r\n"
                          "2026/11/01 6:55,70.6,-,\r\n2026/11/02 21:00,,,9500\r\n2026/11/02,69.95,25.0,9000\r\n"
                          "あした,70,,\r\n"),
       "11/01 70.6, 11/02 70 (3 read; LaterSameDay 1)", "11/01 24.5, 11/02 25 (2 read)",
       "11/01 8000, 11/02 9500 (3 read; LaterSameDay 1)", 0, 1},
      // An app's English one in UTF-8, pounds, ISO stamps in UTC and with an offset.
      {"Date,Weight [lb],Body Fat (%),Steps\n2026-11-01T22:30:00Z,153.2,24.5,\"12,345\"\n"
       "2026-11-01T08:00:00+09:00,150,abc,0\n2026-11-03 07:00,160,,\n2026-11-04,999999,,,\n",
       "11/01 68, 11/02 69.5, 11/03 72.6 (4 read; BadValue 1)", "11/02 24.5 (2 read; BadValue 1)",
       "11/02 12345 (1 read)", 0, 0},
      // Full-width brackets behind a BOM; a decimal comma and a quote left open spoil their rows.
      {"\xEF\xBB\xBF日付,体重（kg）,メモ\r\n2026/11/05,65.25,朝\r\n2026/11/06,68,5,夜\r\n\"2026/11/07,68\r\n",
       "11/05 65.3 (1 read)", " (0 read)", " (0 read)", 2, 0},
  };
  for (const auto& c : cases) {
    const history::DayFigures f = history::readScaleCsv(c.bytes);
    ASSERT_FALSE(f.error) << *f.error;
    EXPECT_EQ(shown(f.weight), c.weight);
    EXPECT_EQ(shown(f.fat), c.fat);
    EXPECT_EQ(shown(f.steps), c.steps);
    EXPECT_EQ(f.rowsSkipped.count(history::Skip::BadRow) ? f.rowsSkipped.at(history::Skip::BadRow) : 0, c.badRows);
    EXPECT_EQ(f.rowsSkipped.count(history::Skip::BadDate) ? f.rowsSkipped.at(history::Skip::BadDate) : 0, c.badDates);
  }
  EXPECT_TRUE(history::readScaleCsv("日付,体脂肪量(kg)\n2026/11/01,15\n").error);  // fat mass is no percentage
  EXPECT_TRUE(history::readScaleCsv("日付,体重\n\x81\n").error);                   // neither UTF-8 nor CP932
  if (zone)
    setenv("TZ", oldZone.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}
