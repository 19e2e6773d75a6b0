#include <gtest/gtest.h>

#include <vector>

#include "base/unique_handle.h"

namespace {

std::vector<int> closed;

struct CountingTraits {
  using Type = int;
  static Type Invalid() { return -1; }
  static void Close(Type handle) { closed.push_back(handle); }
};
using Handle = base::UniqueHandle<CountingTraits>;

TEST(UniqueHandle, ClosesEachHandleExactlyOnce) {
  closed.clear();
  {
    Handle a(3);
    Handle none;
    EXPECT_FALSE(none);
    Handle b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 3);
    *b.Put() = 4;           // 3 closed before the new one is taken
    Handle c(5);
    c = std::move(b);       // 5 closed, 4 moves over
    EXPECT_EQ(c.get(), 4);
    int released = Handle(6).Release();
    EXPECT_EQ(released, 6);
    c.Reset(7);             // 4 closed
  }                         // 7 closed; the empty ones close nothing
  EXPECT_EQ(closed, (std::vector<int>{3, 5, 4, 7}));
}

}  // namespace
