#pragma once
// When the player starts a new song it retitles its main window, and a page
// about the song is built when its timer 42 fires afterwards. The main-window
// procedure feeds the title, command and timer messages it sees to this
// tracker and does what the tracker answers.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "hostlink/player_names.h"

namespace tunora {

// A title of this many bytes or more still counts as a change but is not
// kept, so the same long title counts as a change every time it is set.
inline constexpr std::size_t kTitleCapacity = 260;

enum class SongChangeAction {
  None,
  // A new song has settled: build its page if the settings ask for one, then
  // keep the minibrowser on the plug-in's page.
  UpdatePage,
};

class SongChangeTracker {
 public:
  // The text of WM_SETTEXT, compared byte by byte with the kept title.
  void onTitle(std::string_view title);
  // The wParam of WM_COMMAND; only its low 16 bits name the command.
  void onCommand(std::uintptr_t wParam);
  // The timer id of WM_TIMER.
  SongChangeAction onTimer(std::uintptr_t timer);

  bool titleChanged() const { return titleChanged_; }
  bool timerSeen() const { return timerSeen_; }

 private:
  std::string playingTitle_;
  bool titleChanged_ = false;
  bool timerSeen_ = false;
};

}  // namespace tunora
