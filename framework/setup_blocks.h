#pragma once

// The host's three setup blocks per profile and data kind, as typed views over their bytes.
// This header is the one description of their layout: the setup components write the blocks
// through it and the plug-ins read them through it.
//
// Implementation details:
// - A block is always read and written whole, and writing a field changes that field's bytes
//   and nothing else: the host owns every byte this system does not name, so those bytes must
//   come back exactly as they were stored.
// - Integers are little-endian whatever the host computer is; they are put together byte by
//   byte rather than copied, so the same code reads them on any machine.
// - Every access checks that its field lies inside the block and belongs to this kind of
//   block, and raises platform::Exception otherwise; nothing reads or writes outside the
//   buffer, whatever descriptor a caller makes up.
// - Fields are described twice on purpose: as constexpr descriptors (block_a::CalRangeStart)
//   that make a typed call read naturally, and as tables of rows (NamedFields, FindField) for
//   tests that pin the layout and tools that show a block. The tables are built from the
//   descriptors, and the build checks that no two fields of a block overlap.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "platform/automation_date.h"
#include "platform/byte_stream.h"

namespace framework {

enum class BlockKind {
  kA,      // common setup record, passed to the plug-in's Init as SynchSetup
  kBMail,  // device-side application record of e-mail
  kBPim,   // device-side application record of calendar and contacts
  kCMail,  // PC-side application record of e-mail, passed as AppSetup
  kCPim,   // PC-side application record of calendar and contacts, passed as AppSetup
};

// Block C of calendar and contacts is 1542 bytes. A reader of 1544 bytes would also pick up the
// two bytes the host stores after it; no field lies there, so a block reads and writes exactly
// its own size and never carries someone else's bytes back into the stream.
constexpr std::size_t BlockSize(BlockKind kind) {
  switch (kind) {
    case BlockKind::kA:
      return 7816;
    case BlockKind::kBMail:
      return 136;
    case BlockKind::kBPim:
      return 17164;
    case BlockKind::kCMail:
      return 2054;
    case BlockKind::kCPim:
      return 1542;
  }
  return 0;
}

// "A", "B (e-mail)", "C (calendar and contacts)" ...: for messages and tools.
std::string_view BlockName(BlockKind kind);

// The per-type arrays have one element for each data-type code 0 to 7 (APT, EVE, ANN, TODO,
// CON, an unused 5, EMAIL and 7).
inline constexpr int kTypeSlots = 8;

// A little-endian integer of sizeof(T) bytes: int16_t (i16), int32_t (i32) or uint32_t (u32).
template <typename T>
struct IntField {
  static_assert(std::is_same_v<T, int16_t> || std::is_same_v<T, int32_t> ||
                std::is_same_v<T, uint32_t>);
  using Value = T;
  BlockKind block;
  std::size_t offset;
  static constexpr std::size_t Width() { return sizeof(T); }
};
using I16Field = IntField<int16_t>;
using I32Field = IntField<int32_t>;
using U32Field = IntField<uint32_t>;

// wchar[units]: UTF-16LE code units holding a NUL-terminated text.
struct TextField {
  BlockKind block;
  std::size_t offset;
  std::size_t units;
  constexpr std::size_t Width() const { return 2 * units; }
};

// wchar[18] holding a date as 15 characters, "19731216T090000".
struct DateField {
  static constexpr std::size_t kUnits = 18;
  BlockKind block;
  std::size_t offset;
  static constexpr std::size_t Width() { return 2 * kUnits; }
  constexpr TextField Text() const { return {block, offset, kUnits}; }
};

[[noreturn]] void ThrowNoSuchElement(int index, int count);

// `count` fields of one kind, one after the other; element t starts at first.offset + t * width.
template <typename Element>
struct ArrayField {
  Element first;
  int count;
  // Raises platform::Exception for an index outside 0 to count - 1.
  constexpr Element operator[](int index) const {
    if (index < 0 || index >= count) ThrowNoSuchElement(index, count);
    Element element = first;
    element.offset += static_cast<std::size_t>(index) * first.Width();
    return element;
  }
};

// Block A, the common setup record (7816 bytes).
namespace block_a {
inline constexpr BlockKind kBlock = BlockKind::kA;
inline constexpr U32Field Version{kBlock, 0};
inline constexpr TextField Title{kBlock, 4, 256};
inline constexpr TextField DeviceApp{kBlock, 552, 256};
inline constexpr TextField PCApp{kBlock, 1064, 256};
inline constexpr ArrayField<I16Field> TypeEnabled{{kBlock, 2600}, kTypeSlots};
inline constexpr I16Field LogLevel{kBlock, 2632};
inline constexpr TextField LogPath{kBlock, 2634, 256};
inline constexpr I16Field ConflictRule{kBlock, 3660};
inline constexpr I16Field AccountChanged{kBlock, 3668};
inline constexpr I16Field RangeChanged{kBlock, 3670};
inline constexpr ArrayField<U32Field> DeviceCodePage{{kBlock, 6032}, kTypeSlots};
inline constexpr ArrayField<U32Field> PCCodePage{{kBlock, 6096}, kTypeSlots};
inline constexpr I16Field DeleteRule{kBlock, 6544};
inline constexpr I16Field CalPastCount{kBlock, 6680};
inline constexpr I16Field CalPastUnit{kBlock, 6682};
inline constexpr DateField CalRangeStart{kBlock, 6684};
inline constexpr I16Field CalFutureCount{kBlock, 6720};
inline constexpr I16Field CalFutureUnit{kBlock, 6722};
// The day after the last synchronized day.
inline constexpr DateField CalRangeEnd{kBlock, 6724};
inline constexpr DateField WorkDayStart{kBlock, 6810};
inline constexpr DateField WorkDayEnd{kBlock, 6846};
inline constexpr U32Field ContactFieldGroups{kBlock, 6888};
inline constexpr I16Field MailRangeCount{kBlock, 6900};
inline constexpr I16Field MailRangeUnit{kBlock, 6902};
inline constexpr DateField MailRangeStart{kBlock, 6904};
inline constexpr DateField MailRangeEnd{kBlock, 6944};
inline constexpr U32Field MailFolders{kBlock, 7016};
inline constexpr I16Field MailNoAttachments{kBlock, 7020};
inline constexpr U32Field MemoLimit{kBlock, 7032};
inline constexpr I16Field DeleteOldTypes{kBlock, 7158};
inline constexpr ArrayField<I16Field> DeleteOldCount{{kBlock, 7166}, kTypeSlots};
inline constexpr ArrayField<I16Field> DeleteOldUnit{{kBlock, 7198}, kTypeSlots};
}  // namespace block_a

// Block B of e-mail (136 bytes).
namespace block_b_mail {
inline constexpr TextField DeviceAccount{BlockKind::kBMail, 2, 64};
}  // namespace block_b_mail

// Block B of calendar and contacts (17164 bytes).
namespace block_b_pim {
inline constexpr TextField DeviceFile{BlockKind::kBPim, 0, 256};
inline constexpr TextField WorkPath{BlockKind::kBPim, 512, 256};
}  // namespace block_b_pim

// Block C of e-mail (2054 bytes).
namespace block_c_mail {
inline constexpr BlockKind kBlock = BlockKind::kCMail;
inline constexpr I16Field ManualLogin{kBlock, 0};
inline constexpr TextField LoginUser{kBlock, 2, 256};
inline constexpr TextField LoginParams{kBlock, 514, 256};
inline constexpr I16Field InboxOverride{kBlock, 1026};
inline constexpr TextField InboxFolderName{kBlock, 1028, 256};
inline constexpr TextField InboxFolderId{kBlock, 1540, 256};
inline constexpr I16Field SupportedOnly{kBlock, 2052};
}  // namespace block_c_mail

// Block C of calendar and contacts (1542 bytes).
namespace block_c_pim {
inline constexpr BlockKind kBlock = BlockKind::kCPim;
inline constexpr I16Field UseContactsManager{kBlock, 0};
inline constexpr I16Field ManualLogin{kBlock, 2};
inline constexpr TextField LoginUser{kBlock, 4, 256};
inline constexpr TextField LoginParams{kBlock, 516, 256};
inline constexpr TextField AddressBook{kBlock, 1028, 256};
}  // namespace block_c_pim

enum class FieldType { kI16, kI32, kU32, kText, kDate };

// One row of a block's layout.
struct FieldInfo {
  std::string_view name;  // empty for the fields written with constant values
  BlockKind block;
  FieldType type;
  std::size_t offset;
  std::size_t units;  // n of wchar[n] for texts and dates, 0 for integers
  int count;          // 1 for a single value, else the number of elements indexed from 0

