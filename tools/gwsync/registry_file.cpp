#include "tools/gwsync/registry_file.h"

#include <filesystem>
#include <unordered_set>

#include "framework/text_codec.h"
#include "platform/code_page.h"
#include "platform/file_io.h"
#include "sim/common/json.h"

namespace gwsync {
namespace {

namespace json = sim::json;
using Value = platform::MemoryRegistry::Value;

// The registry holds ANSI text; the file holds UTF-8.
std::string ToUtf8(const std::string& ansi) {
  return framework::Utf16ToUtf8(platform::Windows1252().ToWide(ansi));
}

std::string FromUtf8(const std::string& utf8) {
  std::u16string wide;
  if (!framework::Utf8ToUtf16(utf8, wide)) throw json::ParseError("text is not UTF-8: " + utf8);
  return platform::Windows1252().ToAnsi(wide);
}

// The default value of a key is written "@", as registry export files write it.
constexpr std::string_view kDefaultValueName = "@";

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

Value ValueOf(const json::Value& value) {
  Value stored;
  if (value.GetKind() == json::Value::Kind::kString) {
    stored.text = FromUtf8(value.AsString());
    return stored;
  }
  const json::Object& members = value.AsObject();
  if (members.size() != 1 || members.front().first != "dword")
    throw json::ParseError("a value is a text or {\"dword\": NUMBER}");
  stored.type = Value::Type::kDword;
  stored.dword = static_cast<uint32_t>(members.front().second.AsIntegerIn(0, 0xFFFFFFFFll));
  return stored;
}

}  // namespace

// Names differing only in case are one key or one value in the registry: a file that lists one
// twice would silently lose one of the two when saved, so it is refused.
void ReadRegistryText(std::string_view text, platform::MemoryRegistry& registry) {
  const json::Value document = json::Parse(text);
  std::unordered_set<const platform::MemoryRegistry::Key*> listed;
  for (const auto& [keyPath, values] : document.AsObject()) {
    platform::MemoryRegistry::Key& key = registry.AddKey(FromUtf8(keyPath));
    if (!listed.insert(&key).second)
      throw json::ParseError("the key \"" + keyPath + "\" is listed twice");
    std::unordered_set<std::string> names;
    for (const auto& [name, value] : values.AsObject()) {
      const std::string ansi = name == kDefaultValueName ? std::string() : FromUtf8(name);
      if (!names.insert(Upper(ansi)).second) {
        throw json::ParseError("the value \"" + name + "\" of \"" + keyPath + "\" is listed twice");
      }
      key.values.emplace_back(ansi, ValueOf(value));
    }
  }
}

std::string WriteRegistryText(const platform::MemoryRegistry& registry) {
  json::Object keys;
  registry.VisitKeys([&keys](std::string_view path, const platform::MemoryRegistry::Key& key) {
    // A key without values that only leads to others is made again with them.
    if (key.values.empty() && !key.subkeys.empty()) return;
    json::Object values;
    for (const auto& [name, value] : key.values) {
      json::Value written;
      if (value.type == Value::Type::kString) {
        written = json::Value(ToUtf8(value.text));
      } else {
        json::Object dword;
        dword.emplace_back("dword", json::Value(value.dword));
        written = json::Value(std::move(dword));
      }
      values.emplace_back(name.empty() ? std::string(kDefaultValueName) : ToUtf8(name),
                          std::move(written));
    }
    keys.emplace_back(ToUtf8(std::string(path)), json::Value(std::move(values)));
  });
  return json::Write(json::Value(std::move(keys)));
}

void LoadRegistryFile(const std::string& path, platform::MemoryRegistry& registry) {
  if (!std::filesystem::exists(path)) return;
  try {
    ReadRegistryText(platform::ReadFileWithin(path, kRegistryFileLimit), registry);
  } catch (const platform::FileError& failure) {
    throw platform::Exception("registry file " + failure.Message());
  } catch (const platform::Exception& failure) {
    throw platform::Exception("registry file " + path + ": " + failure.what());
  }
}

void SaveRegistryFile(const std::string& path, const platform::MemoryRegistry& registry) {
  try {
    platform::ReplaceFile(path, WriteRegistryText(registry));
  } catch (const platform::FileError& failure) {
    throw platform::Exception("registry file " + failure.Message());
  }
}

}  // namespace gwsync
