// Process entry of the synthesizer.
#include <cstring>
#include <iostream>

#include "app/gui_program.h"
#include "app/play_command.h"
#include "app/render_command.h"
#include "app/snapshot_command.h"
#include "version.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "usage: zelmar [SOUND.zmr | STANDARD]   (the editor)\n"
         "       zelmar --version | --help\n"
      << RenderUsage() << PlayUsage() << SnapshotUsage();
}

bool Has(int argc, char** argv, const char* option) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (Has(argc, argv, "--version")) {
    std::cout << "zelmar " << ZELMAR_VERSION << '\n';
    return 0;
  }
  if (Has(argc, argv, "--help")) {
    PrintUsage(std::cout);
    return 0;
  }
  if (Has(argc, argv, "--render")) return RunRenderCommand(argc, argv);
  if (Has(argc, argv, "--play")) return RunPlayCommand(argc, argv);
  if (Has(argc, argv, "--snapshot")) return RunSnapshotCommand(argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-' && argv[i][1] == '-') {
      std::cerr << "zelmar: unknown option " << argv[i] << '\n';
      PrintUsage(std::cerr);
      return 2;
    }
  }
  return RunGuiProgram(argc, argv);
}
