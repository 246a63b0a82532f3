#include "platform/portable/memory_registry.h"

#include <algorithm>

#include "platform/automation.h"
#include "platform/code_page.h"

namespace platform {
namespace {

std::string_view TrimSeparators(std::string_view path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\')
    path.remove_suffix(1);
  return path;
}

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string FullPath(RegistryRoot root, std::string_view path) {
  std::string full(RootName(root));
  path = TrimSeparators(path);
  if (!path.empty()) full.append("\\").append(path);
  return full;
}

}  // namespace

class MemoryRegistryKey final : public RegistryKey {
 public:
  MemoryRegistryKey(MemoryRegistry& registry, std::string id, bool writable)
      : registry_(registry), id_(std::move(id)), writable_(writable) {}

  std::optional<std::string> ReadString(std::string_view name) override {
    const MemoryRegistry::Value* value = Find(name);
    if (!value || value->type != MemoryRegistry::Value::Type::kString) return std::nullopt;
    return value->text;
  }

  std::optional<uint32_t> ReadDword(std::string_view name) override {
    const MemoryRegistry::Value* value = Find(name);
    if (!value || value->type != MemoryRegistry::Value::Type::kDword) return std::nullopt;
    return value->dword;
  }

  void WriteString(std::string_view name, std::string_view text) override {
    MemoryRegistry::Value& value = Slot(name);
    value = {MemoryRegistry::Value::Type::kString, std::string(text), 0};
  }

  // The portable machine's ANSI code page is Windows-1252, and its registry keeps ANSI text.
  void WriteWideString(std::string_view name, std::u16string_view text) override {
    WriteString(name, Windows1252().ToAnsi(text));
  }

  void WriteDword(std::string_view name, uint32_t dword) override {
    MemoryRegistry::Value& value = Slot(name);
    value = {MemoryRegistry::Value::Type::kDword, {}, dword};
  }

  bool DeleteValue(std::string_view name) override {
    MemoryRegistry::Key& key = Writable();
    const auto removed = std::erase_if(
        key.values, [&](const auto& entry) { return SameMemberName(entry.first, name); });
    if (removed > 0) ++registry_.changes;
    return removed > 0;
  }

 private:
  const MemoryRegistry::Value* Find(std::string_view name) {
    MemoryRegistry::Key* key = registry_.FindKey(id_);
    if (!key) return nullptr;
    for (const auto& [valueName, value] : key->values) {
      if (SameMemberName(valueName, name)) return &value;
    }
    return nullptr;
  }

  MemoryRegistry::Key& Writable() {
    if (!writable_) throw RegistryError("Access is denied: the key was opened for reading");
    MemoryRegistry::Key* key = registry_.FindKey(id_);
    if (!key) throw RegistryError("The key has been deleted");
    return *key;
  }

  MemoryRegistry::Value& Slot(std::string_view name) {
    MemoryRegistry::Key& key = Writable();
    ++registry_.changes;
    for (auto& [valueName, value] : key.values) {
      if (SameMemberName(valueName, name)) return value;
    }
    return key.values.emplace_back(std::string(name), MemoryRegistry::Value{}).second;
  }

  MemoryRegistry& registry_;
  std::string id_;
  bool writable_;
};

MemoryRegistry::Key* MemoryRegistry::FindKey(const std::string& id) {
  auto found = keys_.find(id);
  return found == keys_.end() ? nullptr : &found->second;
}

const MemoryRegistry::Key* MemoryRegistry::Find(RegistryRoot root, std::string_view path) const {
  auto found = keys_.find(Upper(FullPath(root, path)));
  return found == keys_.end() ? nullptr : &found->second;
}

MemoryRegistry::Key& MemoryRegistry::MakeKey(RegistryRoot root, std::string_view path) {
  // The parents exist too, as they do in the real registry.
  path = TrimSeparators(path);
  Key* made = nullptr;
  std::size_t end = 0;
  do {
    end = path.find('\\', end + 1);
    const std::string full = FullPath(root, path.substr(0, end));
    auto [it, inserted] = keys_.try_emplace(Upper(full), Key{full, {}});
    if (inserted) ++changes;
    made = &it->second;
  } while (end != std::string_view::npos);
  return *made;
}

MemoryRegistry::Key& MemoryRegistry::AddKey(std::string_view fullPath) {
  fullPath = TrimSeparators(fullPath);
  const std::size_t split = fullPath.find('\\');
  const auto root = RootFromName(fullPath.substr(0, split));
  if (!root) throw RegistryError("Unknown registry root in \"" + std::string(fullPath) + "\"");
  return MakeKey(*root,
                 split == std::string_view::npos ? std::string_view() : fullPath.substr(split + 1));
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                     uint32_t access, bool create) {
  if (failure) throw RegistryError(*failure);
  const std::string id = Upper(FullPath(root, path));
  if (!FindKey(id)) {
    if (!create) return nullptr;
    MakeKey(root, path);
  }
  const bool writable = (access & registry_access::kSetValue) != 0;
  return std::make_unique<MemoryRegistryKey>(*this, id, writable);
}

bool MemoryRegistry::DeleteKeyTree(RegistryRoot root, std::string_view path) {
  const std::string id = Upper(FullPath(root, path));
  const auto removed = std::erase_if(keys_, [&](const auto& entry) {
    return entry.first == id || entry.first.rfind(id + "\\", 0) == 0;
  });
  if (removed > 0) ++changes;
  return removed > 0;
}

void MemoryRegistry::SetString(RegistryRoot root, std::string_view path, std::string_view name,
                               std::string_view value) {
  MakeKey(root, path);
  OpenKey(root, path, registry_access::kAllAccess, false)->WriteString(name, value);
}

void MemoryRegistry::SetDword(RegistryRoot root, std::string_view path, std::string_view name,
                              uint32_t value) {
  MakeKey(root, path);
  OpenKey(root, path, registry_access::kAllAccess, false)->WriteDword(name, value);
}

}  // namespace platform
