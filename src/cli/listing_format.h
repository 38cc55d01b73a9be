#pragma once
// The line that `tunora tags --format` writes for each file: text with the
// tokens of templates, "<$artist$> - <$songname$>", each replaced by the
// field's value as the JSON listing has it. Every field of the field table
// has its token (the listing's keys too, "<$hascover$>"), "<$url:name$>"
// gives the value percent-encoded, and other text, unknown tokens included,
// stays as written.

#include <string>
#include <string_view>
#include <vector>

#include "trackinfo/track_fields.h"

namespace tunora {

class ListingFormat {
 public:
  explicit ListingFormat(std::u16string_view format);

  // The line without its line break, as UTF-8. Control characters of the
  // values are written escaped ("\x0a"), so a comment's lines stay on the
  // file's one line and nothing from a tag can steer a terminal.
  std::string line(const Track& track) const;

 private:
  struct Piece {
    std::u16string literal;
    const TrackField* field = nullptr;
    bool urlEncoded = false;
  };
  std::vector<Piece> pieces_;
};

}  // namespace tunora
