// Digests and CRC-32 as texts in both letter cases, and what the provider refuses.
#include <gtest/gtest.h>

#include <string>

#include "test_support.h"
#include "textlib/digest_text.h"

using qzu_test::Mem;

namespace {

struct DigestTextCase {
  const char* name;
  CWString (*fn)(const CQzuMem&, bool);
  std::string input;
  const char* upper;
};

TEST(DigestText, VectorsInBothLetterCases) {
  const DigestTextCase cases[] = {
      {"md5 empty", Md5Text, "", "D41D8CD98F00B204E9800998ECF8427E"},
      {"md5 abc", Md5Text, "abc", "900150983CD24FB0D6963F7D28E17F72"},
      {"sha1 empty", Sha1Text, "", "DA39A3EE5E6B4B0D3255BFEF95601890AFD80709"},
      {"sha1 abc", Sha1Text, "abc", "A9993E364706816ABA3E25717850C26C9CD0D89D"},
      {"sha256 empty", Sha256Text, "", "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855"},
      {"sha256 abc", Sha256Text, "abc", "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD"},
  };
  for (const DigestTextCase& c : cases) {
    const std::string upper = c.upper;
    std::string lower = upper;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    EXPECT_EQ(c.fn(Mem(c.input), true).ToUtf8(), upper) << c.name;
    EXPECT_EQ(c.fn(Mem(c.input), false).ToUtf8(), lower) << c.name;
  }
}

TEST(DigestText, HashBytesRefusesWhatTheProviderCannotDo) {
  const CQzuMem abc = Mem("abc");
  struct {
    const char* name;
    int algorithm, length, provider;
    bool empty;
  } cases[] = {
      {"provider 0 means full RSA", kCalgSha1, 20, 0, false},
      {"AES provider also does MD5", kCalgMd5, 16, kProvRsaAes, false},
      {"full RSA provider lacks SHA-256", kCalgSha256, 32, kProvRsaFull, true},
      {"unknown provider type", kCalgMd5, 16, 99, true},
      {"unknown algorithm", 0x8001, 16, kProvRsaFull, true},
      {"digest longer than its buffer", kCalgSha256, 31, kProvRsaAes, true},
      {"zero-length buffer", kCalgMd5, 0, kProvRsaFull, true},
  };
  for (const auto& c : cases) EXPECT_EQ(HashBytes(abc, c.algorithm, c.length, c.provider).IsEmpty(), c.empty) << c.name;
  EXPECT_EQ(HashBytes(abc, kCalgMd5, 16, 0).ToUtf8(), "900150983CD24FB0D6963F7D28E17F72");
}

TEST(DigestText, Crc32) {
  const std::pair<std::string, const char*> cases[] = {
      {"", ""},                         // empty buffer: no checksum at all
      {"abc", "352441C2"},
      {"123456789", "CBF43926"},
      {std::string("\0", 1), "D202EF8D"},
      {"a", "E8B7BE43"},
  };
  for (const auto& [input, crc] : cases) EXPECT_EQ(Crc32Text(Mem(input)).ToUtf8(), crc) << input;
}

TEST(DigestText, Crc32DropsLeadingZeros) {
  // Search a short input whose checksum lies below 2^28: its text has fewer than 8 digits.
  for (uint32_t i = 0; i < 100000; ++i) {
    const CQzuMem bytes(&i, sizeof i);
    const CWString text = Crc32Text(bytes);
    if (text.GetLength() < 8) {
      EXPECT_NE(text[0], u'0');
      return;
    }
  }
  FAIL() << "no short checksum found";
}

}  // namespace
