#pragma once
// Internal to textlib/charset_detect_count*.cpp: the counting loop of
// CountUtf8Sequences (textlib/charset_detect_count.h), written once and
// compiled once per instruction set. Everything here has internal linkage,
// so that the copies built for different instruction sets never stand in for
// one another at link time; the AVX2 file includes it after its target pragma.
//
// Each valid sequence is made of high bytes (80-FF) only, and no two
// overlap, so the bad bytes are the high bytes that no valid sequence holds:
// their count follows from the count of high bytes and of the valid
// sequences of each length, without marking which bytes they cover. The
// leads are found with bit masks of 64 bytes at a time: a lead is valid when
// the continuation bytes it needs follow it.
//
// The leads E0, ED, F0 and F4 allow only part of the continuation bytes after
// them. An instruction set's Classify drops those that meet a wrong second
// byte from its lead masks while the bytes are still in vector registers,
// reading the second byte by a load one byte further on. It may leave F0 and
// F4 in, for its DropExcludedFourByteLeads to look at only in the blocks
// where a four-byte sequence may start.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "textlib/charset_detect_count.h"

namespace {

// The classes of 64 bytes; value-initialised (`{}`), all zero. `Isa`
// supplies HighCount, a per-lane count of high bytes (at most 4 a lane for
// one block), with Zero, Add and Sum; Classify(p, classes), which adds to
// zeroed classes and for which p[64] must be readable; and
// DropExcludedFourByteLeads(p, good4), which gives `good4`, the leads of the
// block at p that three continuation bytes follow, less the F0 and F4 before
// a second byte they exclude, where Classify has left those in. No member
// initialisers: GCC would build the constructor without the target of the
// AVX2 file.
template <class Isa>
struct ByteClasses {
  typename Isa::HighCount high;  // 80-FF, counted
  uint64_t cont;                 // 80-BF
  uint64_t lead2;                // C2-DF
  uint64_t lead3;                // E0-EF, less E0 and ED before a second byte they exclude
  uint64_t lead4;                // F0-F4, less (or not yet less) F0 and F4 before a second byte they exclude
};

// Set bits of a mask, as one count per byte (0 to 8), without the library
// call that plain x86-64 code makes of the builtin.
inline uint64_t ByteCounts(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555ull;
  x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
  return (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
}

// The sum of the eight byte counts of `x`.
inline uint64_t SumOfBytes(uint64_t x) {
  x = (x & 0x00FF00FF00FF00FFull) + ((x >> 8) & 0x00FF00FF00FF00FFull);
  return (x * 0x0001000100010001ull) >> 48;
}

template <class Isa>
Utf8Counts ScanUtf8(const void* data, size_t size, uint64_t stopAtBadPerValid) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  const size_t blocks = (size + 63) / 64;
  // The last block, whole or not, is read from a copy padded with zero bytes:
  // they are ASCII, so no sequence reaches past the end, and the byte after
  // the block is there to be read. Every other block has its next byte in
  // the buffer.
  uint8_t tail[64 + 32] = {};
  if (blocks) std::memcpy(tail, p + (blocks - 1) * 64, size - (blocks - 1) * 64);
  const auto blockAt = [&](size_t k) { return k + 1 < blocks ? p + 64 * k : tail; };

  // Counts gather per byte lane for a stretch of blocks before they are
  // summed: valid leads are two bytes apart at least, so a lane of 8 bits
  // holds at most 4 a block, and the bytes past the second that three- and
  // four-byte sequences add come to at most 5; a lane of the high-byte count
  // gets 4 a block.
  constexpr size_t kStretch = 32;
  uint64_t valid = 0, high = 0, extra = 0;  // extra: bytes of valid sequences past their second
  uint64_t validLanes = 0, extraLanes = 0;
  typename Isa::HighCount highLanes = Isa::Zero();
  ByteClasses<Isa> next{};
  if (blocks) Isa::Classify(blockAt(0), next);
  for (size_t k = 0; k < blocks; ++k) {
    const ByteClasses<Isa> c = next;
    next = ByteClasses<Isa>{};
    if (k + 1 < blocks) Isa::Classify(blockAt(k + 1), next);
    highLanes = Isa::Add(highLanes, c.high);
    if ((c.lead2 | c.lead3 | c.lead4) != 0) {                    // else no valid sequence starts here
      const uint64_t cont1 = (c.cont >> 1) | (next.cont << 63);  // a continuation byte one further on
      const uint64_t cont2 = (c.cont >> 2) | (next.cont << 62);  // two further on
      uint64_t good4 = c.lead4 & cont1 & cont2 & ((c.cont >> 3) | (next.cont << 61));
      if (good4) [[unlikely]]
        good4 = Isa::DropExcludedFourByteLeads(blockAt(k), good4);
      const uint64_t good34 = (c.lead3 & cont1 & cont2) | good4;
      validLanes += ByteCounts(good34 | (c.lead2 & cont1));
      extraLanes += ByteCounts(good34);
      if (good4) [[unlikely]]
        extraLanes += ByteCounts(good4);
    }
    if ((k + 1) % kStretch == 0 || k + 1 == blocks) {
      valid += SumOfBytes(validLanes);
      extra += SumOfBytes(extraLanes);
      high += Isa::Sum(highLanes);
      validLanes = extraLanes = 0;
      highLanes = Isa::Zero();
      if (stopAtBadPerValid && k + 1 < blocks) {
        // A sequence may reach into the next block, whose bytes are not yet
        // among the high ones: the bad bytes so far are a few more at most.
        const uint64_t bad = high > 2 * valid + extra ? high - 2 * valid - extra : 0;
        // Each valid sequence still to come needs two bytes at least: once
        // the bad bytes exceed every count the valid ones could reach, the
        // answer is known (legacy text gets there within its first tenth or
        // so).
        const uint64_t rest = size - 64 * (k + 1);
        if (bad * stopAtBadPerValid > valid + rest / 2) return Utf8Counts{valid, bad};
      }
    }
  }
  // Padded with ASCII, the last block lets no sequence reach past the end.
  return Utf8Counts{valid, high - 2 * valid - extra};
}

}  // namespace
