#include "platform/system_code_page.h"

#include <atomic>

namespace {
std::atomic<int> g_codePage{936};
}

int GetSystemCodePage() { return g_codePage.load(std::memory_order_relaxed); }

void SetSystemCodePage(int codePage) { g_codePage.store(codePage, std::memory_order_relaxed); }
