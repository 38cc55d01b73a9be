// Names of the file system to our paths and back: ASCII runs are taken four
// and eight at a time, so every other character is tried at every place in
// and around such a block.

#include <gtest/gtest.h>

#include <string>

#include "io/file.h"

namespace tunora {
namespace {

TEST(NativePath, EveryCharacterAtEveryPlaceAroundAsciiBlocks) {
  const struct {
    std::u16string ours;
    std::string native;
  } characters[] = {{u"\u00E9", "\xC3\xA9"},
                    {u"\U0001F3B5", "\xF0\x9F\x8E\xB5"},
                    // A byte that is not UTF-8 comes back as it went.
                    {std::u16string(1, char16_t{0xDCFF}), "\xFF"}};
  for (const auto& character : characters)
    for (std::size_t at = 0; at <= 9; ++at) {
      std::u16string ours(9, u'a');
      ours.insert(at, character.ours);
      std::string native(9, 'a');
      native.insert(at, character.native);
      EXPECT_EQ(pathToNative(ours), native) << at;
      EXPECT_EQ(pathFromNative(native), ours) << at;
    }
}

}  // namespace
}  // namespace tunora
