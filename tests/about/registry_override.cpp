#include "registry_override.h"

#include "host/handles.h"

namespace xpboot::test {
namespace {

const char* ValueName(const std::string& name) { return name.empty() ? nullptr : name.c_str(); }

bool KeyExists(HKEY root, const std::string& subkey) {
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(root, subkey.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
  UniqueRegKey key(raw);
  return true;
}

}  // namespace

std::optional<std::string> ReadRegistryString(HKEY root, const std::string& subkey,
                                              const std::string& name) {
  char buffer[2048] = {};
  DWORD size = sizeof buffer - 1;
  if (::RegGetValueA(root, subkey.c_str(), ValueName(name), RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(buffer);
}

RegistryOverride::RegistryOverride(HKEY root, const std::string& subkey, const std::string& name,
                                   const std::string& value)
    : root_(root), subkey_(subkey), name_(name), previous_(ReadRegistryString(root, subkey, name)) {
  for (std::size_t end = 0; end != std::string::npos;) {
    end = subkey.find('\\', end + 1);
    std::string prefix = subkey.substr(0, end);
    if (!KeyExists(root, prefix)) {
      createdKey_ = prefix;
      break;
    }
  }
  HKEY raw = nullptr;
  if (::RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                        nullptr) != ERROR_SUCCESS) {
    return;
  }
  UniqueRegKey key(raw);
  applied_ = ::RegSetValueExA(key.get(), ValueName(name), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

RegistryOverride::~RegistryOverride() {
  if (!createdKey_.empty()) {
    ::RegDeleteTreeA(root_, createdKey_.c_str());
    return;
  }
  HKEY raw = nullptr;
  if (::RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
  UniqueRegKey key(raw);
  if (previous_) {
    ::RegSetValueExA(key.get(), ValueName(name_), 0, REG_SZ,
                     reinterpret_cast<const BYTE*>(previous_->c_str()),
                     static_cast<DWORD>(previous_->size() + 1));
  } else {
    ::RegDeleteValueA(key.get(), ValueName(name_));
  }
}

}  // namespace xpboot::test
