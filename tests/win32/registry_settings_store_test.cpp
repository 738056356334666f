// The registry store against Wine's (or Windows') registry, and the fake held to the same
// behaviour, so the logic's tests on the fake see what the program will see.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "fake_settings_store.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/wide.h"

namespace vh::win32 {
namespace {

// Text from several scripts, one character outside the basic plane.
const std::string kWorld = "\xCE\xA9 \xE6\x97\xA5 \xF0\x9F\x98\x80 caf\xC3\xA9";
const std::string kParent = "Software\\VesperhollowTest";

// A key of this process only, removed before and after (a crashed run with the same id leaves one).
class TestKey {
 public:
  TestKey() : path(kParent + "\\" + std::to_string(GetCurrentProcessId())) { Remove(); }
  ~TestKey() {
    Remove();
    // Fails, as it should, while another run still has its key there.
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kParent).c_str());
  }
  TestKey(const TestKey&) = delete;
  TestKey& operator=(const TestKey&) = delete;
  void Remove() { RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str()); }

  const std::string path;
};

// Writes a value of any type and bytes with the raw API, bypassing the store.
void PutRaw(const std::string& key, const std::string& name, DWORD type, const void* data,
            DWORD bytes) {
  HKEY k;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &k, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(k, Widen(name).c_str(), 0, type, static_cast<const BYTE*>(data), bytes),
            ERROR_SUCCESS);
  RegCloseKey(k);
}

struct RegistryBackend {
  TestKey key;
  const std::string& root = key.path;
  RegistrySettingsStore store;
  void PutBinary(const std::string& k, const std::string& name, const std::string& bytes) {
    PutRaw(k, name, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
  }
};

struct FakeBackend {
  const std::string root = kParent + "\\1";
  test::FakeSettingsStore store;
  void PutBinary(const std::string& k, const std::string& name, const std::string& bytes) {
    store.PutOther(k, name, bytes);
  }
};

template <typename Backend>
class RegistryContractTest : public ::testing::Test {
 protected:
  Backend backend;
  SettingsStore& store = backend.store;
  const std::string root = backend.root;
  const std::string settings = root + "\\Orrindale\\Vesperhollow";
};

struct BackendNames {
  template <typename T>
  static std::string GetName(int) {
    return std::is_same_v<T, RegistryBackend> ? "Registry" : "Fake";
  }
};
using Backends = ::testing::Types<RegistryBackend, FakeBackend>;
TYPED_TEST_SUITE(RegistryContractTest, Backends, BackendNames);

TYPED_TEST(RegistryContractTest, StringsAndNumbersRoundTrip) {
  SettingsStore& s = this->store;
  const std::string key = this->settings + "\\" + kWorld;
  const std::string longText = std::string(5000, 'x') + kWorld;
  for (const std::string& text : {std::string(), std::string("D:\\Backups\\"), kWorld, longText}) {
    ASSERT_TRUE(s.WriteString(key, "Store", text));
    EXPECT_EQ(s.Kind(key, "Store"), ValueKind::String);
    EXPECT_EQ(s.ReadString(key, "Store"), text);
  }
  for (uint32_t number : {0u, 1u, 3540u, 0xFFFFFFFFu}) {
    ASSERT_TRUE(s.WriteDword(key, "Width", number));
    uint32_t read = 12345;
    ASSERT_TRUE(s.ReadDword(key, "Width", read));
    EXPECT_EQ(read, number);
    EXPECT_EQ(s.Kind(key, "Width"), ValueKind::Dword);
  }
  // A write replaces a value of the other kind.
  ASSERT_TRUE(s.WriteDword(key, "Store", 7));
  EXPECT_EQ(s.Kind(key, "Store"), ValueKind::Dword);
  EXPECT_EQ(s.ReadString(key, "Store"), "");
}

TYPED_TEST(RegistryContractTest, MissingAndOtherKindsReadAsNothing) {
  SettingsStore& s = this->store;
  const std::string& key = this->settings;
  uint32_t number = 77;
  EXPECT_FALSE(s.KeyExists(key));
  EXPECT_EQ(s.Kind(key, "Width"), ValueKind::Missing);
  EXPECT_EQ(s.ReadString(key, "Width"), "");
  EXPECT_FALSE(s.ReadDword(key, "Width", number));

  ASSERT_TRUE(s.WriteString(key, "Text", "3540"));
  this->backend.PutBinary(key, "Binary", std::string("\xD4\x0D\0\0", 4));
  EXPECT_TRUE(s.KeyExists(key));
  EXPECT_EQ(s.Kind(key, "Width"), ValueKind::Missing);
  EXPECT_FALSE(s.ReadDword(key, "Width", number));
  // Four bytes that look like a number are still not one.
  EXPECT_EQ(s.Kind(key, "Binary"), ValueKind::Other);
  EXPECT_FALSE(s.ReadDword(key, "Binary", number));
  EXPECT_EQ(s.ReadString(key, "Binary"), "");
  EXPECT_EQ(s.Kind(key, "Text"), ValueKind::String);
  EXPECT_FALSE(s.ReadDword(key, "Text", number));
  // A failed read leaves the caller's default alone.
  EXPECT_EQ(number, 77u);
}

TYPED_TEST(RegistryContractTest, WritesCreateMissingParents) {
  SettingsStore& s = this->store;
  ASSERT_TRUE(s.WriteString(this->settings + "\\Window", "Caption", "x"));
  ASSERT_TRUE(s.WriteDword(this->root + "\\A\\B\\C", "Left", 5));
  for (const char* sub : {"\\Orrindale", "\\Orrindale\\Vesperhollow", "\\Orrindale\\Vesperhollow\\Window",
                          "\\A", "\\A\\B", "\\A\\B\\C"})
    EXPECT_TRUE(s.KeyExists(this->root + sub)) << sub;
}

TYPED_TEST(RegistryContractTest, KeysAndNamesMatchInAnyCase) {
  SettingsStore& s = this->store;
  ASSERT_TRUE(s.WriteDword(this->settings, "Width", 3540));
  uint32_t number = 0;
  EXPECT_TRUE(s.ReadDword(this->root + "\\ORRINDALE\\vesperHOLLOW", "wIDTH", number));
  EXPECT_EQ(number, 3540u);
  ASSERT_TRUE(s.WriteDword(this->root + "\\orrindale\\vesperhollow", "WIDTH", 1));
  EXPECT_TRUE(s.ReadDword(this->settings, "Width", number));
  EXPECT_EQ(number, 1u);
}

TYPED_TEST(RegistryContractTest, NullInsideTextNamesNothing) {
  SettingsStore& s = this->store;
  const std::string cut("Wid\0th", 6);
  EXPECT_FALSE(s.WriteDword(this->settings, cut, 1));
  EXPECT_FALSE(s.WriteString(this->settings, "Store", std::string("D:\0E:", 5)));
  ASSERT_TRUE(s.WriteDword(this->settings, "Wid", 2));
  uint32_t number = 0;
  EXPECT_FALSE(s.ReadDword(this->settings, cut, number));
  EXPECT_EQ(s.Kind(this->settings, "Store"), ValueKind::Missing);
}

// What only the registry can hold, and the form the store leaves there for other readers.
class RegistrySettingsStoreTest : public ::testing::Test {
 protected:
  TestKey key;
  RegistrySettingsStore store;
  const std::string& path = key.path;

