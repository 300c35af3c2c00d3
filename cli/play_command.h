// The command line of real-time play: `zelmar --play SOUND [--seconds S]`.
#pragma once

// Runs the command; returns the process exit status: 0 played and stopped, 1 the sound cannot
// play (unreadable, no speaker opened, the engine refused), 2 bad usage, 3 the engine stopped
// itself because the computer could not keep up.
int RunPlayCommand(int argc, char** argv);

// The options of the play command, for the program's help text.
const char* PlayUsage();
