#include "formats/asf_info.h"

#include <gtest/gtest.h>

#include <string>

#include "support/format_bytes.h"
#include "support/temp_dir.h"
#include "support/track_file_test.h"

namespace tunora {
namespace {

using namespace testing;

using ASFFile = TrackFileTest<ASFInfo>;

TEST(ASFRealFiles, FfmpegWmaWithMutagenAttributes) {
  // mutagen-inspect: 32000 bps, 22050 Hz, 1 channel, 0.51 seconds; ffprobe
  // gives the same rate, channels and bit rate.
  ASFInfo info;
  ASSERT_EQ(info.readFile(fixturePath("formats/wmav2_attributes_pictures.wma")), ReadResult::Read);
  const Track track = info.toTrack();
  EXPECT_EQ(track.stream.milliseconds, 510u);
  EXPECT_EQ(info.getSampleRate(), u"22050");
  EXPECT_EQ(info.getStereoMode(), u"1");
  EXPECT_EQ(info.getBitrate(), u"32");
  EXPECT_EQ(info.getPresentTags(), u"ASF-Attributes");
  EXPECT_EQ(info.getTitle(), u"Caf\u00e9 Noir");
  // Repeated in the Metadata Library by the tagger: one value; the
  // library's values come after those of the description objects.
  EXPECT_EQ(info.getArtist(), u"Tunora Ensemble");
  EXPECT_EQ(info.getAlbum(), u"Fixtures");
  EXPECT_EQ(info.getYear(), u"2004");
  EXPECT_EQ(info.getGenre(), u"Ambient");
  EXPECT_EQ(info.getTrackNumber(), u"7");
  EXPECT_EQ(track.albumArtist, u"Various Artists");
  EXPECT_EQ(track.discNumber, u"1/2");
  EXPECT_EQ(track.composer, u"First Composer; Second Composer");
  ASSERT_NE(info.getComment(), nullptr);
  EXPECT_EQ(info.getComment()->line(0), u"made by ffmpeg");
  ASSERT_NE(info.getLyrics(), nullptr);
  EXPECT_EQ(info.getLyrics()->lineCount(), 2u);
  // The front cover (mutagen: 658 bytes with its 29-byte head), not the
  // back cover stored first.
  EXPECT_EQ(info.getCoverSize(), 658u - 29u);
}

ByteVector le16(std::uint16_t value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8)};
}

