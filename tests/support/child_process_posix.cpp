#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace tunora::testing {

bool haveProgram(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::stringstream folders(path ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':'))
    if (!folder.empty() && access((folder + "/" + program).c_str(), X_OK) == 0) return true;
  return false;
}

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout,
             const std::function<void()>& between) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    if (between) between();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::unique_ptr<ChildProcess> ChildProcess::start(const std::vector<std::string>& argv,
                                                  const std::vector<std::string>& environment,
                                                  const std::filesystem::path& output,
                                                  const std::filesystem::path& errors) {
  std::vector<std::string> env = environment;
  for (char** entry = environ; *entry; ++entry) env.emplace_back(*entry);
  std::vector<char*> envp, args;
  for (auto& entry : env) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::vector<std::string> argvCopy = argv;
  for (auto& arg : argvCopy) args.push_back(arg.data());
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t pid = 0;
  const int failed = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return nullptr;
  return std::make_unique<ChildProcess>(pid);
}

ChildProcess::~ChildProcess() {
  if (status_) return;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

bool ChildProcess::running() {
  if (status_) return false;
  int status = 0;
  if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return false;
}

std::optional<int> ChildProcess::terminate(std::chrono::milliseconds timeout) {
  if (!running()) return status_;
  kill(pid_, SIGTERM);
  if (waitFor([this] { return !running(); }, timeout)) return status_;
  kill(pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  status_ = -1;
  return std::nullopt;
}

std::unique_ptr<PrivateSessionBus> PrivateSessionBus::start(const std::filesystem::path& folder) {
  if (!haveProgram("dbus-daemon")) return nullptr;
  const auto addressFile = folder / "bus-address";
  auto bus = std::make_unique<PrivateSessionBus>();
  bus->daemon_ = ChildProcess::start({"dbus-daemon", "--session", "--nofork", "--print-address"},
                                     {}, addressFile, folder / "bus-errors");
  if (!bus->daemon_) return nullptr;
  const bool listening = waitFor(
      [&] {
        const std::string text = fileText(addressFile);
        if (text.find('\n') == std::string::npos) return false;
        bus->address_ = text.substr(0, text.find('\n'));
        return true;
      },
      std::chrono::seconds(5));
  if (!listening) return nullptr;
  return bus;
}

std::string fileText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace tunora::testing