  constexpr std::size_t ElementSize() const {
    switch (type) {
      case FieldType::kI16:
        return 2;
      case FieldType::kI32:
      case FieldType::kU32:
        return 4;
      case FieldType::kText:
      case FieldType::kDate:
        return 2 * units;
    }
    return 0;
  }
  constexpr std::size_t Size() const { return ElementSize() * static_cast<std::size_t>(count); }
  constexpr std::size_t End() const { return offset + Size(); }
};

// A field without a name: the host expects the setup components to store a fixed value there.
// The table gives where it lies and, as text, what is stored; the host alone gives it meaning.
struct ConstantField {
  FieldInfo field;
  uint32_t elements;      // of an array: bit i set when element i is written
  std::string_view note;  // "Written as 720.", "E-mail only: written as 0." ...
};

// In offset order.
std::span<const FieldInfo> NamedFields(BlockKind kind);
std::span<const ConstantField> ConstantFields(BlockKind kind);
// Null when the block has no field of that name (names are compared exactly) or no constant
// field at that offset.
const FieldInfo* FindField(BlockKind kind, std::string_view name);
const ConstantField* FindConstant(BlockKind kind, std::size_t offset);

// A field's value when it is reached through the tables: the integer type of its row, or the
// text of a text or date field.
using FieldValue = std::variant<int16_t, int32_t, uint32_t, std::u16string>;

class SetupBlock {
 public:
  // Every byte zero.
  explicit SetupBlock(BlockKind kind);
  // The same rule as ReadFrom: the first Size() bytes, zero-filled when there are fewer.
  SetupBlock(BlockKind kind, std::string_view bytes);

