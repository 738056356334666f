#pragma once
// Settings in memory, matched as the registry matches them: key paths and value names in any
// letter case (ASCII folding is enough for the names the program uses). Tests can plant values of
// any kind, take them away and list what a key holds.
#include <cstdint>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/settings_store.h"

namespace vh::test {

class FakeSettingsStore : public SettingsStore {
 public:
  // When set, every write fails, as for a key the user may not change.
  bool failWrites = false;

  // Creates a key with its missing parents.
  void AddKey(const std::string& key) {
    std::string path;
    for (size_t start = 0; start <= key.size();) {
      size_t end = key.find('\\', start);
      if (end == std::string::npos) end = key.size();
      path = key.substr(0, end);
      keys_.try_emplace(Fold(path));
      start = end + 1;
    }
  }
  void PutString(const std::string& key, const std::string& name, const std::string& text) {
    Put(key, name, {ValueKind::String, text, 0});
  }
  void PutDword(const std::string& key, const std::string& name, uint32_t number) {
    Put(key, name, {ValueKind::Dword, {}, number});
  }
  // Any other type of value (binary, expandable text, a number of another size...).
  void PutOther(const std::string& key, const std::string& name, const std::string& bytes = {}) {
    Put(key, name, {ValueKind::Other, bytes, 0});
  }
  // False when there was no such value.
  bool Remove(const std::string& key, const std::string& name) {
    const auto k = keys_.find(Fold(key));
    return k != keys_.end() && k->second.erase(Fold(name)) > 0;
  }
  // Removes a key with everything below it.
  void RemoveKey(const std::string& key) {
    const std::string folded = Fold(key);
    for (auto it = keys_.begin(); it != keys_.end();) {
      const bool below = it->first.size() > folded.size() &&
                         it->first.compare(0, folded.size(), folded) == 0 &&
                         it->first[folded.size()] == '\\';
      it = it->first == folded || below ? keys_.erase(it) : std::next(it);
    }
  }
  // The names of a key's values as they were written, in name order; empty for a missing key.
  std::vector<std::string> Names(const std::string& key) const {
    std::vector<std::string> names;
    const auto k = keys_.find(Fold(key));
    if (k != keys_.end())
      for (const auto& [folded, named] : k->second) names.push_back(named.name);
    return names;
  }

  // The empty path is the user's root, which is always there.
  bool KeyExists(const std::string& key) override {
    return key.empty() || (Usable(key) && keys_.count(Fold(key)) > 0);
  }
  ValueKind Kind(const std::string& key, const std::string& name) override {
    const Value* v = Find(key, name);
    return v ? v->kind : ValueKind::Missing;
  }
  std::string ReadString(const std::string& key, const std::string& name) override {
    const Value* v = Find(key, name);
    return v && v->kind == ValueKind::String ? v->text : std::string();
  }
  bool ReadDword(const std::string& key, const std::string& name, uint32_t& value) override {
    const Value* v = Find(key, name);
    if (!v || v->kind != ValueKind::Dword) return false;
    value = v->number;
    return true;
  }
  bool WriteString(const std::string& key, const std::string& name, const std::string& value) override {
    // The registry's strings end at a null, so one inside cannot be stored.
    if (failWrites || !Usable(key) || !Usable(name) || !Usable(value)) return false;
    PutString(key, name, value);
    return true;
  }
  bool WriteDword(const std::string& key, const std::string& name, uint32_t value) override {
    if (failWrites || !Usable(key) || !Usable(name)) return false;
    PutDword(key, name, value);
    return true;
  }

 private:
  struct Value {
    ValueKind kind;
    std::string text;  // the text of a string, the bytes of any other kind
    uint32_t number;
  };
  struct Named {
    std::string name;  // as written
    Value value;
  };
  using Values = std::map<std::string, Named>;  // folded name -> value

  static std::string Fold(std::string text) {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
  }
  // Text with a null inside names nothing: the real store would see it cut short.
  static bool Usable(const std::string& text) { return text.find('\0') == std::string::npos; }

  void Put(const std::string& key, const std::string& name, Value value) {
    AddKey(key);
    // Writing over a value keeps the name's first spelling, as the registry does.
    auto [it, added] = keys_[Fold(key)].try_emplace(Fold(name), Named{name, value});
    if (!added) it->second.value = std::move(value);
  }
  const Value* Find(const std::string& key, const std::string& name) const {
    if (!Usable(key) || !Usable(name)) return nullptr;
    const auto k = keys_.find(Fold(key));
    if (k == keys_.end()) return nullptr;
    const auto v = k->second.find(Fold(name));
    return v == k->second.end() ? nullptr : &v->second.value;
  }

  std::map<std::string, Values> keys_;  // folded key path -> its values
};

}  // namespace vh::test
