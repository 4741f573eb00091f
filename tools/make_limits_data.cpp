// Writes a diary at the design limits into a new or empty folder, for benchmarks and manual tests:
//   make_limits_data FOLDER
// Its logs end on 2026/12/06; start the program with the clock on 2026/12/07 to see them whole.
#include <exception>
#include <iostream>

#include "limits_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_limits_data FOLDER\n";
    return 2;
  }
  try {
    diarygen::InFolder in(argv[1]);
    diarygen::writeLimitsData();
  } catch (const std::exception& e) {
    std::cerr << "make_limits_data: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
