#include "text/byte_reader.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <optional>

namespace tunora {
namespace {

constexpr std::array<std::uint8_t, 9> kBytes{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(ByteReader, ReadsBothByteOrders) {
  ByteReader big{Bytes(kBytes)};
  EXPECT_EQ(big.u16be(), 0x0102);
  EXPECT_EQ(big.u24be(), 0x030405u);
  EXPECT_EQ(big.u32be(), 0x06070809u);
  EXPECT_TRUE(big.atEnd());

  ByteReader little{Bytes(kBytes)};
  EXPECT_EQ(little.u16le(), 0x0201);
  EXPECT_EQ(little.u24le(), 0x050403u);
  EXPECT_EQ(little.u32le(), 0x09080706u);

  ByteReader wide{Bytes(kBytes)};
  EXPECT_EQ(wide.u64be(), 0x0102030405060708u);
  EXPECT_EQ(wide.u8(), 0x09);
  ByteReader wideLittle{Bytes(kBytes)};
  EXPECT_EQ(wideLittle.u64le(), 0x0807060504030201u);
}

TEST(ByteReader, ShortReadGivesNothingAndDoesNotMove) {
  ByteReader reader{Bytes(kBytes)};
  ASSERT_TRUE(reader.skip(7));
  EXPECT_EQ(reader.u32be(), std::nullopt);
  EXPECT_EQ(reader.u24le(), std::nullopt);
  EXPECT_EQ(reader.position(), 7u);
  EXPECT_EQ(reader.remaining(), 2u);
  EXPECT_EQ(reader.u16be(), 0x0809);
  EXPECT_EQ(reader.u8(), std::nullopt);
}

TEST(ByteReader, HugeCountsFromAFileAreRefusedWithoutOverflow) {
  ByteReader reader{Bytes(kBytes)};
  ASSERT_TRUE(reader.skip(4));
  const auto huge = std::numeric_limits<std::uint64_t>::max();
  EXPECT_FALSE(reader.skip(huge));
  EXPECT_FALSE(reader.skip(0x100000000u));
  EXPECT_EQ(reader.bytes(huge), std::nullopt);
  EXPECT_EQ(reader.peek(6), std::nullopt);
  EXPECT_FALSE(reader.seek(10));
  EXPECT_EQ(reader.position(), 4u);
  EXPECT_EQ(subspan(Bytes(kBytes), huge, 1), std::nullopt);
  EXPECT_EQ(subspan(Bytes(kBytes), 1, huge), std::nullopt);
}

TEST(ByteReader, SlicesPeeksAndSeeks) {
  ByteReader reader{Bytes(kBytes)};
  const auto peeked = reader.peek(2);
  ASSERT_TRUE(peeked);
  EXPECT_EQ((*peeked)[1], 0x02);
  EXPECT_EQ(reader.position(), 0u);
  const auto taken = reader.bytes(3);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->size(), 3u);
  EXPECT_EQ(reader.rest().front(), 0x04);
  EXPECT_TRUE(reader.seek(9));
  EXPECT_TRUE(reader.atEnd());
  EXPECT_TRUE(reader.rest().empty());
  EXPECT_TRUE(reader.seek(1));
  EXPECT_EQ(reader.u8(), 0x02);

  const auto middle = subspan(Bytes(kBytes), 8, 1);
  ASSERT_TRUE(middle);
  EXPECT_EQ(middle->front(), 0x09);
  EXPECT_TRUE(subspan(Bytes(kBytes), 9, 0));
  EXPECT_FALSE(subspan(Bytes(kBytes), 8, 2));
}

TEST(ByteReader, BitFieldsEndAtTheLastBit) {
  const std::array<std::uint8_t, 2> bytes{0xA5, 0x3C};
  const struct {
    std::uint64_t firstBit;
    unsigned count;
    std::optional<std::uint32_t> value;
  } cases[] = {
      {0, 16, 0xA53C},
      {0, 17, std::nullopt},
      {12, 4, 0xC},
      {12, 5, std::nullopt},
      {16, 0, 0},
      {16, 1, std::nullopt},
      {17, 0, std::nullopt},
      {17, 4, std::nullopt},
      {23, 4, std::nullopt},
      {0, 33, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(bitsAt(Bytes(bytes), c.firstBit, c.count), c.value) << c.firstBit << "+" << c.count;
}

TEST(ByteReader, StartsWithComparesBytes) {
  constexpr std::array<std::uint8_t, 3> tag{'T', 'A', 'G'};
  EXPECT_TRUE(startsWith(Bytes(tag), "TA"));
  EXPECT_TRUE(startsWith(Bytes(tag), "TAG"));
  EXPECT_FALSE(startsWith(Bytes(tag), "TAGS"));
  EXPECT_FALSE(startsWith(Bytes(tag), "tag"));
}

}  // namespace
}  // namespace tunora
