#include "engine/deep_stack.h"

#include <pthread.h>

namespace {

void* RunWork(void* work) {
  (*static_cast<const std::function<void()>*>(work))();
  return nullptr;
}

}  // namespace

void RunOnDeepStack(const std::function<void()>& work) {
  pthread_attr_t attributes;
  pthread_t thread;
  bool started = false;
  if (pthread_attr_init(&attributes) == 0) {
    started = pthread_attr_setstacksize(&attributes, kDeepStackBytes) == 0 &&
              pthread_create(&thread, &attributes, RunWork,
                             const_cast<std::function<void()>*>(&work)) == 0;
    pthread_attr_destroy(&attributes);
  }
  if (started) {
    pthread_join(thread, nullptr);
  } else {
    work();
  }
}
