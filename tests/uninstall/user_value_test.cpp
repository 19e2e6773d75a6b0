#include <gtest/gtest.h>

#include "kit/form.h"
#include "os/fake/fake_os.h"
#include "uninstall/recorded_folder.h"
#include "uninstall/user_value.h"

namespace {

using gorvix::ValueHolder;
using os::RootKey;

const std::wstring kKey = L"Software\\Zentrik\\Elemora";

TEST(ReadRegistryValue, TextsNumbersAndOtherTypes) {
  os::fake::FakeRegistry registry;
  registry.PutText(RootKey::kCurrentUser, kKey, L"dir", L"C:\\Program Files\\Zentrik");
  registry.PutText(RootKey::kCurrentUser, kKey, L"empty", L"");
  registry.PutDword(RootKey::kCurrentUser, kKey, L"count", 0xFFFFFFFFu);
  registry.PutKey(RootKey::kCurrentUser, kKey);
  os::KeyHandle key = 0;
  ASSERT_EQ(registry.OpenKey(RootKey::kCurrentUser, kKey, 0x3F, &key), os::kOk);

  ValueHolder h;
  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"DIR", h), os::kOk);
  EXPECT_EQ(h.kind, ValueHolder::Kind::kText);
  EXPECT_EQ(h.text, L"C:\\Program Files\\Zentrik");

  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"empty", h), os::kOk);
  EXPECT_EQ(h.kind, ValueHolder::Kind::kText);
  EXPECT_EQ(h.AsText(), L"");

  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"count", h), os::kOk);
  EXPECT_EQ(h.kind, ValueHolder::Kind::kNumber);
  EXPECT_EQ(h.AsText(), L"-1");   // a signed 32-bit number

  // A missing value and a value of another type leave the holder alone.
  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"nothing", h), os::kFileNotFound);
  EXPECT_EQ(h.AsText(), L"-1");
  os::KeyHandle w = 0;
  registry.OpenKey(RootKey::kCurrentUser, kKey, 0x3F, &w);
  registry.SetValue(w, L"blob", 3, {1, 2, 3});
  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"blob", h), -1);
  EXPECT_EQ(h.kind, ValueHolder::Kind::kNumber);
  // A text stored without its closing zero loses its last character.
  registry.SetValue(w, L"raw", os::kRegSz, {'A', 0, 'B', 0});
  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"raw", h), os::kOk);
  EXPECT_EQ(h.text, L"A");
  // A zero-length text is the empty text.
  registry.SetValue(w, L"none", os::kRegSz, {});
  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"none", h), os::kOk);
  EXPECT_EQ(h.kind, ValueHolder::Kind::kText);
  EXPECT_EQ(h.text, L"");
}

// Size queries succeed, reads of the data fail.
struct FailingReads : os::fake::FakeRegistry {
  long QueryValue(os::KeyHandle key, const std::wstring& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data, std::uint32_t* size) override {
    long r = FakeRegistry::QueryValue(key, name, type, data, size);
    return data ? 234 : r;
  }
};

TEST(ReadRegistryValue, AFailingReadEmptiesATextButNotANumber) {
  FailingReads registry;
  registry.PutText(RootKey::kCurrentUser, kKey, L"dir", L"C:\\x");
  registry.PutDword(RootKey::kCurrentUser, kKey, L"n", 7);
  os::KeyHandle key = 0;
  registry.OpenKey(RootKey::kCurrentUser, kKey, 0x3F, &key);
  ValueHolder h;
  h.SetNumber(5);
  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"n", h), 234);
  EXPECT_EQ(h.number, 5);
  EXPECT_EQ(gorvix::ReadRegistryValue(registry, key, L"dir", h), 234);
  EXPECT_EQ(h.kind, ValueHolder::Kind::kText);
  EXPECT_EQ(h.text, L"");
}

TEST(GetUserValue, ShowsTheValueInRegAndClosesTheKey) {
  os::fake::FakeRegistry registry;
  kit::Form form("Form1");
  kit::Label reg(form, "reg");
  reg.caption = L"reg";
  registry.PutText(RootKey::kCurrentUser, kKey, L"Sdir", L"C:\\Menu\\Zentrik\\");
  registry.PutDword(RootKey::kCurrentUser, kKey, L"n", 42);

  EXPECT_EQ(gorvix::GetUserValue(registry, kKey, L"Sdir", reg).text, L"C:\\Menu\\Zentrik\\");
  EXPECT_EQ(reg.caption, L"C:\\Menu\\Zentrik\\");
  auto opens = registry.CallsOf("OpenKey");
  ASSERT_EQ(opens.size(), 1u);
  EXPECT_EQ(opens[0].root, RootKey::kCurrentUser);
  EXPECT_EQ(opens[0].access, 0x3Fu);

  gorvix::GetUserValue(registry, kKey, L"n", reg);
  EXPECT_EQ(reg.caption, L"42");
  gorvix::GetUserValue(registry, kKey, L"missing", reg);
  EXPECT_EQ(reg.caption, L"");
  gorvix::GetUserValue(registry, L"Software\\Nobody", L"dir", reg);
  EXPECT_EQ(reg.caption, L"");
  EXPECT_EQ(registry.OpenHandles(), 0);
}

