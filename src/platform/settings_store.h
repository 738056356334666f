#pragma once
// The per-user settings store (the registry of the current user on Windows). Keys are paths
// below the user's root, such as "Software\Orrindale\Vesperhollow".
#include <cstdint>
#include <string>

namespace vh {

enum class ValueKind { Missing, String, Dword, Other };

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual bool KeyExists(const std::string& key) = 0;
  // Missing when the key or the value is not there.
  virtual ValueKind Kind(const std::string& key, const std::string& name) = 0;
  // Empty text for a missing value or one of another kind.
  virtual std::string ReadString(const std::string& key, const std::string& name) = 0;
  // False for a missing value or one of another kind.
  virtual bool ReadDword(const std::string& key, const std::string& name, uint32_t& value) = 0;
  // Write a value, creating the key and its parents when missing.
  virtual bool WriteString(const std::string& key, const std::string& name, const std::string& value) = 0;
  virtual bool WriteDword(const std::string& key, const std::string& name, uint32_t value) = 0;
};

}  // namespace vh
