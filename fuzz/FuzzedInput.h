// Reads a fuzzer's byte string as the values of a host session: small numbers, raw words,
// floats of every class and sizes a host might send. Past the end every read answers 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

class FuzzedInput {
 public:
  FuzzedInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool Empty() const { return offset_ >= size_; }

  uint8_t Byte() { return offset_ < size_ ? data_[offset_++] : 0; }

  uint32_t Word() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(Byte()) << (8 * i);
    return value;
  }

  // A number below limit (limit > 0).
  uint32_t Below(uint32_t limit) { return Byte() % limit; }

  bool Flag() { return (Byte() & 1) != 0; }

  // Float bits: a special value, a value a slider sends, or raw bits.
  uint32_t FloatBits() {
    static constexpr float kSpecial[] = {
        std::numeric_limits<float>::quiet_NaN(),
        -std::numeric_limits<float>::quiet_NaN(),
        std::numeric_limits<float>::signaling_NaN(),
        std::numeric_limits<float>::infinity(),
        -std::numeric_limits<float>::infinity(),
        std::numeric_limits<float>::denorm_min(),
        -std::numeric_limits<float>::denorm_min(),
        std::numeric_limits<float>::min() / 2.0f,
        std::numeric_limits<float>::max(),
        std::numeric_limits<float>::lowest(),
        0.0f,
        -0.0f,
        1.0f,
        -1.0f,
        0.5f,
        0.99f,
        2.5f,
        -0.5f,
        2147483648.0f,
        -2147483904.0f,
        1e30f,
        -1e30f,
    };
    constexpr uint32_t kCount = sizeof(kSpecial) / sizeof(kSpecial[0]);
    const uint8_t kind = Byte();
    if (kind < 128) return Bits(kSpecial[kind % kCount]);
    if (kind < 192) return Bits(static_cast<float>(Byte()) / 255.0f);
    return Word();
  }

  // A size field: small, at a boundary, or any word.
  uint32_t Size(uint32_t smallLimit) {
    static constexpr uint32_t kBoundary[] = {0u,          1u,          2u,          3u,
                                             16385u,      100000u,     0x7FFFFFFFu, 0x80000000u,
                                             0x80000001u, 0xFFFFFFFEu, 0xFFFFFFFFu};
    constexpr uint32_t kCount = sizeof(kBoundary) / sizeof(kBoundary[0]);
    const uint8_t kind = Byte();
    if (kind < 160) return Below16(smallLimit);
    if (kind < 240) return kBoundary[Byte() % kCount];
    return Word();
  }

  static uint32_t Bits(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }

 private:
  uint32_t Below16(uint32_t limit) {
    const uint32_t value = static_cast<uint32_t>(Byte()) | (static_cast<uint32_t>(Byte()) << 8);
    return limit == 0 ? 0 : value % limit;
  }

  const uint8_t* data_;
  size_t size_;
  size_t offset_ = 0;
};
