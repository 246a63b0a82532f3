#include "framework/setup_blocks.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "framework/versit_date.h"
#include "platform/exception.h"

namespace framework {
namespace {

using platform::Exception;

// ---- Table rows, made from the descriptors so that the two cannot disagree.

template <typename T>
constexpr FieldInfo Row(std::string_view name, IntField<T> f) {
  const FieldType type = std::is_same_v<T, int16_t>   ? FieldType::kI16
                         : std::is_same_v<T, int32_t> ? FieldType::kI32
                                                      : FieldType::kU32;
  return {name, f.block, type, f.offset, 0, 1};
}
constexpr FieldInfo Row(std::string_view name, TextField f) {
  return {name, f.block, FieldType::kText, f.offset, f.units, 1};
}
constexpr FieldInfo Row(std::string_view name, DateField f) {
  return {name, f.block, FieldType::kDate, f.offset, DateField::kUnits, 1};
}
template <typename Element>
constexpr FieldInfo Row(std::string_view name, ArrayField<Element> f) {
  FieldInfo row = Row(name, f.first);
  row.count = f.count;
  return row;
}

constexpr FieldInfo kBlockA[] = {
    Row("Version", block_a::Version),
    Row("Title", block_a::Title),
    Row("DeviceApp", block_a::DeviceApp),
    Row("PCApp", block_a::PCApp),
    Row("TypeEnabled", block_a::TypeEnabled),
    Row("LogLevel", block_a::LogLevel),
    Row("LogPath", block_a::LogPath),
    Row("ConflictRule", block_a::ConflictRule),
    Row("AccountChanged", block_a::AccountChanged),
    Row("RangeChanged", block_a::RangeChanged),
    Row("DeviceCodePage", block_a::DeviceCodePage),
    Row("PCCodePage", block_a::PCCodePage),
    Row("DeleteRule", block_a::DeleteRule),
    Row("CalPastCount", block_a::CalPastCount),
    Row("CalPastUnit", block_a::CalPastUnit),
    Row("CalRangeStart", block_a::CalRangeStart),
    Row("CalFutureCount", block_a::CalFutureCount),
    Row("CalFutureUnit", block_a::CalFutureUnit),
    Row("CalRangeEnd", block_a::CalRangeEnd),
    Row("WorkDayStart", block_a::WorkDayStart),
    Row("WorkDayEnd", block_a::WorkDayEnd),
    Row("ContactFieldGroups", block_a::ContactFieldGroups),
    Row("MailRangeCount", block_a::MailRangeCount),
    Row("MailRangeUnit", block_a::MailRangeUnit),
    Row("MailRangeStart", block_a::MailRangeStart),
    Row("MailRangeEnd", block_a::MailRangeEnd),
    Row("MailFolders", block_a::MailFolders),
    Row("MailNoAttachments", block_a::MailNoAttachments),
    Row("MemoLimit", block_a::MemoLimit),
    Row("DeleteOldTypes", block_a::DeleteOldTypes),
    Row("DeleteOldCount", block_a::DeleteOldCount),
    Row("DeleteOldUnit", block_a::DeleteOldUnit),
};

constexpr FieldInfo kBlockBMail[] = {
    Row("DeviceAccount", block_b_mail::DeviceAccount),
};

constexpr FieldInfo kBlockBPim[] = {
    Row("DeviceFile", block_b_pim::DeviceFile),
    Row("WorkPath", block_b_pim::WorkPath),
};

constexpr FieldInfo kBlockCMail[] = {
    Row("ManualLogin", block_c_mail::ManualLogin),
    Row("LoginUser", block_c_mail::LoginUser),
    Row("LoginParams", block_c_mail::LoginParams),
    Row("InboxOverride", block_c_mail::InboxOverride),
    Row("InboxFolderName", block_c_mail::InboxFolderName),
    Row("InboxFolderId", block_c_mail::InboxFolderId),
    Row("SupportedOnly", block_c_mail::SupportedOnly),
};

constexpr FieldInfo kBlockCPim[] = {
    Row("UseContactsManager", block_c_pim::UseContactsManager),
    Row("ManualLogin", block_c_pim::ManualLogin),
    Row("LoginUser", block_c_pim::LoginUser),
    Row("LoginParams", block_c_pim::LoginParams),
    Row("AddressBook", block_c_pim::AddressBook),
};

// ---- The fields written with constant values.

constexpr uint32_t Elements(std::initializer_list<int> indexes) {
  uint32_t mask = 0;
  for (int index : indexes)
    mask |= uint32_t{1} << index;
  return mask;
}
// Element 5 of the per-type arrays belongs to no type this system serves.
constexpr uint32_t kAllTypesButFive = Elements({0, 1, 2, 3, 4, 6, 7});

constexpr ConstantField Fixed(BlockKind block, FieldType type, std::size_t offset,
                              std::string_view note) {
  return {{{}, block, type, offset, 0, 1}, 1, note};
}
constexpr ConstantField FixedArray(BlockKind block, std::size_t offset, int count,
                                   uint32_t elements, std::string_view note) {
  return {{{}, block, FieldType::kI16, offset, 0, count}, elements, note};
}
constexpr ConstantField FixedText(BlockKind block, std::size_t offset, std::size_t units, int count,
                                  uint32_t elements, std::string_view note) {
  return {{{}, block, FieldType::kText, offset, units, count}, elements, note};
}

constexpr BlockKind kA = BlockKind::kA;
constexpr FieldType kI16 = FieldType::kI16;
constexpr FieldType kI32 = FieldType::kI32;

constexpr ConstantField kConstantsA[] = {
    Fixed(kA, kI16, 3658, "Written as 0."),
    Fixed(kA, kI16, 3662, "Written as 0."),
    Fixed(kA, kI16, 3664, "Written as 20."),
    Fixed(kA, kI16, 3666,
          "Written as 0 on load; the calendar and contacts components then "
          "write 1."),
    Fixed(kA, kI16, 3674, "Written as 2."),
    Fixed(kA, kI16, 3676, "Contacts only: written as 20."),
    Fixed(kA, kI16, 3692, "Written as 1."),
    Fixed(kA, kI16, 3694, "Written as 0."),
    Fixed(kA, kI16, 3696, "Written as 0."),
    Fixed(kA, kI16, 3702, "E-mail only: written as 0."),
    Fixed(kA, kI16, 3704, "Calendar and contacts: written as 0."),
    FixedArray(kA, 6288, kTypeSlots, kAllTypesButFive, "Written as 0; element 5 is left alone."),
    FixedArray(kA, 6320, kTypeSlots, kAllTypesButFive, "Written as 0; element 5 is left alone."),
    FixedArray(kA, 6416, kTypeSlots, kAllTypesButFive, "Written as 720; element 5 is left alone."),
    FixedArray(kA, 6448, kTypeSlots, kAllTypesButFive, "Written as 720; element 5 is left alone."),
    Fixed(kA, kI16, 6552, "E-mail: written as 0."),
    FixedArray(kA, 6796, 7, Elements({0, 1, 2, 3, 4, 5, 6}), "Written as 1."),
    Fixed(kA, kI16, 6882, "Written as 0."),
    Fixed(kA, kI32, 7024, "E-mail: written as -1."),
    Fixed(kA, kI32, 7028, "E-mail: written as -1."),
    Fixed(kA, kI16, 7806, "Calendar: written as 1; e-mail and contacts: written as 0."),
};

constexpr ConstantField kConstantsBPim[] = {
    FixedText(BlockKind::kBPim, 1024, 256, 1, 1, "Written as \"To-do list\" on every load."),
    FixedText(BlockKind::kBPim, 2644, 41, 21,
              Elements({0, 1, 2, 3, 5, 6, 7, 8, 9, 10, 16, 17, 18, 19, 20}),
              "Contact field labels, written on every load: 0 \"LastName:\", 1 \"FirstName:\", "
              "2 \"MidName:\", 3 \"Company:\", 5 \"JobTitle:\", 6 \"WorkAddr:\", "
              "7 \"WorkCity:\", 8 \"WorkCounty:\", 9 \"WorkPostcode:\", 10 \"WorkCountry:\", "
              "16 \"WorkTel:\", 17 \"WorkFax:\", 18 \"HomeTel:\", 19 \"Mobile:\", "
              "20 \"Email:\"; slots 4 and 11 to 15 keep what was loaded."),
    Fixed(BlockKind::kBPim, kI16, 17034, "Written as 1 on every load."),
};

constexpr ConstantField kConstantsCPim[] = {
    Fixed(BlockKind::kCPim, kI16, 1540, "The contacts component writes 1."),
};

// ---- What the build checks: every field lies inside its block, in offset order, and no two
// fields of a block share a byte. One walk over the named and the constant rows merged.

constexpr bool LaidOut(std::span<const FieldInfo> named, std::span<const ConstantField> constants,
                       BlockKind block) {
  std::size_t end = 0;  // the end of the field before
  std::size_t n = 0, c = 0;
  while (n < named.size() || c < constants.size()) {
    const bool takeNamed =
        c == constants.size() || (n < named.size() && named[n].offset < constants[c].field.offset);
    const FieldInfo& field = takeNamed ? named[n++] : constants[c++].field;
    if (field.block != block || field.offset < end || field.Size() == 0) return false;
    end = field.End();
  }
  return end <= BlockSize(block);
}

static_assert(LaidOut(kBlockA, kConstantsA, BlockKind::kA));
static_assert(LaidOut(kBlockBMail, {}, BlockKind::kBMail));
static_assert(LaidOut(kBlockBPim, kConstantsBPim, BlockKind::kBPim));
static_assert(LaidOut(kBlockCMail, {}, BlockKind::kCMail));
static_assert(LaidOut(kBlockCPim, kConstantsCPim, BlockKind::kCPim));

// ---- Texts.

bool IsBlank(char16_t unit) {
  return unit <= u' ';
}
bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// How many units of `text` a field of `units` units stores before its NUL.
std::size_t StoredLength(std::u16string_view text, std::size_t units) {
  std::size_t keep = std::min(text.size(), units - 1);
  if (keep > 0 && keep < text.size() && IsHighSurrogate(text[keep - 1]) &&
      IsLowSurrogate(text[keep])) {
    --keep;
  }
  return keep;
}

template <typename T>
T ValueOfType(const FieldValue& value, const FieldInfo& field) {
  if (const T* typed = std::get_if<T>(&value)) return *typed;
  throw Exception("Setup block " + std::string(BlockName(field.block)) + ": the value for " +
                  (field.name.empty() ? "the field at offset " + std::to_string(field.offset)
                                      : std::string(field.name)) +
                  " has another type than the field");
}

}  // namespace

std::string_view BlockName(BlockKind kind) {
  switch (kind) {
    case BlockKind::kA:
      return "A";
    case BlockKind::kBMail:
      return "B (e-mail)";
    case BlockKind::kBPim:
      return "B (calendar and contacts)";
    case BlockKind::kCMail:
      return "C (e-mail)";
    case BlockKind::kCPim:
      return "C (calendar and contacts)";
  }
  return "?";
}

void ThrowNoSuchElement(int index, int count) {
  throw Exception("Setup block field: element " + std::to_string(index) +
                  " does not exist; the field has elements 0 to " + std::to_string(count - 1));
}

std::span<const FieldInfo> NamedFields(BlockKind kind) {
  switch (kind) {
    case BlockKind::kA:
      return kBlockA;
    case BlockKind::kBMail:
      return kBlockBMail;
    case BlockKind::kBPim:
      return kBlockBPim;
    case BlockKind::kCMail:
      return kBlockCMail;
    case BlockKind::kCPim:
      return kBlockCPim;
  }
  return {};
}

std::span<const ConstantField> ConstantFields(BlockKind kind) {
  switch (kind) {
    case BlockKind::kA:
      return kConstantsA;
    case BlockKind::kBPim:
      return kConstantsBPim;
    case BlockKind::kCPim:
      return kConstantsCPim;
    case BlockKind::kBMail:
    case BlockKind::kCMail:
      return {};
  }
  return {};
}

const FieldInfo* FindField(BlockKind kind, std::string_view name) {
  for (const FieldInfo& field : NamedFields(kind)) {
    if (field.name == name) return &field;
  }
  return nullptr;
}

const ConstantField* FindConstant(BlockKind kind, std::size_t offset) {
  for (const ConstantField& constant : ConstantFields(kind)) {
    if (constant.field.offset == offset) return &constant;
  }
  return nullptr;
}

// ---- The block.

SetupBlock::SetupBlock(BlockKind kind) : kind_(kind), bytes_(BlockSize(kind), '\0') {}

SetupBlock::SetupBlock(BlockKind kind, std::string_view bytes)
    : kind_(kind), bytes_(bytes.substr(0, BlockSize(kind))) {
  bytes_.resize(BlockSize(kind), '\0');
}

void SetupBlock::ReadFrom(platform::ByteStream& stream) {
  stream.Seek(0, platform::ByteStream::Origin::kBegin);
  // ReadUpTo keeps reading until the block is full or the stream ends: a stream may hand out
  // fewer bytes than asked for before its end.
  std::string bytes = platform::ReadUpTo(stream, Size());
  bytes.resize(Size(), '\0');
  bytes_ = std::move(bytes);
}

void SetupBlock::WriteTo(platform::ByteStream& stream) const {
  stream.Seek(0, platform::ByteStream::Origin::kBegin);
  stream.Write(bytes_.data(), bytes_.size());
}

std::size_t SetupBlock::Checked(BlockKind block, std::size_t offset, std::size_t width) const {
  if (block != kind_) {
    throw Exception("Setup block " + std::string(BlockName(kind_)) + ": a field of block " +
                    std::string(BlockName(block)) + " does not belong to it");
  }
  if (offset > bytes_.size() || width > bytes_.size() - offset) {
    throw Exception("Setup block " + std::string(BlockName(kind_)) + ": the field at offset " +
                    std::to_string(offset) + " (" + std::to_string(width) +
                    " bytes) lies past the end of the block (" + std::to_string(bytes_.size()) +
                    " bytes)");
  }
  return offset;
}

std::size_t SetupBlock::CheckedText(const TextField& field) const {
  // Checked first, so that a huge count of units cannot overflow the width below.
  if (field.units == 0 || field.units > bytes_.size() / 2) {
    throw Exception("Setup block " + std::string(BlockName(kind_)) + ": a text field of " +
                    std::to_string(field.units) + " units at offset " +
                    std::to_string(field.offset) + " cannot lie in the block");
  }
  return Checked(field.block, field.offset, field.Width());
}

uint32_t SetupBlock::ReadUnsigned(BlockKind block, std::size_t offset, std::size_t width) const {
  const std::size_t at = Checked(block, offset, width);
  uint32_t value = 0;
  for (std::size_t i = width; i-- > 0;)
    value = value << 8 | static_cast<unsigned char>(bytes_[at + i]);
  return value;
}

void SetupBlock::WriteUnsigned(BlockKind block, std::size_t offset, std::size_t width,
                               uint32_t value) {
  const std::size_t at = Checked(block, offset, width);
  for (std::size_t i = 0; i < width; ++i)
    bytes_[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::u16string SetupBlock::Get(TextField field) const {
  const auto* units = reinterpret_cast<const unsigned char*>(bytes_.data() + CheckedText(field));
  const auto unit = [units](std::size_t i) {
    return static_cast<char16_t>(units[2 * i] | units[2 * i + 1] << 8);
  };
  std::size_t last = 0;
  while (last < field.units && unit(last) != u'\0')
    ++last;
  std::size_t first = 0;
  while (first < last && IsBlank(unit(first)))
    ++first;
  while (last > first && IsBlank(unit(last - 1)))
    --last;
  std::u16string text(last - first, u'\0');
  char16_t* out = text.data();
  for (std::size_t i = first; i < last; ++i)
    *out++ = unit(i);
  return text;
}

void SetupBlock::Set(TextField field, std::u16string_view text) {
  auto* units = reinterpret_cast<unsigned char*>(bytes_.data() + CheckedText(field));
  // What follows a NUL could never be read back; storing zeros there keeps the field as clean
  // as a shorter text leaves it. Only the units that can fit are looked at.
  text = text.substr(0, field.units);
  text = text.substr(0, text.find(u'\0'));
  const std::size_t keep = StoredLength(text, field.units);
  for (std::size_t i = 0; i < keep; ++i) {
    units[2 * i] = static_cast<unsigned char>(text[i] & 0xFF);
    units[2 * i + 1] = static_cast<unsigned char>(text[i] >> 8);
  }
  std::fill(units + 2 * keep, units + field.Width(), static_cast<unsigned char>(0));
}

platform::AutomationDate SetupBlock::GetDate(DateField field, platform::AutomationDate now) const {
  std::string narrow;
  // Only ASCII digits and "T" make a date; any other unit only has to stay unreadable.
  for (char16_t unit : Get(field))
    narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
  return VersitToDateTime(narrow, now);
}

void SetupBlock::SetDate(DateField field, platform::AutomationDate value) {
  std::string text;
  try {
    text = DateTimeToVersit(value);
  } catch (const platform::Exception& failure) {
    throw Exception("Setup block " + std::string(BlockName(kind_)) + ": " + failure.what());
  }
  Set(field, std::u16string(text.begin(), text.end()));
}

namespace {

std::size_t ElementOffset(const FieldInfo& field, int index) {
  if (index < 0 || index >= field.count) ThrowNoSuchElement(index, field.count);
  return field.offset + static_cast<std::size_t>(index) * field.ElementSize();
}

}  // namespace

FieldValue SetupBlock::Get(const FieldInfo& field, int index) const {
  const std::size_t offset = ElementOffset(field, index);
  switch (field.type) {
    case FieldType::kI16:
      return Get(I16Field{field.block, offset});
    case FieldType::kI32:
      return Get(I32Field{field.block, offset});
    case FieldType::kU32:
      return Get(U32Field{field.block, offset});
    case FieldType::kText:
    case FieldType::kDate:
      return Get(TextField{field.block, offset, field.units});
  }
  throw Exception("Setup block: unknown field type");
}

void SetupBlock::Set(const FieldInfo& field, const FieldValue& value, int index) {
  const std::size_t offset = ElementOffset(field, index);
  switch (field.type) {
    case FieldType::kI16:
      return Set(I16Field{field.block, offset}, ValueOfType<int16_t>(value, field));
    case FieldType::kI32:
      return Set(I32Field{field.block, offset}, ValueOfType<int32_t>(value, field));
    case FieldType::kU32:
      return Set(U32Field{field.block, offset}, ValueOfType<uint32_t>(value, field));
    case FieldType::kText:
    case FieldType::kDate:
      return Set(TextField{field.block, offset, field.units},
                 ValueOfType<std::u16string>(value, field));
  }
  throw Exception("Setup block: unknown field type");
}

}  // namespace framework
