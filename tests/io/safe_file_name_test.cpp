#include "io/safe_file_name.h"

#include <gtest/gtest.h>

#include "coversearch/cover_saving.h"

namespace tunora {
namespace {

// The names here are ASCII: each byte is one 16-bit unit.
std::u16string wide(std::string_view ascii) {
  return {ascii.begin(), ascii.end()};
}

struct NameCase {
  const char* name;
  bool device;
  const char* safe;
};

// Each device at its edges: the digit range of COM and LPT, an extension,
// the spaces Windows drops before it, and longer names that only begin so.
constexpr NameCase kNames[] = {
    {"CON", true, "CON_"},
    {"con.jpg", true, "con_.jpg"},
    {"Con .jpg", true, "Con_ .jpg"},
    {"nul.tar.gz", true, "nul_.tar.gz"},
    {"PRN", true, "PRN_"},
    {"aux.JPG", true, "aux_.JPG"},
    {"CONIN$.jpg", true, "CONIN$_.jpg"},
    {"conout$", true, "conout$_"},
    {"COM0.jpg", false, "COM0.jpg"},
    {"COM1.jpg", true, "COM1_.jpg"},
    {"com9", true, "com9_"},
    {"COM10.jpg", false, "COM10.jpg"},
    {"LPT0", false, "LPT0"},
    {"lpt1.jpg", true, "lpt1_.jpg"},
    {"LPT9", true, "LPT9_"},
    {"LPT10", false, "LPT10"},
    {"CONSOLE.jpg", false, "CONSOLE.jpg"},
    {"ICON.jpg", false, "ICON.jpg"},
    {"CO.jpg", false, "CO.jpg"},
    {".jpg", false, ".jpg"},
    {"", false, ""},
    // Dots and spaces at the end, which Windows would drop.
    {"R.E.M.", false, "R.E.M_"},
    {"Blur. ", false, "Blur__"},
    {"CON .", true, "CON___"},
    {"a . b.jpg", false, "a . b.jpg"},
    {"...", false, "___"},
};

TEST(WindowsSafeName, DevicesAndNameEnds) {
  for (const NameCase& c : kNames) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(isDeviceName(std::string_view(c.name)), c.device);
    EXPECT_EQ(windowsSafeName(std::string_view(c.name)), c.safe);
    // The 16-bit form follows the same rule.
    EXPECT_EQ(isDeviceName(std::u16string_view(wide(c.name))), c.device);
    EXPECT_EQ(windowsSafeName(std::u16string_view(wide(c.name))), wide(c.safe));
  }
}

TEST(WindowsSafeName, OnlyAsciiLettersMatchADevice) {
  // A full-width or accented look-alike is an ordinary name.
  EXPECT_FALSE(isDeviceName(std::u16string_view(u"\xFF23ON.jpg")));
  EXPECT_FALSE(isDeviceName(std::u16string_view(u"C\x00D6N")));
}

// The save dialog's suggested name is built from tags: on Windows it never
// names a device or ends in a dot.
TEST(WindowsSafeName, CoverNamesFromTagsAreSafeWhereDevicesAreReserved) {
  const struct {
    const char* pattern;
    const char* artist;
    const char* windows;
    const char* elsewhere;
  } cases[] = {
      {"%a.jpg", "CON", "CON_.jpg", "CON.jpg"},
      {"%a.jpg", "com1", "com1_.jpg", "com1.jpg"},
      {"%a.jpg", "COM10", "COM10.jpg", "COM10.jpg"},
      {"%a", "R.E.M.", "R.E.M_", "R.E.M."},
      {"%a - %b.jpg", "Nul", "Nul - B.jpg", "Nul - B.jpg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.artist);
    EXPECT_EQ(makeCoverFileName(c.pattern, c.artist, "B"),
              kDeviceNamesReserved ? c.windows : c.elsewhere);
  }
}

}  // namespace
}  // namespace tunora
