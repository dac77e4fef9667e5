// The message digests and CRC-32 on known vectors, and null data refused.
#include <gtest/gtest.h>

#include <string>

#include "platform/digest.h"
#include "test_support.h"

namespace {

struct DigestCase {
  DigestAlgorithm algorithm;
  std::string input;
  std::string hex;
};

TEST(Digest, KnownVectors) {
  const DigestCase cases[] = {
      {DigestAlgorithm::kMd5, "", "D4 1D 8C D9 8F 00 B2 04 E9 80 09 98 EC F8 42 7E"},
      {DigestAlgorithm::kMd5, "abc", "90 01 50 98 3C D2 4F B0 D6 96 3F 7D 28 E1 7F 72"},
      {DigestAlgorithm::kSha1, "abc", "A9 99 3E 36 47 06 81 6A BA 3E 25 71 78 50 C2 6C 9C D0 D8 9D"},
      {DigestAlgorithm::kSha256, "abc",
       "BA 78 16 BF 8F 01 CF EA 41 41 40 DE 5D AE 22 23 B0 03 61 A3 96 17 7A 9C B4 10 FF 61 F2 00 15 AD"},
  };
  for (const DigestCase& c : cases) {
    const std::vector<uint8_t> d = ComputeDigest(c.algorithm, c.input.data(), c.input.size());
    EXPECT_EQ(qzu_test::ToHex(d), c.hex) << c.input;
    EXPECT_EQ(d.size(), DigestSize(c.algorithm));
  }
}

TEST(Digest, NullDataWithBytesIsRefused) {
  EXPECT_TRUE(ComputeDigest(DigestAlgorithm::kMd5, nullptr, 3).empty());
  EXPECT_EQ(ComputeDigest(DigestAlgorithm::kMd5, nullptr, 0).size(), 16u);
}

TEST(Crc32, KnownVectors) {
  const std::pair<std::string, uint32_t> cases[] = {
      {"", 0u}, {"abc", 0x352441C2u}, {"123456789", 0xCBF43926u}};
  for (const auto& [input, crc] : cases) EXPECT_EQ(ComputeCrc32(input.data(), input.size()), crc) << input;
}

}  // namespace
