#pragma once
// CountUtf8Sequences: the counting scan behind LooksLikeUtf8, for textlib and
// its tests and benchmarks only; everyone else asks LooksLikeUtf8
// (textlib/charset_detect.h).
//
// The scan decides byte by byte: an ASCII byte moves it on one; a lead byte
// followed by the continuation bytes it needs, forming a character UTF-8 can
// write, is one valid sequence and moves it past them; anything else is one
// bad byte. Valid are C2-DF + 1, E0-EF + 2 and F0-F4 + 3 continuation bytes,
// except the forms that never occur in UTF-8: the leads C0 and C1 (ASCII
// written the long way), E0 before 80-9F (overlong), ED before A0-BF
// (surrogates), F0 before 80-8F (overlong) and F4 before 90-BF (past
// U+10FFFF); F5-FF lead nothing.
#include <cstddef>
#include <cstdint>

struct Utf8Counts {
  uint64_t valid = 0;    // well-formed sequences of two to four bytes
  uint64_t invalid = 0;  // bad bytes
};

// The counts of `size` bytes at `data`. With `stopAtBadPerValid` n > 0 the
// scan may end early, with partial counts, once invalid * n exceeds every
// count of valid sequences the rest could still bring; with 0 it goes to the
// end. Uses the widest instruction set of the processor.
Utf8Counts CountUtf8Sequences(const void* data, size_t size, uint64_t stopAtBadPerValid);

// The length (1 to 3) of a well-formed beginning of a sequence that the end of
// the buffer cuts off: a lead byte and the continuation bytes that follow it,
// fewer than it needs, each allowed where it stands (E0 wants A0-BF next, ED
// 80-9F, F0 90-BF, F4 80-8F). 0 when the buffer ends otherwise. The scan
// counts those bytes as bad ones.
size_t Utf8CutTailLength(const void* data, size_t size);

// The builds of the scan, so that tests can hold each against the plain
// rule: the baseline (SSE2 on x86-64, byte by byte elsewhere) runs
// everywhere; the AVX2 one is built by GCC for x86-64 and runs where the
// processor has AVX2.
inline constexpr int kUtf8ScanBaseline = 0;
inline constexpr int kUtf8ScanAvx2 = 1;
bool Utf8ScanAvailable(int instructionSet);
// CountUtf8Sequences with the given build, the baseline when that one is not
// available.
Utf8Counts CountUtf8SequencesWith(int instructionSet, const void* data, size_t size, uint64_t stopAtBadPerValid);

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && !defined(__AVX2__)
#define QZU_UTF8_SCAN_AVX2 1
// The AVX2 build; call it only where Utf8ScanAvailable(kUtf8ScanAvx2).
Utf8Counts CountUtf8SequencesAvx2(const void* data, size_t size, uint64_t stopAtBadPerValid);
#else
#define QZU_UTF8_SCAN_AVX2 0
#endif