ByteVector utf16(std::u16string_view text, bool nul = true) {
  ByteVector bytes;
  for (const char16_t unit : text) concat({bytes, le16(unit)}).swap(bytes);
  if (nul) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

// The stored form of the GUIDs the tests use.
ByteVector guid(std::string_view text) {
  ByteVector bytes;
  for (std::size_t at = 0; at < text.size(); at += 2)
    bytes.push_back(
        static_cast<std::uint8_t>(std::stoi(std::string(text.substr(at, 2)), nullptr, 16)));
  return bytes;
}
const ByteVector kHeader = guid("3026B2758E66CF11A6D900AA0062CE6C");
const ByteVector kFileProperties = guid("A1DCAB8C47A9CF118EE400C00C205365");
const ByteVector kStreamProperties = guid("9107DCB7B7A9CF118EE600C00C205365");
const ByteVector kAudio = guid("409E69F84D5BCF11A8FD00805F5C442B");
const ByteVector kExtendedContent = guid("40A4D0D207E3D21197F000A0C95EA850");
const ByteVector kHeaderExtension = guid("B503BF5F2EA9CF118EE300C00C205365");
const ByteVector kMetadataLibrary = guid("941C23449894D149A1411D134E457054");

ByteVector object(const ByteVector& id, const ByteVector& body) {
  return concat({id, le32(static_cast<std::uint32_t>(body.size() + 24)), le32(0), body});
}

ByteVector asfHeader(std::initializer_list<ByteVector> objects) {
  const ByteVector body = concat(objects);
  return concat({kHeader,
                 le32(static_cast<std::uint32_t>(body.size() + 30)),
                 le32(0),
                 le32(static_cast<std::uint32_t>(objects.size())),
                 {1, 2},
                 body});
}

ByteVector fileProperties(std::uint64_t playDuration, std::uint64_t preroll) {
  return object(kFileProperties,
                concat({ByteVector(40, 0), le32(static_cast<std::uint32_t>(playDuration)),
                        le32(static_cast<std::uint32_t>(playDuration >> 32)), ByteVector(8, 0),
                        le32(static_cast<std::uint32_t>(preroll)), le32(0), ByteVector(16, 0)}));
}

ByteVector audioStream(std::uint16_t channels, std::uint32_t rate, std::uint32_t bytesPerSecond) {
  const ByteVector wave = concat(
      {le16(0x161), le16(channels), le32(rate), le32(bytesPerSecond), le16(1), le16(16), le16(0)});
  return object(kStreamProperties, concat({kAudio, ByteVector(16 + 8, 0),
                                           le32(static_cast<std::uint32_t>(wave.size())), le32(0),
                                           ByteVector(6, 0), wave}));
}

ByteVector attribute(std::u16string_view name, std::uint16_t type, const ByteVector& value) {
  const ByteVector named = utf16(name);
  return concat({le16(static_cast<std::uint16_t>(named.size())), named, le16(type),
                 le16(static_cast<std::uint16_t>(value.size())), value});
}

ByteVector extendedContent(std::uint16_t count, std::initializer_list<ByteVector> attributes) {
  return object(kExtendedContent, concat({le16(count), concat(attributes)}));
}

ByteVector picture(std::uint8_t type, std::size_t size) {
  return attribute(u"WM/Picture", 1,
                   concat({{type},
                           le32(static_cast<std::uint32_t>(size)),
                           utf16(u"image/png"),
                           utf16(u""),
                           ByteVector(size, type)}));
}

TEST_F(ASFFile, DurationIsPlayTimeLessPreroll) {
  const struct {
    std::uint64_t playDuration;  // in 100 ns
    std::uint64_t preroll;       // in ms
    std::optional<std::uint64_t> milliseconds;
  } cases[] = {
      {30'000'000, 1000, 2000},
      {10'010'000, 1000, 1},
      {10'000'000, 1000, std::nullopt},
      {9'990'000, 1000, std::nullopt},
      {std::uint64_t{1} << 40, 0, (std::uint64_t{1} << 40) / 10000},
  };
  for (const auto& c : cases) {
    const auto info = readAnother(asfHeader({fileProperties(c.playDuration, c.preroll)}), "a.wma");
    EXPECT_EQ(info->toTrack().stream.milliseconds, c.milliseconds) << c.playDuration;
  }
}

TEST_F(ASFFile, FirstAudioStreamGivesRateChannelsAndBitRate) {
  read(asfHeader({audioStream(2, 44100, 16000), audioStream(1, 8000, 1000)}));
  EXPECT_EQ(info_.getSampleRate(), u"44100");
  EXPECT_EQ(info_.getStereoMode(), u"2");
  EXPECT_EQ(info_.getBitrate(), u"128");
  EXPECT_EQ(info_.getPresentTags(), u"None");
}

TEST_F(ASFFile, AttributeValuesAndTypes) {
  const struct {
    const char* name;
    ByteVector attributes;
    const char16_t* track;
  } cases[] = {
      {"text", attribute(u"WM/TrackNumber", 0, utf16(u"3/9")), u"3/9"},
      {"text without NUL", attribute(u"WM/TrackNumber", 0, utf16(u"4", false)), u"4"},
      {"text with odd byte", attribute(u"WM/TrackNumber", 0, concat({utf16(u"5", false), {9}})),
       u"5"},
      {"DWORD", attribute(u"WM/TrackNumber", 3, le32(12)), u"12"},
      {"WORD", attribute(u"WM/TrackNumber", 5, le16(13)), u"13"},
      {"short DWORD", attribute(u"WM/TrackNumber", 3, le16(12)), u"Unknown"},
      {"byte array", attribute(u"WM/TrackNumber", 1, {1, 2}), u"Unknown"},
      {"empty text", attribute(u"WM/TrackNumber", 0, utf16(u"")), u"Unknown"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto info = readAnother(asfHeader({extendedContent(1, {c.attributes})}), "a.wma");
    EXPECT_EQ(info->getTrackNumber(), c.track);
  }
}

TEST_F(ASFFile, RepeatedValuesJoinedOnceEachUpToAThousand) {
  const auto composers = [](int count) {
    ByteVector attributes;
    for (int i = 1; i <= count; ++i) {
      const std::string number = std::to_string(i);
      attributes =
          concat({attributes, attribute(u"WM/Composer", 0,
                                        utf16(std::u16string(number.begin(), number.end())))});
    }
    const ByteVector repeated = attribute(u"WM/Composer", 0, utf16(u"1"));
    return asfHeader(
        {extendedContent(static_cast<std::uint16_t>(count + 1), {attributes, repeated})});
  };
  const struct {
    int count;
    std::size_t kept;
    const char16_t* last;
  } cases[] = {{2, 2, u"2"}, {1000, 1000, u"1000"}, {1001, 1000, u"1000"}};
  for (const auto& c : cases) {
    const auto composer = readAnother(composers(c.count), "many.wma")->toTrack().composer;
    ASSERT_TRUE(composer) << c.count;
    std::size_t separators = 0;
    for (std::size_t at = composer->find(u"; "); at != std::u16string::npos;
         at = composer->find(u"; ", at + 1))
      ++separators;
    EXPECT_EQ(separators + 1, c.kept) << c.count;
    EXPECT_TRUE(composer->ends_with(std::u16string(u"; ") + c.last)) << c.count;
  }
}

TEST_F(ASFFile, FrontCoverBeforeOtherPictures) {
  const struct {
    ByteVector pictures;
    std::size_t size;
  } cases[] = {
      {concat({picture(4, 10), picture(3, 20), picture(3, 30)}), 20},
      {concat({picture(3, 20), picture(4, 10)}), 20},
      {concat({picture(0, 7), picture(4, 10)}), 7},
  };
  for (const auto& c : cases) {
    const auto info = readAnother(asfHeader({extendedContent(3, {c.pictures})}), "a.wma");
    EXPECT_EQ(info->getCoverSize(), c.size);
    ASSERT_NE(info->getCoverData(), nullptr);
    EXPECT_EQ(info->getCoverData()->size(), c.size);
  }
}

TEST_F(ASFFile, MetadataLibraryInsideTheHeaderExtension) {
  const ByteVector record =
      concat({le16(0), le16(0), le16(static_cast<std::uint16_t>(utf16(u"WM/Composer").size())),
              le16(0), le32(static_cast<std::uint32_t>(utf16(u"Bach").size())),
              utf16(u"WM/Composer"), utf16(u"Bach")});
  const ByteVector library = object(kMetadataLibrary, concat({le16(1), record}));
  const ByteVector extension =
      concat({ByteVector(18, 0), le32(static_cast<std::uint32_t>(library.size())), library});
  read(asfHeader({object(kHeaderExtension, extension)}));
  EXPECT_EQ(info_.toTrack().composer, u"Bach");
  // An extension nested in the extension is not looked into.
  const ByteVector nested =
      concat({ByteVector(18, 0), le32(static_cast<std::uint32_t>(extension.size() + 24)),
              object(kHeaderExtension, extension)});
  EXPECT_EQ(readAnother(asfHeader({object(kHeaderExtension, nested)}), "n.wma")->toTrack().composer,
            std::nullopt);
}

TEST_F(ASFFile, CountsAndSizesBeyondTheBytes) {
  const ByteVector title = attribute(u"Title", 0, utf16(u"Kept"));
  ByteVector claimsMore = asfHeader({extendedContent(9, {title}), audioStream(2, 44100, 16000)});
  // A header size past the file is read as far as the file goes.
  claimsMore[20] = 1;
  EXPECT_EQ(read(claimsMore), ReadResult::Read);
  EXPECT_EQ(info_.getTitle(), u"Kept");
  EXPECT_EQ(info_.getSampleRate(), u"44100");
  // An object shorter than its own header ends the walk.
  ByteVector tooSmall = asfHeader({extendedContent(1, {title}), audioStream(2, 44100, 16000)});
  tooSmall[30 + 16] = 23;
  const auto info = readAnother(tooSmall, "small.wma");
  EXPECT_EQ(info->getTitle(), u"Unknown");
  EXPECT_EQ(info->getSampleRate(), u"Unknown");
  EXPECT_EQ(info->getReadWarning(), "no ASF audio stream or attributes found");
}

TEST_F(ASFFile, NoWholeHeaderObjectIsNotRecognised) {
  EXPECT_EQ(read(bytesOf("RIFF and more bytes than a header")), ReadResult::NotRecognised);
  const ByteVector empty = asfHeader({});
  readAnother(empty, "empty.wma");
  EXPECT_EQ(lastResult_, ReadResult::Read);
  readAnother(ByteVector(empty.begin(), empty.end() - 1), "cut.wma");
  EXPECT_EQ(lastResult_, ReadResult::NotRecognised);
}

}  // namespace
}  // namespace tunora
