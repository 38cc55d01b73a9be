#include "formats/ogg_info.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/vorbis_headers.h"
#include "io/file.h"
#include "support/cover_bytes_modes.h"
#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using OggFile = TrackFileTest<OGGInfo>;

TEST(OggRealFiles, OggencFileWithVorbiscommentTags) {
  OGGInfo info;
  EXPECT_EQ(info.readFile(fixturePath("formats/vorbis_tags.ogg")), ReadResult::Read);
  EXPECT_TRUE(info.hasTag());
  EXPECT_EQ(info.getPresentTags(), u"Ogg-Comments");
  EXPECT_EQ(info.getBitrate(), u"128");
  EXPECT_EQ(info.getSampleRate(), u"44100");
  EXPECT_EQ(info.getStereoMode(), u"2");
  EXPECT_EQ(info.getTitle(), u"Caf\u00E9 Noir");
  EXPECT_EQ(info.getArtist(), u"Tunora Ensemble");
  EXPECT_EQ(info.getAlbum(), u"Fixtures");
  EXPECT_EQ(info.getTrackNumber(), u"7");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getGenre(), u"Ambient");
  ASSERT_TRUE(info.hasComment());
  EXPECT_EQ(*info.getComment()->line(0), u"made by vorbiscomment");
  EXPECT_FALSE(info.hasCover());
  EXPECT_EQ(info.getCoverData(), nullptr);
}

TEST_F(OggFile, StandardLayoutGivesStreamValuesAndTags) {
  const ByteVector bytes =
      oggVorbisFile(vorbisCommentBlock("vendor", {"ARTIST=A", "GENRE=(17)Rock"}));
  // Identification page of 58 bytes, comment header on the second page.
  ASSERT_EQ(bytes[58], 'O');
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"128");
  EXPECT_EQ(info_.getSampleRate(), u"44100");
  EXPECT_EQ(info_.getStereoMode(), u"2");
  EXPECT_EQ(info_.getArtist(), u"A");
  EXPECT_EQ(info_.getGenre(), u"Rock");
  EXPECT_TRUE(info_.hasTag());
  EXPECT_FALSE(info_.hasCover());
}

TEST_F(OggFile, PictureCommentIsTheCover) {
  EXPECT_EQ(read(oggVorbisFile(vorbisCommentBlock("v", {"TITLE=t", pictureEntry(3, "JPEG")}))),
            ReadResult::Read);
  ASSERT_TRUE(info_.hasCover());
  EXPECT_EQ(*info_.getCoverData(), bytesOf("JPEG"));
}

TEST_F(OggFile, NominalBitRateNotSetShowsUnknown) {
  EXPECT_EQ(read(oggVorbisFile(vorbisCommentBlock("v", {}), 0xFFFFFFFFu)), ReadResult::Read);
  EXPECT_EQ(info_.getBitrate(), u"Unknown");
  EXPECT_EQ(info_.getSampleRate(), u"44100");
}

TEST(VorbisIdentificationHeader, BlockSizesVersionAndFraming) {
  auto fields = [](std::uint8_t blockSizes) {
    ByteVector packet = vorbisIdentification(128000, 44100, 2, blockSizes);
    return ByteVector(packet.begin() + 7, packet.end());
  };
  EXPECT_TRUE(parseVorbisIdentification(fields(0xB8)));
  EXPECT_TRUE(parseVorbisIdentification(fields(0x66)));
  EXPECT_TRUE(parseVorbisIdentification(fields(0xDD)));
  EXPECT_FALSE(parseVorbisIdentification(fields(0x8B)));
  EXPECT_FALSE(parseVorbisIdentification(fields(0xB5)));
  EXPECT_FALSE(parseVorbisIdentification(fields(0xE8)));

  ByteVector badVersion = fields(0xB8);
  badVersion[0] = 1;
  EXPECT_FALSE(parseVorbisIdentification(badVersion));
  ByteVector noFraming = fields(0xB8);
  noFraming.back() = 0;
  EXPECT_FALSE(parseVorbisIdentification(noFraming));
  ByteVector short22 = fields(0xB8);
  short22.pop_back();
  EXPECT_FALSE(parseVorbisIdentification(short22));
}

TEST_F(OggFile, RefusedIdentificationYieldsNothing) {
  const ByteVector bytes =
      concat({oggPage(vorbisIdentification(128000, 44100, 2, 0x8B), 2),
              oggPage(vorbisCommentPacket(vorbisCommentBlock("v", {"ARTIST=A"})))});
  EXPECT_EQ(read(bytes), ReadResult::NotRecognised);
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getPresentTags(), u"None");
  EXPECT_EQ(info_.getSampleRate(), u"Unknown");
  EXPECT_EQ(info_.getArtist(), u"Unknown");
}

TEST_F(OggFile, CommentsWithoutIdentificationAreShownButNoTag) {
  EXPECT_EQ(read(oggPage(vorbisCommentPacket(vorbisCommentBlock("v", {"TITLE=t"})))),
            ReadResult::NotRecognised);
  EXPECT_EQ(info_.getTitle(), u"t");
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getBitrate(), u"Unknown");
}

