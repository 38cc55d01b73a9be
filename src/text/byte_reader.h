#pragma once
// A forward reader over a bounds-checked byte view. Every read either delivers
// all it was asked for and advances, or delivers nothing and stays put, so a
// short block reads as "absent", never as zeros or as bytes past the end.
// Counts and positions are 64-bit so that sizes taken from a file can be
// checked as they stand, also where size_t is 32 bits.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tunora {

using Bytes = std::span<const std::uint8_t>;

// `count` bytes at `offset`, or nothing when the view is shorter.
constexpr std::optional<Bytes> subspan(Bytes bytes, std::uint64_t offset, std::uint64_t count) {
  if (offset > bytes.size() || count > bytes.size() - offset) return std::nullopt;
  return bytes.subspan(static_cast<std::size_t>(offset), static_cast<std::size_t>(count));
}

// True when the view begins with these characters.
constexpr bool startsWith(Bytes bytes, std::string_view prefix) {
  if (bytes.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (bytes[i] != static_cast<std::uint8_t>(prefix[i])) return false;
  return true;
}

// `count` bits (at most 32) from bit `firstBit` on, the most significant bit
// of each byte first; nothing when the view ends before them.
constexpr std::optional<std::uint32_t> bitsAt(Bytes bytes, std::uint64_t firstBit, unsigned count) {
  const std::uint64_t available = static_cast<std::uint64_t>(bytes.size()) * 8;
  if (count > 32 || firstBit > available || count > available - firstBit) return std::nullopt;
  std::uint32_t value = 0;
  for (std::uint64_t bit = firstBit; bit < firstBit + count; ++bit) {
    const auto byte = bytes[static_cast<std::size_t>(bit / 8)];
    value = value << 1 | ((byte >> (7 - bit % 8)) & 1u);
  }
  return value;
}

class ByteReader {
 public:
  constexpr explicit ByteReader(Bytes bytes) : bytes_(bytes) {}

  constexpr std::size_t position() const { return position_; }
  constexpr std::size_t remaining() const { return bytes_.size() - position_; }
  constexpr bool atEnd() const { return position_ == bytes_.size(); }
  // The bytes not read yet.
  constexpr Bytes rest() const { return bytes_.subspan(position_); }

  // Moves on by `count` bytes; false (and no move) when fewer remain.
  constexpr bool skip(std::uint64_t count) {
    if (count > remaining()) return false;
    position_ += static_cast<std::size_t>(count);
    return true;
  }
  // Moves to an absolute position inside the view; false (and no move) past its end.
  constexpr bool seek(std::uint64_t position) {
    if (position > bytes_.size()) return false;
    position_ = static_cast<std::size_t>(position);
    return true;
  }

  // The next `count` bytes, consumed.
  constexpr std::optional<Bytes> bytes(std::uint64_t count) {
    auto taken = subspan(bytes_, position_, count);
    if (taken) position_ += taken->size();
    return taken;
  }
  // The next `count` bytes, left unread.
  constexpr std::optional<Bytes> peek(std::uint64_t count) const {
    return subspan(bytes_, position_, count);
  }

  constexpr std::optional<std::uint8_t> u8() { return unsignedOf<1, true, std::uint8_t>(); }
  constexpr std::optional<std::uint16_t> u16be() { return unsignedOf<2, true, std::uint16_t>(); }
  constexpr std::optional<std::uint16_t> u16le() { return unsignedOf<2, false, std::uint16_t>(); }
  constexpr std::optional<std::uint32_t> u24be() { return unsignedOf<3, true, std::uint32_t>(); }
  constexpr std::optional<std::uint32_t> u24le() { return unsignedOf<3, false, std::uint32_t>(); }
  constexpr std::optional<std::uint32_t> u32be() { return unsignedOf<4, true, std::uint32_t>(); }
  constexpr std::optional<std::uint32_t> u32le() { return unsignedOf<4, false, std::uint32_t>(); }
  constexpr std::optional<std::uint64_t> u64be() { return unsignedOf<8, true, std::uint64_t>(); }
  constexpr std::optional<std::uint64_t> u64le() { return unsignedOf<8, false, std::uint64_t>(); }

 private:
  template <std::size_t Size, bool BigEndian, typename Result>
  constexpr std::optional<Result> unsignedOf() {
    const auto field = bytes(Size);
    if (!field) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < Size; ++i) {
      const std::uint64_t byte = (*field)[BigEndian ? i : Size - 1 - i];
      value = value << 8 | byte;
    }
    return static_cast<Result>(value);
  }

  Bytes bytes_;
  std::size_t position_ = 0;
};

}  // namespace tunora
