#include "platform/portable/memory_registry.h"

#include <algorithm>
#include <vector>

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

// The names of a path's keys, root first; empty parts ("A\\\\B") name no key.
std::vector<std::string_view> PartsOf(std::string_view path) {
  std::vector<std::string_view> parts;
  std::size_t at = 0;
  while (at <= path.size()) {
    const std::size_t end = std::min(path.find('\\', at), path.size());
    if (end > at) parts.push_back(path.substr(at, end - at));
    at = end + 1;
  }
  return parts;
}

template <typename KeyType>
KeyType* Walk(KeyType& top, std::string_view fullPath) {
  KeyType* key = &top;
  for (std::string_view part : PartsOf(fullPath)) {
    const auto found = key->subkeys.find(Upper(part));
    if (found == key->subkeys.end()) return nullptr;
    key = found->second.get();
  }
  return key;
}

void Visit(const MemoryRegistry::Key& key, std::string& path,
           const std::function<void(std::string_view, const MemoryRegistry::Key&)>& visit) {
  for (const auto& [id, subkey] : key.subkeys) {
    const std::size_t length = path.size();
    if (length > 0) path += '\\';
    path += subkey->name;
    visit(path, *subkey);
    Visit(*subkey, path, visit);
    path.resize(length);
  }
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

MemoryRegistry::Key* MemoryRegistry::FindKey(std::string_view fullPath) {
  return Walk(roots_, fullPath);
}

const MemoryRegistry::Key* MemoryRegistry::FindKey(std::string_view fullPath) const {
  return Walk(roots_, fullPath);
}

const MemoryRegistry::Key* MemoryRegistry::Find(RegistryRoot root, std::string_view path) const {
  return FindKey(FullPath(root, path));
}

MemoryRegistry::Key& MemoryRegistry::MakeKey(std::string_view fullPath) {
  const std::vector<std::string_view> parts = PartsOf(fullPath);
  // The root counts as no level, as in the real registry; checked before anything is made.
  if (parts.size() > kMaxDepth + 1) {
    throw RegistryError("The key path has " + std::to_string(parts.size() - 1) +
                        " levels; the registry allows " + std::to_string(kMaxDepth));
  }
  // The parents exist too, as they do in the real registry.
  Key* key = &roots_;
  for (std::string_view part : parts) {
    auto [found, inserted] = key->subkeys.try_emplace(Upper(part));
    if (inserted) {
      found->second = std::make_unique<Key>();
      found->second->name = std::string(part);
      ++changes;
    }
    key = found->second.get();
  }
  return *key;
}

MemoryRegistry::Key& MemoryRegistry::AddKey(std::string_view fullPath) {
  fullPath = TrimSeparators(fullPath);
  const std::size_t split = fullPath.find('\\');
  const auto root = RootFromName(fullPath.substr(0, split));
  if (!root) throw RegistryError("Unknown registry root in \"" + std::string(fullPath) + "\"");
  return MakeKey(FullPath(
      *root, split == std::string_view::npos ? std::string_view() : fullPath.substr(split + 1)));
}

void MemoryRegistry::VisitKeys(
    const std::function<void(std::string_view fullPath, const Key& key)>& visit) const {
  std::string path;
  Visit(roots_, path, visit);
}

std::unique_ptr<RegistryKey> MemoryRegistry::OpenKey(RegistryRoot root, std::string_view path,
                                                     uint32_t access, bool create) {
  if (failure) throw RegistryError(*failure);
  std::string id = FullPath(root, path);
  if (!FindKey(id)) {
    if (!create) return nullptr;
    MakeKey(id);
  }
  const bool writable = (access & registry_access::kSetValue) != 0;
  return std::make_unique<MemoryRegistryKey>(*this, std::move(id), writable);
}

bool MemoryRegistry::DeleteKeyTree(RegistryRoot root, std::string_view path) {
  const std::string id = FullPath(root, path);
  const std::size_t split = id.find_last_of('\\');
  Key* parent =
      split == std::string::npos ? &roots_ : FindKey(std::string_view(id).substr(0, split));
  const std::string_view name =
      split == std::string::npos ? std::string_view(id) : std::string_view(id).substr(split + 1);
  if (!parent || parent->subkeys.erase(Upper(name)) == 0) return false;
  ++changes;
  return true;
}

void MemoryRegistry::SetString(RegistryRoot root, std::string_view path, std::string_view name,
                               std::string_view value) {
  OpenKey(root, path, registry_access::kAllAccess, true)->WriteString(name, value);
}

void MemoryRegistry::SetDword(RegistryRoot root, std::string_view path, std::string_view name,
                              uint32_t value) {
  OpenKey(root, path, registry_access::kAllAccess, true)->WriteDword(name, value);
}

}  // namespace platform
