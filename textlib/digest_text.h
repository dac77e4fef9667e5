#pragma once
// Digests and the CRC-32 checksum of byte buffers as hexadecimal text. The
// application shows the digests as its "MD5", "SHA1" and "SHA256" functions and
// names raw output files after the CRC-32 of their bytes; the settings store
// compares SHA-1 texts to see whether its file changed.
#include "common/mem.h"
#include "common/wstring.h"

// Algorithm ids and provider types as the system crypto provider numbers them.
constexpr int kCalgMd5 = 0x8003;
constexpr int kCalgSha1 = 0x8004;
constexpr int kCalgSha256 = 0x800C;
constexpr int kProvRsaFull = 1;
constexpr int kProvRsaAes = 24;

// The digest of `bytes` as upper-case hexadecimal, two digits per byte. The
// provider type 0 means 1. The empty text when the provider type is unknown,
// the provider lacks the algorithm (PROV_RSA_FULL has no SHA-256), or the
// digest does not fit into `digestLength` bytes.
CWString HashBytes(const CQzuMem& bytes, int algorithmId, int digestLength, int providerType);

// MD5 (32 digits), SHA-1 (40) and SHA-256 (64); lower-case letters unless `upperCase`.
CWString Md5Text(const CQzuMem& bytes, bool upperCase);
CWString Sha1Text(const CQzuMem& bytes, bool upperCase);
CWString Sha256Text(const CQzuMem& bytes, bool upperCase);

// CRC-32 (as in zip and PNG) in upper-case hexadecimal without leading zeros;
// the empty text for an empty buffer.
CWString Crc32Text(const CQzuMem& bytes);