TEST_F(OggFile, CommentHeaderSpanningPagesIsJoined) {
  // The comment packet runs over three pages; entries after each page break
  // must not take the next page's header for their text.
  const std::string filler = "DESCRIPTION=" + std::string(70000, 'f');
  const ByteVector packet =
      vorbisCommentPacket(vorbisCommentBlock("v", {"ARTIST=before", filler, "TITLE=after"}));
  const std::size_t firstPart = 255 * 255;
  const ByteVector head(packet.begin(), packet.begin() + firstPart);
  const ByteVector tail(packet.begin() + firstPart, packet.end());
  const ByteVector bytes =
      concat({oggPage(vorbisIdentification(96000, 48000, 1), 2), oggPage(head, 0, false),
              oggPage(tail, 1), oggPage(ByteVector(10, 0))});
  EXPECT_EQ(read(bytes), ReadResult::Read);
  EXPECT_EQ(info_.getArtist(), u"before");
  EXPECT_EQ(info_.getTitle(), u"after");
  EXPECT_EQ(info_.getSampleRate(), u"48000");
  EXPECT_EQ(info_.getStereoMode(), u"1");
  EXPECT_EQ(info_.getBitrate(), u"96");
}

TEST_F(OggFile, PacketCutByTheFileOrByAPageThatDoesNotContinueIt) {
  const std::string filler = "X=" + std::string(70000, 'f');
  const ByteVector packet =
      vorbisCommentPacket(vorbisCommentBlock("v", {"ARTIST=before", filler, "TITLE=after"}));
  const ByteVector head(packet.begin(), packet.begin() + 255 * 255);
  const ByteVector tail(packet.begin() + 255 * 255, packet.end());
  const ByteVector ident = oggPage(vorbisIdentification(96000, 48000, 1), 2);
  // The next page starts a new packet instead of continuing this one.
  EXPECT_EQ(read(concat({ident, oggPage(head, 0, false), oggPage(tail, 0)})), ReadResult::Read);
  EXPECT_EQ(info_.getArtist(), u"before");
  EXPECT_EQ(info_.getTitle(), u"Unknown");
  EXPECT_TRUE(info_.hasTag());

  const auto cut = readAnother(concat({ident, oggPage(head, 0, false)}), "cut.ogg");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  EXPECT_EQ(cut->getArtist(), u"before");
}

TEST_F(OggFile, NotOggOrUnopenable) {
  EXPECT_EQ(read(bytesOf("RIFF....WAVEfmt not an ogg file at all")), ReadResult::NotRecognised);
  EXPECT_FALSE(info_.hasTag());
  EXPECT_EQ(info_.getTitle(), u"Unknown");
  EXPECT_EQ(info_.getYear(), u"Unknown");

  OGGInfo missing;
  EXPECT_EQ(missing.readFile(dir_.file("missing.ogg")), ReadResult::NotOpened);
  EXPECT_EQ(missing.getFileName(), dir_.file("missing.ogg"));
}

TEST_F(OggFile, OtherPacketTypesDoNotStallTheWalk) {
  // A setup header (type 5) where the comment header should be: the page is
  // looked at again until the passes run out.
  ByteVector setup{5};
  const ByteVector name = bytesOf("vorbis");
  setup.insert(setup.end(), name.begin(), name.end());
  EXPECT_EQ(read(concat({oggPage(vorbisIdentification(64000, 22050, 2), 2), oggPage(setup)})),
            ReadResult::Read);
  EXPECT_TRUE(info_.hasTag());
  EXPECT_EQ(info_.getBitrate(), u"64");
}

// The listing measures a comment's picture from the fields in front of its
// data and decodes no more; both ways must agree, and with the size here.
class OggPictureSize : public CoverSizeTest<OGGInfo> {
 protected:
  std::size_t measureEntries(std::initializer_list<std::string> entries) {
    return measure(oggVorbisFile(vorbisCommentBlock("v", entries)));
  }
  // A picture whose fields before the data take `fieldsSize` bytes (32 of
  // them fixed, the MIME type "image/jpeg", the rest description).
  static std::string pictureWithFields(std::size_t fieldsSize, std::size_t dataSize) {
    return pictureEntryOf(pictureBody(3, ByteVector(dataSize, 0xAB), "image/jpeg",
                                      std::string(fieldsSize - 42, 'd')));
  }
};

TEST_F(OggPictureSize, TheFrontCoverWinsAndEveryBrokenPictureIsNone) {
  const std::string large(30000, 'J');
  EXPECT_EQ(measureEntries({pictureEntry(4, "back"), pictureEntry(3, large), "TITLE=t"}), 30000u);
  EXPECT_EQ(measured()->getTitle(), u"t");
  EXPECT_EQ(measureEntries({pictureEntry(0, large), pictureEntry(5, "leaflet")}), 30000u);
  EXPECT_EQ(measureEntries({pictureEntry(3, "")}), 0u);
  // A stray character deep in a long text, and padding in its middle.
  std::string stray = pictureEntry(3, large);
  stray[20000] = '-';
  EXPECT_EQ(measureEntries({stray}), 0u);
  std::string padded = pictureEntry(3, large);
  padded[20000] = '=';
  EXPECT_EQ(measureEntries({padded, pictureEntry(6, "other")}), 5u);
  // Data one byte longer than the block, and a MIME length past any block.
  ByteVector longer = pictureBody(3, ByteVector(500, 1));
  longer.pop_back();
  EXPECT_EQ(measureEntries({pictureEntryOf(longer)}), 0u);
  EXPECT_EQ(
      measureEntries({pictureEntryOf(concat({be32(3), be32(0xFFFFFFFF), ByteVector(40, 0)}))}), 0u);
}

TEST_F(OggPictureSize, FieldsAroundTheFirstBytesDecoded) {
  // Fields ending one byte before, at and one byte after the decoded front,
  // and a description of ten kilobytes.
  for (const std::size_t fields : {255u, 256u, 257u, 10042u}) {
    EXPECT_EQ(measureEntries({pictureWithFields(fields, 700)}), 700u) << fields;
    EXPECT_EQ(measureEntries({pictureWithFields(fields, 0)}), 0u) << fields;
  }
}

}  // namespace
}  // namespace tunora
