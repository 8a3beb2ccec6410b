// SHA-256, for digests of game state that tests and tools compare.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quorin {

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, std::size_t size);
  std::array<std::uint8_t, 32> Finish();
  // Lowercase hexadecimal of Finish().
  std::string FinishHex();

 private:
  void Block(const std::uint8_t* p);
  std::uint32_t h_[8];
  std::uint8_t buffer_[64];
  std::size_t buffered_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace quorin
