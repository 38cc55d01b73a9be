#pragma once
// A player that answers the core's questions from its members: what it plays,
// its stream properties and its file information by key. A key it does not
// hold gets no answer.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "hostlink/host_link.h"

namespace tunora::testing {

struct FakePlayer : HostLink {
  bool present = true;
  std::optional<std::u16string> playing;
  std::uint32_t sampleRateKHz = 0;
  std::uint32_t bitrateKbps = 0;
  std::uint32_t channels = 0;
  std::map<std::string, std::u16string, std::less<>> info;
  // The keys asked, in order, with the file they were asked of.
  mutable std::vector<std::pair<std::u16string, std::string>> asked;

  bool playerPresent() const override { return present; }
  std::optional<std::u16string> playingFile() const override {
    return present ? playing : std::nullopt;
  }
  std::uint32_t streamProperty(StreamProperty property) const override {
    switch (property) {
      case StreamProperty::SampleRateKHz:
        return sampleRateKHz;
      case StreamProperty::BitrateKbps:
        return bitrateKbps;
      case StreamProperty::Channels:
        return channels;
    }
    return 0;
  }
  std::optional<std::u16string> fileInfo(std::u16string_view file,
                                         std::string_view key) const override {
    asked.emplace_back(std::u16string(file), std::string(key));
    const auto found = info.find(key);
    if (found == info.end()) return std::nullopt;
    return found->second;
  }
};

}  // namespace tunora::testing
