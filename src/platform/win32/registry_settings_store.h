#pragma once
#include "platform/settings_store.h"

namespace vh::win32 {

// The settings store in the registry of the current user: strings as REG_SZ (UTF-8 here, UTF-16
// there) and numbers as REG_DWORD. Any other type, REG_EXPAND_SZ included, is reported as Other
// and read as missing.
class RegistrySettingsStore : public vh::SettingsStore {
 public:
  bool KeyExists(const std::string& key) override;
  ValueKind Kind(const std::string& key, const std::string& name) override;
  std::string ReadString(const std::string& key, const std::string& name) override;
  bool ReadDword(const std::string& key, const std::string& name, uint32_t& value) override;
  bool WriteString(const std::string& key, const std::string& name, const std::string& value) override;
  bool WriteDword(const std::string& key, const std::string& name, uint32_t value) override;
};

}  // namespace vh::win32
