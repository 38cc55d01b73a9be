#include "cli/progress_line.h"

#include "cli/terminal.h"

namespace tunora {
namespace {

using namespace std::chrono_literals;

constexpr auto kQuietTime = 1s;
constexpr auto kRedrawInterval = 100ms;

}  // namespace

ProgressLine::ProgressLine(std::FILE* stream, std::size_t total)
    : ProgressLine(stream, total, isTerminal(stream), std::chrono::steady_clock::now) {}

ProgressLine::ProgressLine(std::FILE* stream, std::size_t total, bool toTerminal, Clock clock)
    : stream_(toTerminal ? stream : nullptr),
      total_(total),
      clock_(std::move(clock)),
      start_(clock_()) {}

ProgressLine::~ProgressLine() {
  finish();
}

void ProgressLine::advance() {
  ++done_;
  if (stream_ == nullptr) return;
  const auto now = clock_();
  if (now - start_ < kQuietTime) return;
  if (onScreen_ && now - lastDrawn_ < kRedrawInterval) return;
  draw(now);
}

void ProgressLine::clear() {
  if (!onScreen_) return;
  write("\r" + std::string(drawnWidth_, ' ') + "\r");
  onScreen_ = false;
}

void ProgressLine::finish() {
  if (!shown_) return;
  draw(clock_());
  write("\n");
  // Shown once is enough: a second finish, or the destructor after it, stays quiet.
  shown_ = false;
  onScreen_ = false;
  stream_ = nullptr;
}

void ProgressLine::draw(std::chrono::steady_clock::time_point now) {
  const std::chrono::duration<double> elapsed = now - start_;
  const double rate = elapsed.count() > 0 ? static_cast<double>(done_) / elapsed.count() : 0;
  char rateText[32];
  std::snprintf(rateText, sizeof rateText, "%.0f", rate);
  std::string line =
      std::to_string(done_) + "/" + std::to_string(total_) + " files, " + rateText + " files/s";
  const std::size_t width = line.size();
  // Spaces cover what a longer line drawn before left.
  if (width < drawnWidth_) line.append(drawnWidth_ - width, ' ');
  write("\r" + line);
  drawnWidth_ = width;
  lastDrawn_ = now;
  shown_ = true;
  onScreen_ = true;
}

void ProgressLine::write(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream_);
  std::fflush(stream_);
}

}  // namespace tunora
