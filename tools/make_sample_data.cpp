// Writes the delivered sample diary into a new or empty folder:
//   make_sample_data FOLDER
// The committed data/sample is this program's output; regenerate it with
//   rm -rf data/sample && build/make_sample_data data/sample
#include <exception>
#include <iostream>

#include "sample_data.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_sample_data FOLDER\n";
    return 2;
  }
  try {
    diarygen::InFolder in(argv[1]);
    diarygen::writeSampleData();
  } catch (const std::exception& e) {
    std::cerr << "make_sample_data: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
