#include "textlib/open_address.h"

#include "platform/hooks.h"

int IsKeyDown(int virtualKey) {
  // The first query clears the "pressed since the last query" bit, so the
  // second one tells only whether the key is down now.
  GetAsyncKeyState(virtualKey);
  return GetAsyncKeyState(virtualKey) != 0 ? 1 : 0;
}
