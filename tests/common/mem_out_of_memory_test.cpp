// The byte buffer when memory runs out: every operation that needs memory
// reports it (a throw where there is no result, else false) and leaves the
// buffer as it was, whichever of its allocations fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>

#include "common/mem.h"

namespace {

// An allocator that fails on its Nth call (from 1); 0 never fails.
size_t g_failAt = 0;
size_t g_calls = 0;

void* FailingRealloc(void* block, size_t size) {
  if (++g_calls == g_failAt) return nullptr;
  return std::realloc(block, size);
}

// Puts the failing allocator in for the life of the object.
class FailingAllocator {
 public:
  explicit FailingAllocator(size_t failAt) : m_previous(SetQzuMemReallocatorForTests(&FailingRealloc)) {
    g_failAt = failAt;
    g_calls = 0;
  }
  ~FailingAllocator() { SetQzuMemReallocatorForTests(m_previous); }
  FailingAllocator(const FailingAllocator&) = delete;
  FailingAllocator& operator=(const FailingAllocator&) = delete;

 private:
  QzuMemReallocator m_previous;
};

std::string Held(const CQzuMem& m) { return std::string(m.View()); }

// What an operation gives: false when it reported a failure.
using Operation = std::function<bool(CQzuMem& buffer)>;

struct Case {
  const char* name;
  Operation operation;
  std::string after;  // what the buffer holds when nothing fails
  // Constructors and the copy assignment have no answer to give: a failed
  // allocation must throw, and a false answer (such as a short copy) is
  // then a fault, not the report.
  bool throws = false;
};

const std::string kHeld = "0123456789";

TEST(QzuMemOutOfMemory, EveryOperationReportsAFailedAllocationAndKeepsTheBuffer) {
  const std::string big(1000, 'x');
  const CQzuMem bigBuffer(big.data(), big.size());
  const Case cases[] = {
      {"construct from bytes",
       [&](CQzuMem& b) {
         CQzuMem made(big.data(), big.size());
         b = std::move(made);
         return true;
       },
       big, true},
      {"copy construct",
       [](CQzuMem& b) {
         CQzuMem copy(b);
         return Held(copy) == kHeld;
       },
       kHeld, true},
      {"copy assign into a smaller buffer",
       [&](CQzuMem& b) {
         b = bigBuffer;
         return true;
       },
       big, true},
      {"reserve", [](CQzuMem& b) { return b.Reserve(1 << 20); }, kHeld},
      {"grow with set size", [](CQzuMem& b) { return b.SetSize(1000); }, kHeld + std::string(990, '\0')},
      {"grow for overwrite",
       [](CQzuMem& b) {
         if (!b.SetSizeForOverwrite(1000)) return false;
         b.SetSize(10);
         return true;
       },
       kHeld},
      {"append", [&](CQzuMem& b) { return b.Append(big.data(), big.size()); }, kHeld + big},
      {"append from itself", [](CQzuMem& b) { return b.Append(b.GetData() + 2, 8); }, kHeld + "23456789"},
      {"append a byte", [](CQzuMem& b) { return b.AppendByte('y'); }, kHeld + "y"},
      {"assign", [&](CQzuMem& b) { return b.Assign(big.data(), big.size()); }, big},
      {"insert", [&](CQzuMem& b) { return b.Insert(5, big.data(), big.size()); }, "01234" + big + "56789"},
      {"insert from itself", [](CQzuMem& b) { return b.Insert(1, b.GetData() + 5, 5); }, "0567891234" "56789"},
  };
  for (const Case& c : cases) {
    // Each allocation the operation makes fails in turn, until one run makes
    // them all without a failure.
    bool completed = false;
    for (size_t failAt = 1; !completed; ++failAt) {
      ASSERT_LT(failAt, 100u) << c.name;
      // Step 1: the buffer is full, so every operation that adds must grow it.
      CQzuMem buffer(size_t{1});
      ASSERT_TRUE(buffer.Assign(kHeld.data(), kHeld.size()));
      std::string before;
      bool reported = false;
      bool threw = false;
      bool ok = false;
      {
        FailingAllocator allocator(failAt);
        before = Held(buffer);
        try {
          ok = c.operation(buffer);
          reported = !ok;
        } catch (const std::bad_alloc&) {
          reported = threw = true;
        }
        completed = g_calls < failAt;  // the failing call never came
      }
      if (completed) {
        EXPECT_TRUE(ok) << c.name;
        EXPECT_EQ(Held(buffer), c.after) << c.name;
      } else if (c.throws) {
        EXPECT_TRUE(threw) << c.name << ": allocation " << failAt << " failed without a throw"
                           << (ok ? "" : " (a short or wrong result)");
        EXPECT_EQ(Held(buffer), before) << c.name << ": allocation " << failAt << " failed";
      } else {
        EXPECT_TRUE(reported) << c.name << ": allocation " << failAt << " failed without a word";
        EXPECT_EQ(Held(buffer), before) << c.name << ": allocation " << failAt << " failed";
      }
    }
  }
}

// A size no memory can hold is refused, not wrapped around.
TEST(QzuMemOutOfMemory, ImpossibleSizesAreRefused) {
  CQzuMem b(kHeld.data(), kHeld.size());
  EXPECT_FALSE(b.SetSizeForOverwrite(SIZE_MAX - 1));
  EXPECT_FALSE(b.Append(kHeld.data(), SIZE_MAX - 3));
  EXPECT_EQ(Held(b), kHeld);
  EXPECT_THROW(CQzuMem(kHeld.data(), SIZE_MAX - 3), std::bad_alloc);
}

}  // namespace
