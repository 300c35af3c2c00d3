// Process entry of the synthesizer. The headless commands (--render, --play, --version, --help)
// run in this program, which loads no graphical library; the editor and --snapshot are the
// graphical program, which this one becomes by exec with the same command line.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/command_line.h"
#include "cli/play_command.h"
#include "cli/render_command.h"
#include "platform/paths.h"
#include "version.h"

namespace {

// The graphical program beside this one (the build folder) or in the private folder of an
// installed one; empty when there is none.
std::filesystem::path GraphicalProgram(const std::filesystem::path& self) {
  const std::filesystem::path folder = self.parent_path();
  for (const std::filesystem::path& candidate :
       {folder / kGraphicalProgramName, folder / kInstalledGraphicalProgram}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate;
  }
  return {};
}

int RunGraphicalProgram(char** argv) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  const std::filesystem::path program = error ? std::filesystem::path() : GraphicalProgram(self);
  if (program.empty()) {
    std::cerr << "zelmar: the graphical program " << kGraphicalProgramName
              << " is not installed beside this one\n";
    return 1;
  }
  // The graphical program registers this command, not itself, as the one that opens sounds.
  setenv(kCommandVariable, self.c_str(), 1);
  execv(program.c_str(), argv);
  std::cerr << "zelmar: cannot start " << program << ": " << std::strerror(errno) << '\n';
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (HasOption(argc, argv, "--version")) {
    std::cout << "zelmar " << ZELMAR_VERSION << '\n';
    return 0;
  }
  if (HasOption(argc, argv, "--help")) {
    PrintUsage(std::cout);
    return 0;
  }
  if (HasOption(argc, argv, "--render")) return RunRenderCommand(argc, argv);
  if (HasOption(argc, argv, "--play")) return RunPlayCommand(argc, argv);
  if (!CheckOptions(argc, argv)) return 2;
  return RunGraphicalProgram(argv);
}
