#include <windows.h>

#include <bit>
#include <thread>

#include "cli/helper_thread.h"

namespace tunora {

// Windows places a new thread on an idle processor by itself.
struct HelperThread::Running {
  std::jthread thread;
};

HelperThread::HelperThread(std::function<void()> body)
    : running_(std::make_unique<Running>(Running{std::jthread(std::move(body))})) {}

HelperThread::~HelperThread() = default;
HelperThread::HelperThread(HelperThread&&) noexcept = default;

std::size_t usableProcessors() {
  DWORD_PTR process = 0;
  DWORD_PTR system = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || process == 0) return 1;
  return static_cast<std::size_t>(std::popcount(static_cast<std::uintptr_t>(process)));
}

}  // namespace tunora
