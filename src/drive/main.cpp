#include <iostream>

#include "drive/driver.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: zorvel-drive DATA_FOLDER < script\n";
    return 2;
  }
  std::ios::sync_with_stdio(false);
  return drive::runScript(argv[1], std::cin, std::cout, std::cerr);
}
