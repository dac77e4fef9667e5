#pragma once
// Message digests and the CRC-32 checksum over byte ranges: MD5, SHA-1 and
// SHA-256 come from OpenSSL's EVP interface, CRC-32 from zlib. These stand in
// for the system crypto provider; callers choose the algorithm by its
// provider id (see textlib/digest_text.h).
#include <cstddef>
#include <cstdint>
#include <vector>

enum class DigestAlgorithm { kMd5, kSha1, kSha256 };

// Size in bytes of the algorithm's digest (16, 20, 32).
size_t DigestSize(DigestAlgorithm algorithm);

// The digest of `size` bytes at `data` (data may be null when size is 0).
// Empty when the library cannot compute it.
std::vector<uint8_t> ComputeDigest(DigestAlgorithm algorithm, const void* data, size_t size);

// CRC-32 of ISO-HDLC (the checksum of zip and PNG): reflected polynomial
// 0xEDB88320, start 0xFFFFFFFF, final complement.
uint32_t ComputeCrc32(const void* data, size_t size);
