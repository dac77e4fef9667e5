#include "platform/huge_page_advice.h"

#include <sys/mman.h>

#include <cstdint>

void AdviseHugePages(void* data, size_t size) {
#if defined(MADV_HUGEPAGE)
  constexpr size_t kHugePage = size_t{2} << 20;
  if (!data || size < 2 * kHugePage) return;
  // Only whole huge pages inside the buffer can be backed by one.
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~(kHugePage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}
