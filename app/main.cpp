// Process entry of the synthesizer.
#include <cstring>
#include <iostream>

#include "version.h"

namespace {

void PrintUsage(std::ostream& out) { out << "Usage: zelmar [--version] [--help]\n"; }

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << "zelmar " << ZELMAR_VERSION << '\n';
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0) {
      PrintUsage(std::cout);
      return 0;
    }
  }
  PrintUsage(std::cerr);
  return 2;
}
