#include <gtest/gtest.h>

#include "os/fake/fake_os.h"

namespace {

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
