#pragma once
// Resources by numeric id (the program's RCDATA): the bytes embedded from
// resources/rcdata/, or bytes registered at run time (tests, generated data).
#include <cstddef>

#include "common/mem.h"

// Registered bytes take precedence over embedded ones; the caller keeps the
// data alive while it is registered. A null pointer removes the registration.
void RegisterResource(int id, const void* data, size_t size);
// Borrowed view of a resource; false when there is none.
bool FindResource(int id, const unsigned char** data, size_t* size);
// A copy of the resource's bytes; an empty buffer when there is none.
CQzuMem LoadResourceBytes(int id);
