#include "platform/process_priority.h"

#include <sys/resource.h>

namespace {

// "High" is as much as an unprivileged process may usually take.
constexpr int kHighNiceValue = -5;

}  // namespace

void SetProcessPriority(TPriorityClass priority) {
  setpriority(PRIO_PROCESS, 0, priority == TPriorityClass::High ? kHighNiceValue : 0);
}
