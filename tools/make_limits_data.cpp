// Writes a diary at the design limits into a new or empty folder, for benchmarks and manual tests:
//   make_limits_data [--twenty-years] FOLDER
// --twenty-years: the same diary with twenty years of daily weights (7,305) in its weight log.
// Its logs end on 2026/12/06; start the program with the clock on 2026/12/07 to see them whole.
#include <exception>
#include <iostream>
#include <string>

#include "limits_data.h"

int main(int argc, char** argv) {
  const bool twentyYears = argc == 3 && std::string(argv[1]) == "--twenty-years";
  if (argc != 2 && !twentyYears) {
    std::cerr << "usage: make_limits_data [--twenty-years] FOLDER\n";
    return 2;
  }
  try {
    diarygen::InFolder in(argv[argc - 1]);
    diarygen::writeLimitsData();
    if (twentyYears) diarygen::writeTwentyYearWeights();
  } catch (const std::exception& e) {
    std::cerr << "make_limits_data: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
