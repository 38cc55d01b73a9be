#include "text/conversions.h"

#include <gtest/gtest.h>

#include <vector>

namespace tunora {
namespace {

std::u16string utf16(std::vector<std::uint8_t> bytes, bool expectOk = true) {
  std::u16string out = u"untouched";
  EXPECT_EQ(convertUTF16ToWChar(bytes, out), expectOk);
  return out;
}

std::pair<std::u16string, bool> utf8(std::string_view bytes) {
  std::u16string out;
  const bool ok = convertUTF8ToUTF16(bytes, out);
  return {out, ok};
}

TEST(ByteWiseConversions, WidenAndNarrowByLowByte) {
  EXPECT_EQ(widenLatin1(""), u"");
  EXPECT_EQ(widenLatin1("\xE9t\xFF"), u"\u00E9t\u00FF");
  EXPECT_EQ(narrowToLatin1(u""), "");
  EXPECT_EQ(narrowToLatin1(u"\u20AC\u00E9A"),
            "\xAC\xE9"
            "A");
  // C text ends at its first NUL.
  EXPECT_EQ(widenLatin1(std::string_view("ab\0cd", 5)), u"ab");
}

TEST(Utf16BlockConversion, ByteOrderMarkDecidesEndianness) {
  EXPECT_EQ(utf16({0xFF, 0xFE, 0x41, 0x00}), u"A");
  EXPECT_EQ(utf16({0xFE, 0xFF, 0x00, 0x41}), u"A");
  EXPECT_EQ(utf16({0x00, 0x41}), u"A");  // no mark: big-endian
  EXPECT_EQ(utf16({0xFF, 0xFE}), u"");
  EXPECT_EQ(utf16({}), u"");
}

TEST(Utf16BlockConversion, OddLengthIsRefusedAndOutputKept) {
  EXPECT_EQ(utf16({0xFF, 0xFE, 0x41}, false), u"untouched");
}

TEST(Utf16BlockConversion, SelectorsRefuseWrongMarks) {
  const std::vector<std::uint8_t> marked{0xFF, 0xFE, 0x41, 0x00};
  const std::vector<std::uint8_t> bare{0x41, 0x00};
  std::u16string out = u"x";
  EXPECT_FALSE(convertUTF16ToWChar(bare, out, Utf16Encoding::Utf16WithBom));
  EXPECT_FALSE(convertUTF16ToWChar(marked, out, Utf16Encoding::Utf16LE));
  EXPECT_FALSE(convertUTF16ToWChar(marked, out, Utf16Encoding::Utf16BE));
  EXPECT_EQ(out, u"x");
  EXPECT_TRUE(convertUTF16ToWChar(bare, out, Utf16Encoding::Utf16LE));
  EXPECT_EQ(out, u"A");
}

TEST(Utf16BlockConversion, NulUnitEndsTextAndSurrogatesPassThrough) {
  EXPECT_EQ(utf16({0xFF, 0xFE, 0x41, 0x00, 0x00, 0x00, 0x42, 0x00}), u"A");
  EXPECT_EQ(utf16({0xFF, 0xFE, 0x3C, 0xD8, 0xB5, 0xDF}), u"\U0001F3B5");
  // An unpaired surrogate is kept as the unit it is.
  EXPECT_EQ(utf16({0xD8, 0x00}), std::u16string(1, char16_t{0xD800}));
}

TEST(Utf8Conversion, WellFormedSequences) {
  EXPECT_EQ(utf8("\xC3\xA9"), std::make_pair(std::u16string(u"\u00E9"), true));
  EXPECT_EQ(utf8("\xE2\x82\xAC"), std::make_pair(std::u16string(u"\u20AC"), true));
  const auto [note, ok] = utf8("\xF0\x9F\x8E\xB5");
  EXPECT_TRUE(ok);
  EXPECT_EQ(note, (std::u16string{char16_t{0xD83C}, char16_t{0xDFB5}}));
}

// ASCII is taken eight bytes at a time: a sequence that starts at any
// place in or after such a block, and a cut one at the end, are still read,
// and every ASCII byte keeps its place.
TEST(Utf8Conversion, SequencesAtEveryPlaceAroundAsciiBlocks) {
  const std::string ascii = "abcdefghijklmnop";
  const std::u16string wide = u"abcdefghijklmnop";
  for (std::size_t at = 0; at <= 16; ++at) {
    std::string text = ascii;
    text.insert(at, "\xC3\xA9");
    std::u16string expected = wide;
    expected.insert(at, 1, u'\u00E9');
    std::u16string out;
    EXPECT_TRUE(convertUTF8ToUTF16(text, out)) << at;
    EXPECT_EQ(out, expected) << at;
    EXPECT_FALSE(convertUTF8ToUTF16(ascii.substr(0, at) + "\xC3", out)) << at;
    EXPECT_EQ(out, wide.substr(0, at)) << at;
  }
}

TEST(Utf8Conversion, MalformedInputIsSkippedOrCut) {
  // A lead byte whose continuation lacks the top bit stops the conversion.
  EXPECT_EQ(utf8("A\xC3"
                 "A"),
            std::make_pair(std::u16string(u"A"), false));
  // Leads that can never start a sequence are skipped.
  EXPECT_EQ(utf8("\xC0"
                 "A"),
            std::make_pair(std::u16string(u"A"), true));
  EXPECT_EQ(utf8("\xF5\xFF"
                 "B"),
            std::make_pair(std::u16string(u"B"), true));
  // A stray continuation byte is skipped.
  EXPECT_EQ(utf8("A\x80"
                 "B"),
            std::make_pair(std::u16string(u"AB"), true));
  // A sequence cut by the end of the text fails without reading further.
  EXPECT_EQ(utf8("AB\xE2\x82"), std::make_pair(std::u16string(u"AB"), false));
  EXPECT_EQ(utf8(std::string_view("A\xC3\0\xA9", 4)), std::make_pair(std::u16string(u"A"), false));
}

TEST(Utf8Conversion, EveryByteValueIsHandled) {
  for (int lead = 0; lead < 256; ++lead) {
    for (int next : {0x00, 0x41, 0x80, 0xBF, 0xC3, 0xFF}) {
      const char bytes[] = {static_cast<char>(lead), static_cast<char>(next), '\xA9', '\xA9'};
      std::u16string out;
      convertUTF8ToUTF16(std::string_view(bytes, sizeof bytes), out);
      EXPECT_LE(out.size(), sizeof bytes);
    }
  }
}

TEST(Utf8Encoding, RoundTripsAndReplacesUnpairedSurrogates) {
  const std::u16string text = u"K\u00F6ln \u20AC \U0001F3B5";
  std::u16string back;
  EXPECT_TRUE(convertUTF8ToUTF16(convertUTF16ToUTF8(text), back));
  EXPECT_EQ(back, text);
  EXPECT_EQ(convertUTF16ToUTF8(std::u16string(1, char16_t{0xDC00})), "\xEF\xBF\xBD");
  EXPECT_EQ(convertUTF16ToUTF8(std::u16string{char16_t{0xD800}, u'a'}),
            "\xEF\xBF\xBD"
            "a");
}

// The 16-bit form looks at four units a step: a NUL at each place of the
// first two steps and of the scalar tail, units whose halves are 0 or 0xFF,
// and no NUL at all, for every length up to eleven.
TEST(UntilNul, EveryPlaceOfTheFirstNulInShortAndLongTexts) {
  for (std::size_t length = 0; length <= 11; ++length) {
    const std::u16string plain(length, char16_t{0xFF00});
    EXPECT_EQ(untilNul(std::u16string_view(plain)).size(), length);
    for (std::size_t nul = 0; nul < length; ++nul) {
      std::u16string text(length, char16_t{0x0100});
      text[nul] = 0;
      if (nul + 1 < length) text[nul + 1] = 0;  // a second NUL never counts
      EXPECT_EQ(untilNul(std::u16string_view(text)).size(), nul) << length << " " << nul;
    }
  }
  EXPECT_EQ(untilNul(std::u16string_view(u"\x0001\x8000\xFFFF\x7FFF\x0080")).size(), 5u);
}

}  // namespace
}  // namespace tunora
