#include <gtest/gtest.h>

#include <vector>

#include "os/fake/fake_os.h"
#include "os/unique_handle.h"

namespace {

std::vector<int> closed;

struct CountingTraits {
  using Type = int;
  static Type Invalid() { return -1; }
  static void Close(Type handle) { closed.push_back(handle); }
};
using Handle = os::UniqueHandle<CountingTraits>;

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

TEST(ScopedKey, ClosesTheKeyItOpened) {
  os::fake::FakeOs machine;
  auto& reg = machine.registry;
  {
    os::ScopedKey key(reg);
    ASSERT_EQ(reg.CreateKey(os::RootKey::kCurrentUser, L"A", 0x3F, key.Put()), os::kOk);
    ASSERT_EQ(reg.CreateKey(os::RootKey::kCurrentUser, L"B", 0x3F, key.Put()), os::kOk);  // A closed
    EXPECT_EQ(reg.OpenHandles(), 1);
    os::ScopedKey never(reg);
    EXPECT_NE(reg.OpenKey(os::RootKey::kCurrentUser, L"C", 0x3F, never.Put()), os::kOk);
  }
  EXPECT_EQ(reg.OpenHandles(), 0);
  EXPECT_EQ(reg.CallsOf("CloseKey").size(), 2u);  // nothing closed for the key that never opened
}

}  // namespace
