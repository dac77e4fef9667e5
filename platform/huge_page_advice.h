#pragma once
// Large conversion results are written into freshly allocated memory, and
// the first touch of each 4 KB page is a fault; on virtual machines those
// faults cost more than the conversion itself (about a second per 100 MB
// seen here). Backing such buffers with 2 MB pages makes them cheap.
#include <cstddef>

// Advises the kernel to use huge pages for a buffer not yet touched; does
// nothing for small buffers or where the advice is not available.
void AdviseHugePages(void* data, size_t size);
