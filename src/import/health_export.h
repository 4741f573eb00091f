#pragma once
// The export of all health data that Apple's Health app writes: a zip holding one XML file
// with a HealthData root (names differ by language), read as a stream, a piece at a time.
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string_view>

#include "import/day_figures.h"

namespace history {

// Reads a zip holding the export, or the XML itself. Records of body mass (kg, lb), body fat
// percentage (a fraction of 1 with unit %) and step count are taken; the day of a record is
// the local day its startDate names ("2026-11-01 07:30:12 +0900" is 2026/11/01 wherever the
// computer is). Weights and body fat: the first of the day; steps: the day's sum of the source
// that counted most.
DayFigures readHealthExport(const std::filesystem::path& file);

// The XML alone, given in pieces as they are read.
class HealthXmlReader {
 public:
  HealthXmlReader();
  ~HealthXmlReader();
  HealthXmlReader(const HealthXmlReader&) = delete;
  HealthXmlReader& operator=(const HealthXmlReader&) = delete;
  // False once the XML is damaged or no Health export; then finish() carries the error.
  bool feed(const char* data, size_t size, bool last);
  DayFigures finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// A whole XML held in memory.
DayFigures readHealthXml(std::string_view xml);

}  // namespace history
