#include "tools/gwsync/registry_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/text_codec.h"
#include "platform/code_page.h"
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

}  // namespace

void LoadRegistryFile(const std::string& path, platform::MemoryRegistry& registry) {
  if (!std::filesystem::exists(path)) return;
  std::ifstream file(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (!file && !file.eof()) throw platform::Exception("cannot read the registry file " + path);
  try {
    const json::Value document = json::Parse(text);
    for (const auto& [keyPath, values] : document.AsObject()) {
      platform::MemoryRegistry::Key& key = registry.AddKey(FromUtf8(keyPath));
      for (const auto& [name, value] : values.AsObject()) {
        Value stored;
        if (value.GetKind() == json::Value::Kind::kString) {
          stored.text = FromUtf8(value.AsString());
        } else {
          const int64_t dword = value.At("dword").AsInteger();
          if (dword < 0 || dword > 0xFFFFFFFFll) throw json::ParseError("dword out of range");
          stored.type = Value::Type::kDword;
          stored.dword = static_cast<uint32_t>(dword);
        }
        key.values.emplace_back(name == kDefaultValueName ? std::string() : FromUtf8(name), stored);
      }
    }
  } catch (const platform::Exception& failure) {
    throw platform::Exception("registry file " + path + ": " + failure.what());
  }
}

void SaveRegistryFile(const std::string& path, const platform::MemoryRegistry& registry) {
  json::Object keys;
  const auto& all = registry.Keys();
  for (const auto& [id, key] : all) {
    // A key without values that only leads to others is made again with them.
    const auto child = all.lower_bound(id + "\\");
    if (key.values.empty() && child != all.end() && child->first.rfind(id + "\\", 0) == 0) {
      continue;
    }
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
    keys.emplace_back(ToUtf8(key.path), json::Value(std::move(values)));
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << json::Write(json::Value(std::move(keys)));
  if (!file.flush()) throw platform::Exception("cannot write the registry file " + path);
}

}  // namespace gwsync
