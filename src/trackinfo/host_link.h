#pragma once
// What the core asks of the player it runs in. The plug-in answers through
// the player's windows; the command-line tool answers from its options; a
// test answers what it likes. Every answer may be "nothing".

#include <optional>
#include <string>

namespace tunora {

class HostLink {
 public:
  virtual ~HostLink() = default;

  // The folder that holds the temporary cover files of the pages, ending in a
  // separator: in the plug-in the player's folder + "plugins\ml_tunora\".
  // Nothing when no such folder can be named; pages then show no covers.
  virtual std::optional<std::u16string> coverFolder() const { return std::nullopt; }
};

}  // namespace tunora
