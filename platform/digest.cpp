#include "platform/digest.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <climits>
#include <memory>

namespace {

const EVP_MD* DigestOf(DigestAlgorithm algorithm) {
  switch (algorithm) {
    case DigestAlgorithm::kMd5: return EVP_md5();
    case DigestAlgorithm::kSha1: return EVP_sha1();
    case DigestAlgorithm::kSha256: return EVP_sha256();
  }
  return nullptr;
}

}  // namespace

size_t DigestSize(DigestAlgorithm algorithm) {
  switch (algorithm) {
    case DigestAlgorithm::kMd5: return 16;
    case DigestAlgorithm::kSha1: return 20;
    case DigestAlgorithm::kSha256: return 32;
  }
  return 0;
}

std::vector<uint8_t> ComputeDigest(DigestAlgorithm algorithm, const void* data, size_t size) {
  const EVP_MD* md = DigestOf(algorithm);
  if (!md || (!data && size)) return {};
  std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!ctx || EVP_DigestInit_ex(ctx.get(), md, nullptr) != 1) return {};
  // EVP takes any length in one call; an empty input passes no data at all.
  if (size && EVP_DigestUpdate(ctx.get(), data, size) != 1) return {};
  std::vector<uint8_t> digest(EVP_MAX_MD_SIZE);
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(ctx.get(), digest.data(), &length) != 1) return {};
  digest.resize(length);
  return digest;
}

uint32_t ComputeCrc32(const void* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  const Bytef* p = static_cast<const Bytef*>(data);
  // zlib's length is a uInt: feed huge buffers in slices.
  while (size > 0) {
    const uInt chunk = size > UINT_MAX ? UINT_MAX : static_cast<uInt>(size);
    crc = crc32(crc, p, chunk);
    p += chunk;
    size -= chunk;
  }
  return static_cast<uint32_t>(crc);
}
