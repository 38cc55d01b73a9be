#pragma once
// The track that reads nothing itself: it asks the player for the stream
// properties and the tags of the file the player is playing. The page uses it
// for a single playing file whose type no class reads or whose type the user
// switched off.

#include <optional>
#include <string>
#include <string_view>

#include "hostlink/host_link.h"
#include "trackinfo/track_info.h"

namespace tunora {

class HostTrackInfo : public TrackInfo {
 public:
  // The stream texts stay empty until readFile has asked the player.
  explicit HostTrackInfo(const HostLink& host);

  // Asks the player; without one the defaults stay and nothing was opened.
  ReadResult readFile(const std::u16string& path) override;
  // Reduced in place to the first four digits in a row on every call, as the
  // player hands back whatever was stored ("2004-05-01").
  const std::u16string& getYear() override;
  // Stripped in place of a leading "(17)" number group on every call.
  const std::u16string& getGenre() override;

 private:
  // The player's answer to one key; nothing for no answer or an empty one.
  std::optional<std::u16string> ask(std::string_view key) const;
  // Comment and lyrics: taken unless the player answers "unknown" in any case.
  std::optional<TextLines> askLines(std::string_view key) const;

  const HostLink& host_;
};

}  // namespace tunora
