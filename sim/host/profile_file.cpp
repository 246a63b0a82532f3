#include "sim/host/profile_file.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <span>
#include <type_traits>
#include <variant>
#include <vector>

#include "framework/text_codec.h"
#include "platform/exception.h"
#include "platform/file_io.h"
#include "sim/common/json.h"

namespace sim {
namespace {

namespace json = sim::json;
using framework::BlockKind;
using framework::FieldInfo;
using framework::FieldType;
using framework::FieldValue;
using framework::SetupBlock;
using platform::Exception;

constexpr std::string_view kFormat = "gwsync profile 1";
// Files written before e-mail profiles existed have no kind, and are all calendar profiles.
constexpr std::string_view kKindMember = "kind";
constexpr std::string_view kFieldsMember = "fields";
constexpr std::string_view kBytesMember = "bytes";

struct BlockSlot {
  std::string_view name;
  SetupBlock Profile::*block;
};
constexpr BlockSlot kBlocks[] = {{"A", &Profile::a}, {"B", &Profile::b}, {"C", &Profile::c}};

// A field is known in the file by its name, or by "@" and its offset when the layout table
// lists it only for the fixed value stored there.
std::string KeyOf(const FieldInfo& field) {
  // Appended, not "@" + ...: gcc 12 at -O3 warns (-Wrestrict) about a literal put in front of a
  // string, falsely.
  return field.name.empty() ? std::string(1, '@').append(std::to_string(field.offset))
                            : std::string(field.name);
}

std::optional<FieldInfo> FieldOfKey(BlockKind kind, std::string_view key) {
  if (key.starts_with('@')) {
    std::size_t offset = 0;
    const char* end = key.data() + key.size();
    const auto [at, error] = std::from_chars(key.data() + 1, end, offset);
    if (error != std::errc() || at != end || key.size() == 1) return std::nullopt;
    const framework::ConstantField* constant = framework::FindConstant(kind, offset);
    if (!constant) return std::nullopt;
    return constant->field;
  }
  const FieldInfo* named = framework::FindField(kind, key);
  return named ? std::optional<FieldInfo>(*named) : std::nullopt;
}

bool IsSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

json::Value ElementToJson(const FieldValue& value) {
  return std::visit(
      [](const auto& element) -> json::Value {
        using T = std::decay_t<decltype(element)>;
        if constexpr (std::is_same_v<T, std::u16string>) {
          return json::Value(framework::Utf16ToUtf8(element));
        } else {
          return json::Value(static_cast<int64_t>(element));
        }
      },
      value);
}

// The field's value in the file when storing that value again gives back exactly the bytes the
// field holds; nothing otherwise (its bytes then go into the file as they are).
std::optional<json::Value> ExactValue(const SetupBlock& block, const FieldInfo& field) {
  SetupBlock rebuilt(block.Kind());
  json::Array elements;
  for (int i = 0; i < field.count; ++i) {
    const FieldValue value = block.Get(field, i);
    if (const auto* text = std::get_if<std::u16string>(&value)) {
      // Characters beyond U+FFFF would need the UTF-8 of a pair, which the text codec does not
      // write; such a field is rare enough to be kept as bytes.
      for (char16_t unit : *text) {
        if (IsSurrogate(unit)) return std::nullopt;
      }
    }
    rebuilt.Set(field, value, i);
    elements.push_back(ElementToJson(value));
  }
  const std::string_view original = block.Bytes().substr(field.offset, field.Size());
  if (rebuilt.Bytes().substr(field.offset, field.Size()) != original) return std::nullopt;
  if (field.count == 1) return std::move(elements.front());
  return json::Value(std::move(elements));
}

bool AllZero(std::string_view bytes) {
  return bytes.find_first_not_of('\0') == std::string_view::npos;
}

void AppendFields(const SetupBlock& block, std::span<const FieldInfo> fields,
                  std::vector<bool>& shown, json::Object& out) {
  for (const FieldInfo& field : fields) {
    if (AllZero(block.Bytes().substr(field.offset, field.Size()))) continue;
    std::optional<json::Value> value = ExactValue(block, field);
    if (!value) continue;
    out.emplace_back(KeyOf(field), std::move(*value));
    std::fill(shown.begin() + static_cast<std::ptrdiff_t>(field.offset),
              shown.begin() + static_cast<std::ptrdiff_t>(field.End()), true);
  }
}

std::string Hex(std::string_view bytes) {
  std::string out;
  out.reserve(2 * bytes.size());
  for (unsigned char byte : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", byte);
    out += digits;
  }
  return out;
}

// Every byte the fields did not show, in runs of non-zero 16-bit words: integers and text
// characters stay whole, and the zeros that fill most of a block are left out.
json::Object OtherBytes(std::string_view bytes, const std::vector<bool>& shown) {
  const auto listed = [&](std::size_t i) {
    if (shown[i]) return false;
    const std::size_t word = i & ~std::size_t{1};
    for (std::size_t j = word; j < word + 2 && j < bytes.size(); ++j) {
      if (!shown[j] && bytes[j] != '\0') return true;
    }
    return false;
  };
  json::Object runs;
  for (std::size_t i = 0; i < bytes.size();) {
    if (!listed(i)) {
      ++i;
      continue;
    }
    const std::size_t start = i;
    while (i < bytes.size() && listed(i))
      ++i;
    runs.emplace_back(std::to_string(start), json::Value(Hex(bytes.substr(start, i - start))));
  }
  return runs;
}

json::Value BlockToJson(const SetupBlock& block) {
  // Named and constant fields in one offset order, as they lie in the block.
  const std::span<const FieldInfo> named = framework::NamedFields(block.Kind());
  std::vector<FieldInfo> all(named.begin(), named.end());
  for (const framework::ConstantField& constant : framework::ConstantFields(block.Kind()))
    all.push_back(constant.field);
  std::stable_sort(all.begin(), all.end(),
                   [](const FieldInfo& x, const FieldInfo& y) { return x.offset < y.offset; });
  std::vector<bool> shown(block.Size(), false);
  json::Object fields;
  AppendFields(block, all, shown, fields);
  json::Object out;
  out.emplace_back(std::string(kFieldsMember), json::Value(std::move(fields)));
  out.emplace_back(std::string(kBytesMember), json::Value(OtherBytes(block.Bytes(), shown)));
  return json::Value(std::move(out));
}

// ---- Reading.

// Which bytes of a block the file has given, so that nothing is given twice.
class Coverage {
 public:
  explicit Coverage(std::size_t size) : given_(size, false) {}
  void Claim(std::size_t offset, std::size_t size, const std::string& what) {
    for (std::size_t i = offset; i < offset + size; ++i) {
      if (given_[i]) {
        throw Exception(what + " gives the byte at offset " + std::to_string(i) +
                        ", which the file already gave");
      }
      given_[i] = true;
    }
  }

