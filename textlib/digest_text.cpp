#include "textlib/digest_text.h"

#include <cstdio>

#include "platform/digest.h"
#include "textlib/byte_code_forms.h"

namespace {

// Which algorithms a provider type offers: the full RSA provider stops at
// SHA-1, the AES one adds SHA-256. Other types cannot be acquired.
bool ProviderOffers(int providerType, int algorithmId) {
  switch (providerType) {
    case kProvRsaFull: return algorithmId == kCalgMd5 || algorithmId == kCalgSha1;
    case kProvRsaAes: return algorithmId == kCalgMd5 || algorithmId == kCalgSha1 || algorithmId == kCalgSha256;
    default: return false;
  }
}

bool AlgorithmOf(int algorithmId, DigestAlgorithm& algorithm) {
  switch (algorithmId) {
    case kCalgMd5: algorithm = DigestAlgorithm::kMd5; return true;
    case kCalgSha1: algorithm = DigestAlgorithm::kSha1; return true;
    case kCalgSha256: algorithm = DigestAlgorithm::kSha256; return true;
    default: return false;
  }
}

CWString LowerHexLetters(CWString text) {
  for (char16_t& c : text.Str())
    if (c >= u'A' && c <= u'F') c = static_cast<char16_t>(c + 32);
  return text;
}

}  // namespace

CWString HashBytes(const CQzuMem& bytes, int algorithmId, int digestLength, int providerType) {
  if (providerType == 0) providerType = kProvRsaFull;
  DigestAlgorithm algorithm;
  if (!ProviderOffers(providerType, algorithmId) || !AlgorithmOf(algorithmId, algorithm)) return CWString();
  // A result buffer shorter than the digest is a failed read of the hash value.
  if (digestLength <= 0 || static_cast<size_t>(digestLength) < DigestSize(algorithm)) return CWString();
  const std::vector<uint8_t> digest = ComputeDigest(algorithm, bytes.GetData(), bytes.GetSize());
  if (digest.empty()) return CWString();
  return BytesToHexText(digest.data(), digest.size());
}

CWString Md5Text(const CQzuMem& bytes, bool upperCase) {
  CWString text = HashBytes(bytes, kCalgMd5, 16, kProvRsaFull);
  return upperCase ? text : LowerHexLetters(std::move(text));
}

CWString Sha1Text(const CQzuMem& bytes, bool upperCase) {
  CWString text = HashBytes(bytes, kCalgSha1, 20, kProvRsaFull);
  return upperCase ? text : LowerHexLetters(std::move(text));
}

CWString Sha256Text(const CQzuMem& bytes, bool upperCase) {
  CWString text = HashBytes(bytes, kCalgSha256, 32, kProvRsaAes);
  return upperCase ? text : LowerHexLetters(std::move(text));
}

CWString Crc32Text(const CQzuMem& bytes) {
  if (bytes.IsEmpty()) return CWString();
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(ComputeCrc32(bytes.GetData(), bytes.GetSize())));
  return CWString::FromUtf8(buffer);
}
