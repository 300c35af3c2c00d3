// Priority of the program's own process; the synthesizer asks for more than a desktop default.
#pragma once

enum class TPriorityClass { Normal, High };

// Sets the priority of the own process; a request the system refuses is ignored.
void SetProcessPriority(TPriorityClass priority);