 private:
  std::vector<bool> given_;
};

template <typename T>
FieldValue IntegerOf(const json::Value& value) {
  return static_cast<T>(
      value.AsIntegerIn(std::numeric_limits<T>::min(), std::numeric_limits<T>::max()));
}

FieldValue ElementOf(const FieldInfo& field, const json::Value& value) {
  switch (field.type) {
    case FieldType::kI16:
      return IntegerOf<int16_t>(value);
    case FieldType::kI32:
      return IntegerOf<int32_t>(value);
    case FieldType::kU32:
      return IntegerOf<uint32_t>(value);
    case FieldType::kText:
    case FieldType::kDate:
      break;
  }
  std::u16string text;
  if (!framework::Utf8ToUtf16(value.AsString(), text)) throw Exception("the text is not UTF-8");
  if (text.find(u'\0') != std::u16string::npos) throw Exception("the text holds a NUL");
  if (text.size() >= field.units) {
    throw Exception("the text has " + std::to_string(text.size()) +
                    " characters; the field holds at most " + std::to_string(field.units - 1));
  }
  return text;
}

void ReadField(SetupBlock& block, const std::string& key, const json::Value& value,
               Coverage& coverage) {
  const std::optional<FieldInfo> field = FieldOfKey(block.Kind(), key);
  if (!field) throw Exception("no field is known as '" + key + "'");
  try {
    coverage.Claim(field->offset, field->Size(), "it");
    if (field->count == 1) {
      block.Set(*field, ElementOf(*field, value));
      return;
    }
    const json::Array& elements = value.AsArray();
    if (elements.size() != static_cast<std::size_t>(field->count)) {
      throw Exception("expected " + std::to_string(field->count) + " elements, found " +
                      std::to_string(elements.size()));
    }
    for (int i = 0; i < field->count; ++i)
      block.Set(*field, ElementOf(*field, elements[static_cast<std::size_t>(i)]), i);
  } catch (const Exception& failure) {
    throw Exception("field '" + key + "': " + failure.what());
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void ReadBytes(std::string& bytes, const std::string& key, const json::Value& value,
               Coverage& coverage) {
  std::size_t offset = 0;
  const char* end = key.data() + key.size();
  const auto [at, error] = std::from_chars(key.data(), end, offset);
  if (error != std::errc() || at != end || key.empty())
    throw Exception("bytes: '" + key + "' is not an offset");
  const std::string& hex = value.AsString();
  if (hex.empty() || hex.size() % 2 != 0)
    throw Exception("bytes at " + key + ": expected pairs of hex digits");
  const std::size_t size = hex.size() / 2;
  if (offset > bytes.size() || size > bytes.size() - offset)
    throw Exception("bytes at " + key + ": they run past the end of the block");
  coverage.Claim(offset, size, "bytes at " + key);
  for (std::size_t i = 0; i < size; ++i) {
    const int high = HexDigit(hex[2 * i]), low = HexDigit(hex[2 * i + 1]);
    if (high < 0 || low < 0) throw Exception("bytes at " + key + ": expected hex digits");
    bytes[offset + i] = static_cast<char>(high << 4 | low);
  }
}

SetupBlock BlockFromJson(BlockKind kind, const json::Value* value) {
  if (!value) return SetupBlock(kind);
  Coverage coverage(framework::BlockSize(kind));
  std::string bytes(framework::BlockSize(kind), '\0');
  const json::Value* fields = value->Find(kFieldsMember);
  const json::Value* others = value->Find(kBytesMember);
  for (const auto& [member, unused] : value->AsObject()) {
    if (member != kFieldsMember && member != kBytesMember)
      throw Exception("unknown member '" + member + "'");
  }
  // The loose bytes go in first: the fields are then stored over them through the block's own
  // codec, and the coverage check keeps the two from touching the same byte.
  if (others) {
    for (const auto& [key, run] : others->AsObject())
      ReadBytes(bytes, key, run, coverage);
  }
  SetupBlock block(kind, bytes);
  if (fields) {
    for (const auto& [key, field] : fields->AsObject())
      ReadField(block, key, field, coverage);
  }
  return block;
}

ProfileKind KindOf(const json::Value* kind) {
  if (!kind) return ProfileKind::kCalendar;
  for (ProfileKind known : {ProfileKind::kCalendar, ProfileKind::kEmail}) {
    if (kind->GetKind() == json::Value::Kind::kString && kind->AsString() == ProfileKindName(known))
      return known;
  }
  throw Exception("\"kind\" must be \"" + std::string(ProfileKindName(ProfileKind::kCalendar)) +
                  "\" or \"" + std::string(ProfileKindName(ProfileKind::kEmail)) + "\"");
}

}  // namespace

std::string WriteProfileText(const Profile& profile) {
  json::Object document;
  document.emplace_back("format", json::Value(std::string(kFormat)));
  document.emplace_back(std::string(kKindMember),
                        json::Value(std::string(ProfileKindName(profile.Kind()))));
  for (const BlockSlot& slot : kBlocks)
    document.emplace_back(std::string(slot.name), BlockToJson(profile.*slot.block));
  return json::Write(json::Value(std::move(document)));
}

Profile ReadProfileText(std::string_view text) {
  const json::Value document = json::Parse(text);
  const json::Value* format = document.Find("format");
  if (!format || format->GetKind() != json::Value::Kind::kString || format->AsString() != kFormat)
    throw Exception("not a profile file: \"format\" must be \"" + std::string(kFormat) + "\"");
  for (const auto& [member, unused] : document.AsObject()) {
    if (member == "format" || member == kKindMember) continue;
    bool known = false;
    for (const BlockSlot& slot : kBlocks)
      known = known || member == slot.name;
    if (!known) throw Exception("unknown member '" + member + "'");
  }
  Profile profile(KindOf(document.Find(kKindMember)));
  for (const BlockSlot& slot : kBlocks) {
    try {
      profile.*slot.block = BlockFromJson((profile.*slot.block).Kind(), document.Find(slot.name));
    } catch (const Exception& failure) {
      // "block C (e-mail)": a field of the other kind is then seen for what it is.
      throw Exception("block " + std::string(framework::BlockName((profile.*slot.block).Kind())) +
                      ": " + failure.what());
    }
  }
  return profile;
}

Profile LoadProfileFile(const std::string& path) {
  std::string text;
  try {
    text = platform::ReadFileWithin(path, kProfileFileLimit);
  } catch (const platform::FileError& failure) {
    throw Exception("profile file " + failure.Message());
  }
  try {
    return ReadProfileText(text);
  } catch (const Exception& failure) {
    throw Exception("profile file " + path + ": " + failure.what());
  }
}

void SaveProfileFile(const std::string& path, const Profile& profile) {
  try {
    platform::ReplaceFile(path, WriteProfileText(profile));
  } catch (const platform::FileError& failure) {
    throw Exception("profile file " + failure.Message());
  }
}

}  // namespace sim