  // The raw type and bytes of a (small) value.
  DWORD Raw(const std::string& name, std::wstring& data) {
    DWORD type = REG_NONE, bytes = 64 * sizeof(wchar_t);
    data.assign(64, L'\0');
    RegGetValueW(HKEY_CURRENT_USER, Widen(path).c_str(), Widen(name).c_str(), RRF_RT_ANY, &type,
                 data.data(), &bytes);
    data.resize(bytes / sizeof(wchar_t));
    return type;
  }
};

TEST_F(RegistrySettingsStoreTest, StoresUtf16TextAndFourByteNumbers) {
  ASSERT_TRUE(store.WriteString(path, "Store", kWorld));
  ASSERT_TRUE(store.WriteDword(path, "Width", 0x00020001));
  std::wstring data;
  EXPECT_EQ(Raw("Store", data), static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(data, Widen(kWorld) + L'\0');
  EXPECT_EQ(Raw("Width", data), static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(data, std::wstring(L"\x0001\x0002"));
}

TEST_F(RegistrySettingsStoreTest, TextEndsWhereTheStoredBytesOrAFirstNullEnd) {
  PutRaw(path, "Bare", REG_SZ, L"abc", 6);  // no terminating null
  PutRaw(path, "Odd", REG_SZ, L"abc", 7);   // and half a character more
  PutRaw(path, "Inner", REG_SZ, L"ab\0cd", 10);
  PutRaw(path, "Empty", REG_SZ, L"", 0);
  EXPECT_EQ(store.ReadString(path, "Bare"), "abc");
  EXPECT_EQ(store.ReadString(path, "Odd"), "abc");
  EXPECT_EQ(store.ReadString(path, "Inner"), "ab");
  EXPECT_EQ(store.ReadString(path, "Empty"), "");
  EXPECT_EQ(store.Kind(path, "Empty"), ValueKind::String);
}

TEST_F(RegistrySettingsStoreTest, OtherTypesAndSizesAreOther) {
  const ULONGLONG number = 3540;
  PutRaw(path, "Expand", REG_EXPAND_SZ, L"%TEMP%", 14);
  PutRaw(path, "Short", REG_DWORD, &number, 2);
  PutRaw(path, "Big", REG_DWORD_BIG_ENDIAN, &number, 4);
  PutRaw(path, "Qword", REG_QWORD, &number, 8);
  for (const char* name : {"Expand", "Short", "Big", "Qword"}) {
    uint32_t read = 0;
    EXPECT_EQ(store.Kind(path, name), ValueKind::Other) << name;
    EXPECT_FALSE(store.ReadDword(path, name, read)) << name;
    EXPECT_EQ(store.ReadString(path, name), "") << name;
  }
}

// The value of a handle opened now. Freed handle slots are reused, so with no key left open by the
// store it comes back the same; each leaked key pushes it higher. (Wine does not count handles.)
uintptr_t NextHandle() {
  HKEY probe = nullptr;
  RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, &probe);
  RegCloseKey(probe);
  return reinterpret_cast<uintptr_t>(probe);
}

TEST_F(RegistrySettingsStoreTest, KeysAreClosedAfterEveryCall) {
  ASSERT_TRUE(store.WriteDword(path, "Width", 1));
  const uintptr_t before = NextHandle();
  for (int i = 0; i < 100; ++i) {
    uint32_t number;
    store.KeyExists(path);
    store.Kind(path, "Width");
    store.ReadString(path, "Width");
    store.ReadDword(path, "Width", number);
    store.ReadDword(path, "Missing", number);
    store.WriteString(path, "Store", "x");
    store.WriteDword(path, "Width", 2);
  }
  // Handle values step by four; a key left open on any one path would be a hundred of them.
  EXPECT_LT(static_cast<intptr_t>(NextHandle() - before), 4 * 50);
}

}  // namespace
}  // namespace vh::win32
