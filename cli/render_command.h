// The command line of the headless renderer: `zelmar --render SOUND --out OUT.wav [options]`.
#pragma once

// Runs the command; returns the process exit status (0 done, 1 render failed, 2 bad usage).
int RunRenderCommand(int argc, char** argv);

// The options of the render command, for the program's help text.
const char* RenderUsage();
