#include "formats/chunk_texts.h"

#include <array>
#include <optional>
#include <string_view>

#include "formats/iff_chunks.h"

namespace tunora {
namespace {

struct InfoItem {
  std::string_view id;
  ChunkTexts::Field field;
};

constexpr std::array kInfoItems{
    InfoItem{"INAM", ChunkTexts::Field::Title}, InfoItem{"IART", ChunkTexts::Field::Artist},
    InfoItem{"IPRD", ChunkTexts::Field::Album}, InfoItem{"ICRD", ChunkTexts::Field::Year},
    InfoItem{"IGNR", ChunkTexts::Field::Genre}, InfoItem{"ITRK", ChunkTexts::Field::Track},
    InfoItem{"IPRT", ChunkTexts::Field::Track}, InfoItem{"ICMT", ChunkTexts::Field::Comment},
};

}  // namespace

void ChunkTexts::take(Field field, Bytes body) {
  const std::u16string text = chunkText(body);
  if (text.empty()) return;
  present_ = true;
  switch (field) {
    case Field::Title:
      title_ = text;
      break;
    case Field::Artist:
      artist_ = text;
      break;
    case Field::Album:
      album_ = text;
      break;
    case Field::Year:
      year_ = text;
      break;
    case Field::Genre:
      genre_ = text;
      break;
    case Field::Track:
      track_ = text;
      break;
    case Field::Comment:
      appendComment(text, false);
      break;
  }
  normalise();
}

void ChunkTexts::takeRiffInfo(Bytes items) {
  ByteReader reader(items);
  while (const auto id = reader.bytes(4)) {
    const auto size = reader.u32le();
    if (!size) return;
    // An item cut short by the end of the list still gives what it holds.
    const auto body = reader.peek(*size) ? reader.bytes(*size) : reader.bytes(reader.remaining());
    const std::string_view name(reinterpret_cast<const char*>(id->data()), 4);
    for (const auto& item : kInfoItems)
      if (item.id == name) take(item.field, *body);
    if (*size & 1) reader.skip(1);
  }
}

}  // namespace tunora
