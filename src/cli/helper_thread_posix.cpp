#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <system_error>

#include "cli/helper_thread.h"

namespace tunora {

struct HelperThread::Running {
  std::function<void()> body;
  // The processors the caller may use, which the thread takes back once it
  // runs.
  cpu_set_t allowed;
  pthread_t thread;
};

namespace {

void* runHelper(void* argument) {
  auto& running = *static_cast<HelperThread::Running*>(argument);
  if (CPU_COUNT(&running.allowed) > 0)
    pthread_setaffinity_np(pthread_self(), sizeof running.allowed, &running.allowed);
  running.body();
  return nullptr;
}

}  // namespace

HelperThread::HelperThread(std::function<void()> body) : running_(std::make_unique<Running>()) {
  running_->body = std::move(body);
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  // Any allowed processor but the caller's; with no other, anywhere.
  if (sched_getaffinity(0, sizeof running_->allowed, &running_->allowed) == 0) {
    cpu_set_t others = running_->allowed;
    if (const int current = sched_getcpu(); current >= 0) CPU_CLR(current, &others);
    if (CPU_COUNT(&others) > 0) pthread_attr_setaffinity_np(&attributes, sizeof others, &others);
  } else {
    CPU_ZERO(&running_->allowed);
  }
  const int failed = pthread_create(&running_->thread, &attributes, runHelper, running_.get());
  pthread_attr_destroy(&attributes);
  if (failed != 0) throw std::system_error(failed, std::generic_category(), "pthread_create");
}

HelperThread::~HelperThread() {
  if (running_) pthread_join(running_->thread, nullptr);
}

HelperThread::HelperThread(HelperThread&&) noexcept = default;

std::size_t usableProcessors() {
  cpu_set_t allowed;
  if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return 1;
  return static_cast<std::size_t>(std::max(CPU_COUNT(&allowed), 1));
}

}  // namespace tunora
