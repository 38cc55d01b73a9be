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

}  // namespace tunora
