// Work whose recursion grows with the size of a patch (the activation walk follows a chain of
// modules one call per module) runs on a thread of its own with a deep stack, so that a chain
// of a million modules cannot overflow the caller's stack. The caller waits for the work, which
// therefore may read whatever the caller may; it must not touch widgets.
#pragma once

#include <cstddef>
#include <functional>

// Enough for about a million nested activation calls; only the pages the work touches are
// ever taken from memory.
inline constexpr std::size_t kDeepStackBytes = std::size_t{512} << 20;

// Runs `work` to its end on a thread with a stack of kDeepStackBytes; runs it on the calling
// thread when the system refuses such a thread.
void RunOnDeepStack(const std::function<void()>& work);
