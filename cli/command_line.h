// What both programs of the synthesizer know of the command line: the options, the usage text,
// and how the headless program finds and starts the graphical one.
#pragma once

#include <iosfwd>

// The graphical program's file name, and where an installed one lives relative to `zelmar`.
inline constexpr char kGraphicalProgramName[] = "zelmar-gui";
inline constexpr char kInstalledGraphicalProgram[] = "../libexec/zelmar/zelmar-gui";

// Whether `option` is one of the arguments.
bool HasOption(int argc, char** argv, const char* option);
// Every command's usage.
void PrintUsage(std::ostream& out);
// False, with the usage on standard error, when an argument is an option no command knows.
bool CheckOptions(int argc, char** argv);
