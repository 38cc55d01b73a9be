#pragma once
// Programs a test starts (a private session bus, a player, the tool itself),
// each ended by its process id when the test is done with it.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tunora::testing {

// True when `program` is found on PATH.
bool haveProgram(const std::string& program);

// Polls `done` every 20 ms until it holds or `timeout` passed; `between` runs
// between polls (a test's own bus, for one).
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout,
             const std::function<void()>& between = {});

class ChildProcess {
 public:
  // Starts `argv` with `environment` added to ours; its output and errors go
  // to the files. Nothing when it cannot be started.
  static std::unique_ptr<ChildProcess> start(const std::vector<std::string>& argv,
                                             const std::vector<std::string>& environment,
                                             const std::filesystem::path& output,
                                             const std::filesystem::path& errors);
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  bool running();
  // Sends SIGTERM and waits for the end: its exit status, or nothing when it
  // did not exit by itself within the time (it is then killed).
  std::optional<int> terminate(std::chrono::milliseconds timeout);

 private:
  pid_t pid_;
  std::optional<int> status_;
};

// A session bus of our own from dbus-daemon; nothing when it cannot start.
class PrivateSessionBus {
 public:
  static std::unique_ptr<PrivateSessionBus> start(const std::filesystem::path& folder);
  const std::string& address() const { return address_; }
  // "DBUS_SESSION_BUS_ADDRESS=..." for the programs that use it.
  std::string environment() const { return "DBUS_SESSION_BUS_ADDRESS=" + address_; }

 private:
  std::unique_ptr<ChildProcess> daemon_;
  std::string address_;
};

// The text of a file, empty when it cannot be read.
std::string fileText(const std::filesystem::path& path);

}  // namespace tunora::testing
