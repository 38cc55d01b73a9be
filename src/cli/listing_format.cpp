#include "cli/listing_format.h"

#include "cli/listed_value.h"
#include "cli/plain_text.h"
#include "text/conversions.h"
#include "text/percent_encoding.h"

namespace tunora {
namespace {

constexpr std::u16string_view kUrlPrefix = u"url:";

// The field that "<$name$>" names: by its template token, or by its key
// where it has none.
const TrackField* fieldNamed(std::u16string_view name) {
  for (const TrackField& field : trackFields()) {
    const std::u16string_view token = field.token;
    const bool byToken = token.size() == name.size() + 4 && token.substr(2, name.size()) == name;
    const bool byKey = token.empty() && name.size() == field.key.size() &&
                       std::equal(name.begin(), name.end(), field.key.begin());
    if (byToken || byKey) return &field;
  }
  return nullptr;
}

}  // namespace

ListingFormat::ListingFormat(std::u16string_view format) {
  Piece literal;
  while (!format.empty()) {
    const std::size_t open = format.find(u"<$");
    const std::size_t close = open == format.npos ? format.npos : format.find(u"$>", open + 2);
    if (close == format.npos) {
      literal.literal += format;
      break;
    }
    std::u16string_view name = format.substr(open + 2, close - open - 2);
    const bool urlEncoded = name.starts_with(kUrlPrefix);
    if (urlEncoded) name.remove_prefix(kUrlPrefix.size());
    const TrackField* field = fieldNamed(name);
    if (field == nullptr) {
      // Not a token: "<$" is text, and the search goes on right after it,
      // where a token may still begin.
      literal.literal += format.substr(0, open + 2);
      format.remove_prefix(open + 2);
      continue;
    }
    literal.literal += format.substr(0, open);
    pieces_.push_back(std::move(literal));
    literal = Piece{};
    pieces_.push_back(Piece{{}, field, urlEncoded});
    format.remove_prefix(close + 2);
  }
  pieces_.push_back(std::move(literal));
}

std::string ListingFormat::line(const Track& track) const {
  std::string line;
  std::u16string scratch;
  for (const Piece& piece : pieces_) {
    if (piece.field == nullptr) {
      line += convertUTF16ToUTF8(piece.literal);
      continue;
    }
    const ListedValue value = listedValue(*piece.field, track, scratch);
    if (value.kind == ListedValue::Kind::None) continue;
    line += escapeControls(
        convertUTF16ToUTF8(piece.urlEncoded ? encodeUrlComponent(value.text) : value.text));
  }
  return line;
}

}  // namespace tunora
