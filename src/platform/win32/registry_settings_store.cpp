#include "platform/win32/registry_settings_store.h"

#include <windows.h>

#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/win32/wide.h"

namespace vh::win32 {
namespace {

class Key {
 public:
  Key() = default;
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return h_; }
  HKEY* out() { return &h_; }

 private:
  HKEY h_ = nullptr;
};

// Text for the API. A null inside would silently cut it short, naming another key or value or
// storing less than asked, so such text is refused.
std::optional<std::wstring> ToApi(const std::string& text) {
  if (text.find('\0') != std::string::npos) return std::nullopt;
  return Widen(text);
}

bool OpenForReading(const std::string& key, Key& out) {
  const auto wideKey = ToApi(key);
  return wideKey &&
         RegOpenKeyExW(HKEY_CURRENT_USER, wideKey->c_str(), 0, KEY_READ, out.out()) == ERROR_SUCCESS;
}

bool SetValue(const std::string& key, const std::string& name, DWORD type, const void* data,
              DWORD bytes) {
  const auto wideKey = ToApi(key);
  const auto wideName = ToApi(name);
  if (!wideKey || !wideName) return false;
  Key k;
  // Creates every missing key along the path, not only the last.
  if (RegCreateKeyExW(HKEY_CURRENT_USER, wideKey->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_WRITE, nullptr, k.out(), nullptr) != ERROR_SUCCESS)
    return false;
  return RegSetValueExW(k.get(), wideName->c_str(), 0, type, static_cast<const BYTE*>(data), bytes) ==
         ERROR_SUCCESS;
}

}  // namespace

bool RegistrySettingsStore::KeyExists(const std::string& key) {
  Key k;
  return OpenForReading(key, k);
}

ValueKind RegistrySettingsStore::Kind(const std::string& key, const std::string& name) {
  const auto wideName = ToApi(name);
  Key k;
  if (!wideName || !OpenForReading(key, k)) return ValueKind::Missing;
  DWORD type = REG_NONE;
  DWORD bytes = 0;
  if (RegQueryValueExW(k.get(), wideName->c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
    return ValueKind::Missing;
  if (type == REG_SZ) return ValueKind::String;
  // The type is only a label: a "DWORD" of another length cannot be read as one.
  if (type == REG_DWORD && bytes == sizeof(DWORD)) return ValueKind::Dword;
  return ValueKind::Other;
}

std::string RegistrySettingsStore::ReadString(const std::string& key, const std::string& name) {
  const auto wideName = ToApi(name);
  Key k;
  if (!wideName || !OpenForReading(key, k)) return {};
  DWORD type = REG_NONE;
  DWORD bytes = 0;
  if (RegQueryValueExW(k.get(), wideName->c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ)
    return {};
  try {
    // Someone may rewrite the value between the two calls; a few tries with the new size.
    for (int attempt = 0; attempt < 4; ++attempt) {
      // One spare character, so an odd byte count still fits in whole characters.
      const size_t chars = bytes / sizeof(wchar_t) + 1;
      if (chars > MAXDWORD / sizeof(wchar_t)) return {};
      std::vector<wchar_t> buffer(chars, L'\0');
      DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
      const LONG status = RegQueryValueExW(k.get(), wideName->c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(buffer.data()), &got);
      if (status == ERROR_MORE_DATA) {
        bytes = got;
        continue;
      }
      if (status != ERROR_SUCCESS || type != REG_SZ) return {};
      // The stored text need not end in a null: take only the characters the call reported,
      // and stop at the first null inside them, as every reader of REG_SZ does.
      std::wstring_view text(buffer.data(), got / sizeof(wchar_t));
      const size_t end = text.find(L'\0');
      if (end != std::wstring_view::npos) text = text.substr(0, end);
      return Narrow(text);
    }
  } catch (const std::bad_alloc&) {
  }
  return {};
}

bool RegistrySettingsStore::ReadDword(const std::string& key, const std::string& name,
                                      uint32_t& value) {
  const auto wideName = ToApi(name);
  Key k;
  if (!wideName || !OpenForReading(key, k)) return false;
  DWORD type = REG_NONE;
  DWORD data = 0;
  DWORD bytes = sizeof(data);
  // A longer value fails with ERROR_MORE_DATA; a shorter one is caught by the length check.
  if (RegQueryValueExW(k.get(), wideName->c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data),
                       &bytes) != ERROR_SUCCESS ||
      type != REG_DWORD || bytes != sizeof(data))
    return false;
  value = data;
  return true;
}

bool RegistrySettingsStore::WriteString(const std::string& key, const std::string& name,
                                        const std::string& value) {
  const auto wideValue = ToApi(value);
  if (!wideValue) return false;
  // The stored size counts the terminating null, which c_str() provides.
  const size_t bytes = (wideValue->size() + 1) * sizeof(wchar_t);
  if (bytes > MAXDWORD) return false;
  return SetValue(key, name, REG_SZ, wideValue->c_str(), static_cast<DWORD>(bytes));
}

bool RegistrySettingsStore::WriteDword(const std::string& key, const std::string& name,
                                       uint32_t value) {
  const DWORD data = value;
  return SetValue(key, name, REG_DWORD, &data, sizeof(data));
}

}  // namespace vh::win32
