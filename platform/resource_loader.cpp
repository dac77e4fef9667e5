#include "platform/resource_loader.h"

#include <map>
#include <mutex>
#include <utility>

#include "resources/builtin_resources.h"

namespace {
std::mutex g_lock;
std::map<int, std::pair<const unsigned char*, size_t>> g_registered;
}  // namespace

void RegisterResource(int id, const void* data, size_t size) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (!data) g_registered.erase(id);
  else g_registered[id] = {static_cast<const unsigned char*>(data), size};
}

bool FindResource(int id, const unsigned char** data, size_t* size) {
  {
    std::lock_guard<std::mutex> guard(g_lock);
    auto it = g_registered.find(id);
    if (it != g_registered.end()) {
      *data = it->second.first;
      *size = it->second.second;
      return true;
    }
  }
  return FindBuiltInResource(id, data, size);
}

CQzuMem LoadResourceBytes(int id) {
  const unsigned char* data = nullptr;
  size_t size = 0;
  if (!FindResource(id, &data, &size)) return CQzuMem();
  return CQzuMem(data, size);
}
