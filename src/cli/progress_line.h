#pragma once
// "120/4000 files, 85 files/s" on one line of a terminal while many files are
// read. It appears only when the work has taken longer than a second, so that
// quick runs stay quiet, and only on a terminal, so that logs and pipes never
// receive it. It is redrawn in place a few times a second and ends with a
// newline once it has been shown. It erases itself with spaces rather than
// escape sequences, which not every Windows console understands.

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

namespace tunora {

class ProgressLine {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // `stream` may be null: nothing is shown then.
  ProgressLine(std::FILE* stream, std::size_t total);
  // For tests: the terminal check and the clock given.
  ProgressLine(std::FILE* stream, std::size_t total, bool toTerminal, Clock clock);
  ~ProgressLine();

  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  // One more file done.
  void advance();
  // Takes the line off the screen, so that a message can be written there;
  // the next advance draws it again.
  void clear();
  // Leaves the final count on its own line, if the line was shown at all.
  void finish();

 private:
  void draw(std::chrono::steady_clock::time_point now);
  void write(const std::string& text);

  std::FILE* stream_;
  std::size_t total_;
  std::size_t done_ = 0;
  Clock clock_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point lastDrawn_;
  std::size_t drawnWidth_ = 0;
  bool shown_ = false;
  bool onScreen_ = false;
};

}  // namespace tunora
