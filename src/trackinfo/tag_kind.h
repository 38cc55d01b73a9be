#pragma once
// The kinds of tag the readers find, and the word each one shows in the list
// of present tags on the pages and in the tool's output. The words are kept as
// pages have always shown them: a Lyrics3 block is "L3v2", the MP4 item list
// "iTunes-Metadata", and the Vorbis comments say which container holds them
// (or, in Ogg Opus, which stream).

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace tunora {

enum class TagKind {
  ID3v1,
  ID3v2,
  Lyrics3,
  APEv2,
  MP4Metadata,
  FLACComments,
  OggComments,
  OpusComments,
  RiffInfo,
  AiffText,
};

struct TagKindName {
  TagKind kind;
  std::u16string_view name;
};

inline constexpr std::array kTagKindNames{
    TagKindName{TagKind::ID3v1, u"ID3v1"},
    TagKindName{TagKind::ID3v2, u"ID3v2"},
    TagKindName{TagKind::Lyrics3, u"L3v2"},
    TagKindName{TagKind::APEv2, u"APEv2"},
    TagKindName{TagKind::MP4Metadata, u"iTunes-Metadata"},
    TagKindName{TagKind::FLACComments, u"FLAC-Comments"},
    TagKindName{TagKind::OggComments, u"Ogg-Comments"},
    TagKindName{TagKind::OpusComments, u"Opus-Comments"},
    TagKindName{TagKind::RiffInfo, u"RIFF-INFO"},
    TagKindName{TagKind::AiffText, u"AIFF-Text"},
};

constexpr std::u16string_view tagKindName(TagKind kind) {
  for (const auto& entry : kTagKindNames)
    if (entry.kind == kind) return entry.name;
  return {};
}

// The words of the kinds, in the order given, joined by "," without spaces;
// "None" for no kind at all.
std::u16string presentTagsText(std::span<const TagKind> present);

}  // namespace tunora
