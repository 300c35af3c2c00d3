// Process entry of the graphical program, which `zelmar` starts for the editor and --snapshot.
#include "app/gui_program.h"
#include "cli/command_line.h"
#include "cli/snapshot_command.h"

int main(int argc, char** argv) {
  if (HasOption(argc, argv, "--snapshot")) return RunSnapshotCommand(argc, argv);
  if (!CheckOptions(argc, argv)) return 2;
  return RunGuiProgram(argc, argv);
}
