#include "cli/command_line.h"

#include <cstring>
#include <iostream>

#include "cli/play_command.h"
#include "cli/render_command.h"
#include "cli/snapshot_command.h"

bool HasOption(int argc, char** argv, const char* option) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], option) == 0) return true;
  }
  return false;
}

void PrintUsage(std::ostream& out) {
  out << "usage: zelmar [SOUND.zmr | STANDARD]   (the editor)\n"
         "       zelmar --version | --help\n"
      << RenderUsage() << PlayUsage() << SnapshotUsage();
}

bool CheckOptions(int argc, char** argv) {
  if (HasOption(argc, argv, "--snapshot")) return true;
  for (int i = 1; i < argc; ++i) {
    if (argv[i][0] == '-' && argv[i][1] == '-') {
      std::cerr << "zelmar: unknown option " << argv[i] << '\n';
      PrintUsage(std::cerr);
      return false;
    }
  }
  return true;
}
