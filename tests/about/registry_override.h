// A registry string value set for the life of a test, then put back as it was.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace xpboot::test {

class RegistryOverride {
 public:
  // An empty name stands for the key's default value. Keys that are missing are created,
  // and removed again afterwards.
  RegistryOverride(HKEY root, const std::string& subkey, const std::string& name,
                   const std::string& value);
  ~RegistryOverride();
  RegistryOverride(const RegistryOverride&) = delete;
  RegistryOverride& operator=(const RegistryOverride&) = delete;

  bool applied() const { return applied_; }

 private:
  HKEY root_;
  std::string subkey_;
  std::string name_;
  std::optional<std::string> previous_;
  std::string createdKey_;  // the outermost key that did not exist before
  bool applied_ = false;
};

// The string value, or nothing when the key or the value is missing.
std::optional<std::string> ReadRegistryString(HKEY root, const std::string& subkey,
                                              const std::string& name);

}  // namespace xpboot::test