TEST(RecordedFolder, OnlyDefiniteFoldersBelowARootAndAwayFromTheSystem) {
  const std::wstring win = L"C:\\windows";
  struct Case { const wchar_t* value; const wchar_t* folder; };
  const Case cases[] = {
      {L"C:\\Program Files\\Zentrik", L"C:\\Program Files\\Zentrik"},
      {L"D:\\Apps\\Zentrik\\", L"D:\\Apps\\Zentrik"},
      {L"C:\\windows\\Start Menu\\Programs\\Zentrik\\", L"C:\\windows\\Start Menu\\Programs\\Zentrik"},
      {L"C:\\Програми\\Зентрик", L"C:\\Програми\\Зентрик"},
      {L"", nullptr},
      {L"\\", nullptr},
      {L"C:", nullptr},
      {L"C:\\", nullptr},
      {L"C:Zentrik", nullptr},
      {L"Zentrik", nullptr},
      {L"\\Zentrik", nullptr},
      {L"\\\\server\\share\\Zentrik", nullptr},
      {L"\\\\?\\C:\\Zentrik", nullptr},
      {L"C:/Zentrik", nullptr},
      {L"C:\\Program Files\\Zentrik\\..\\..\\windows", nullptr},
      {L"C:\\Program Files\\.\\Zentrik", nullptr},
      {L"C:\\Program Files\\\\Zentrik", nullptr},
      {L"C:\\Zentrik\\\\", nullptr},
      {L"C:\\Zentrik\\*", nullptr},
      {L"C:\\Zentrik\\a:b", nullptr},
      {L"C:\\Zentrik\\x\ty", nullptr},
      {L"C:\\Zentrik\\", L"C:\\Zentrik"},
      {L"C:\\windows", nullptr},
      {L"c:\\WINDOWS\\", nullptr},
      {L"C:\\windows.", nullptr},
      {L"C:\\windows ", nullptr},
      {L"C:\\windows\\System", nullptr},
      {L"C:\\windows\\system32\\drivers", nullptr},
      {L"C:\\windows\\Zentrik", L"C:\\windows\\Zentrik"},
      {L"C:\\windowsZ", L"C:\\windowsZ"},
      // What the installer once proposed on a drive other than C: a doubled
      // separator right after the drive, and nothing else amiss.
      {L"D:\\\\Zentrik", L"D:\\Zentrik"},
      {L"d:\\\\Zentrik\\", L"d:\\Zentrik"},
      {L"C:\\\\Program Files\\Zentrik", L"C:\\Program Files\\Zentrik"},
      {L"D:\\\\\\Zentrik", nullptr},
      {L"D:\\\\", nullptr},
      {L"D:\\\\\\", nullptr},
      {L"D:\\\\Zentrik\\\\", nullptr},
      {L"D:\\\\Zentrik\\\\x", nullptr},
      {L"D:\\\\..\\windows", nullptr},
      {L"C:\\\\windows", nullptr},
      {L"C:\\\\windows\\System32", nullptr},
      {L"\\\\\\Zentrik", nullptr},
      {L"\\\\D:\\Zentrik", nullptr},
  };
  for (const Case& c : cases) {
    auto got = gorvix::RecordedFolder(c.value, win);
    if (c.folder) {
      EXPECT_EQ(got.value_or(L"<refused>"), c.folder) << c.value;
    } else {
      EXPECT_FALSE(got) << c.value;
    }
  }
  std::wstring with_nul(L"C:\\Zentrik");
  with_nul.push_back(L'\0');
  with_nul += L"x";
  EXPECT_FALSE(gorvix::RecordedFolder(with_nul, win));
  // Without the system's answer, C:\Windows is assumed.
  EXPECT_FALSE(gorvix::RecordedFolder(L"C:\\Windows\\System32", L""));
  EXPECT_FALSE(gorvix::RecordedFolder(L"C:\\WINNT", L"C:\\WINNT"));
}

}  // namespace