  BlockKind Kind() const { return kind_; }
  std::size_t Size() const { return bytes_.size(); }
  std::string_view Bytes() const { return bytes_; }

  // Seeks to 0 and reads Size() bytes; a shorter stream leaves the rest zero. On failure the
  // block keeps its previous bytes.
  void ReadFrom(platform::ByteStream& stream);
  // Seeks to 0 and writes the whole block; what the stream holds beyond it stays.
  void WriteTo(platform::ByteStream& stream) const;

  template <typename T>
  T Get(IntField<T> field) const {
    return static_cast<T>(ReadUnsigned(field.block, field.offset, sizeof(T)));
  }
  template <typename T>
  void Set(IntField<T> field, std::type_identity_t<T> value) {
    WriteUnsigned(field.block, field.offset, sizeof(T), static_cast<uint32_t>(value));
  }

  // The units up to the first NUL (all n when there is none), without leading and trailing
  // spaces and control characters. Tabs and line breaks at the ends of a name, path or date
  // are never meant and come from pasting; other spaces (no-break, ideographic) are kept,
  // because a user can have typed them on purpose.
  std::u16string Get(TextField field) const;
  // Stores the text up to its first NUL, cut to n - 1 units (one fewer when the cut would
  // part a surrogate pair), then a NUL and zeros to the end of the field.
  void Set(TextField field, std::u16string_view text);

  std::u16string Get(DateField field) const { return Get(field.Text()); }
  void Set(DateField field, std::u16string_view text) { Set(field.Text(), text); }
  // The date and time the text gives; the day of `now` at 00:00 when it is empty or cannot be
  // read (framework::VersitToDateTime).
  platform::AutomationDate GetDate(DateField field, platform::AutomationDate now) const;
  // Stores the 15 characters of framework::DateTimeToVersit. Raises for a year outside 1 to
  // 9999, which has no such text.
  void SetDate(DateField field, platform::AutomationDate value);

  // Element `index` of a table row. Raises when the row belongs to another kind of block, the
  // index is outside the row's elements, or (for Set) the value has another type than the row.
  FieldValue Get(const FieldInfo& field, int index = 0) const;
  void Set(const FieldInfo& field, const FieldValue& value, int index = 0);

  friend bool operator==(const SetupBlock&, const SetupBlock&) = default;

 private:
  // The offset, after checking that `width` bytes from it lie inside a block of this kind.
  std::size_t Checked(BlockKind block, std::size_t offset, std::size_t width) const;
  std::size_t CheckedText(const TextField& field) const;
  uint32_t ReadUnsigned(BlockKind block, std::size_t offset, std::size_t width) const;
  void WriteUnsigned(BlockKind block, std::size_t offset, std::size_t width, uint32_t value);

  BlockKind kind_;
  std::string bytes_;
};

}  // namespace framework
