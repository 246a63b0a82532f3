// The setup blocks over arbitrary bytes. The first byte picks the kind of block (0 A, 1 and 2
// B of e-mail and of calendar and contacts, 3 and 4 C of the same; the rest of 5 wraps), so that
// over a run every kind sees every sort of input while one input costs one block's checks. The
// bytes after it become that block twice: read from a stream as they are (mostly shorter than
// the block, so the zero-filled rest is checked too), and repeated until they fill the block,
// so that fields far beyond the input's length see its bytes.
//
// For each block: every field of the tables, named or constant, is read element by element and
// the block written back must be the bytes it was read from; an integer written back as read
// changes nothing; and each text element, written with a text taken from the input, changes no
// byte outside its field and holds a prefix of that text, a NUL and zeros.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <variant>

#include "framework/setup_blocks.h"
#include "platform/automation_date.h"
#include "platform/byte_stream.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

using framework::BlockKind;
using framework::FieldInfo;
using framework::FieldType;
using framework::SetupBlock;
using fuzz::Escaped;
using fuzz::Require;

constexpr BlockKind kAllKinds[] = {BlockKind::kA, BlockKind::kBMail, BlockKind::kBPim,
                                   BlockKind::kCMail, BlockKind::kCPim};
const platform::AutomationDate kNow{37000.5};

bool IsText(const FieldInfo& field) {
  return field.type == FieldType::kText || field.type == FieldType::kDate;
}

std::string Describe(const FieldInfo& field, int index) {
  return "block " + std::string(framework::BlockName(field.block)) + " " +
         (field.name.empty() ? "offset " + std::to_string(field.offset) : std::string(field.name)) +
         "[" + std::to_string(index) + "]";
}

std::string Tiled(std::string_view input, std::size_t size) {
  std::string bytes;
  bytes.reserve(size);
  while (bytes.size() < size)
    bytes.append(input.substr(0, size - bytes.size()));
  return bytes;
}

// The bytes of the biggest block, all zero: the checks compare whole ranges with memcmp, because
// a loop over single bytes here would be instrumented too and slow every run down.
std::string_view Zeros(std::size_t size) {
  static const std::string zeros(framework::BlockSize(BlockKind::kBPim), '\0');
  return std::string_view(zeros).substr(0, size);
}

bool AllZero(std::string_view bytes) {
  return bytes == Zeros(bytes.size());
}

// The input as little-endian UTF-16 units (an odd last byte dropped). Each text field is
// written with the units from a position that differs from field to field, so that texts of
// every length meet fields of every size; the text's own bytes are then the input's bytes from
// twice that position, which is what the stored field is compared with.
struct Texts {
  std::string_view input;
  std::u16string units;

  explicit Texts(std::string_view bytes) : input(bytes), units(bytes.size() / 2, u'\0') {
    for (std::size_t i = 0; i < units.size(); ++i) {
      units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                       static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    }
  }
  std::size_t Start(std::size_t salt) const { return salt % (units.size() + 1); }
};

bool SameOutside(std::string_view a, std::string_view b, std::size_t start, std::size_t end) {
  return a.size() == b.size() && a.substr(0, start) == b.substr(0, start) &&
         a.substr(end) == b.substr(end);
}

void CheckReadText(const std::u16string& text, const FieldInfo& field, int index) {
  const bool clean = text.size() <= field.units && text.find(u'\0') == std::u16string::npos &&
                     (text.empty() || (text.front() > u' ' && text.back() > u' '));
  Require(clean, "a text read has no NUL, no blank at its ends and at most n units",
          [&] { return Describe(field, index) + " read " + Escaped(text); });
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// `written` is scratch space, reused so that each write does not allocate a block anew.
void CheckTextWrite(const SetupBlock& block, const FieldInfo& field, int index, const Texts& texts,
                    std::size_t from, SetupBlock& written) {
  // One unit more than the field holds is enough to see it cut, a pair parted included.
  const std::u16string_view text = std::u16string_view(texts.units).substr(from, field.units + 1);
  written = block;
  written.Set(field, std::u16string(text), index);
  const std::size_t start = field.offset + static_cast<std::size_t>(index) * field.ElementSize();
  const std::size_t end = start + field.ElementSize();
  Require(SameOutside(written.Bytes(), block.Bytes(), start, end),
          "writing a text changes only its field's bytes",
          [&] { return Describe(field, index) + " written with " + Escaped(text); });

  // The field holds the text up to its first NUL, cut to n - 1 units but never between the
  // halves of a surrogate pair, then nothing but zeros.
  std::size_t stored = std::min(text.substr(0, text.find(u'\0')).size(), field.units - 1);
  if (stored > 0 && stored < text.size() && IsHighSurrogate(text[stored - 1]) &&
      IsLowSurrogate(text[stored])) {
    --stored;
  }
  const std::string_view bytes = written.Bytes().substr(start, end - start);
  Require(bytes.substr(0, 2 * stored) == texts.input.substr(2 * from, 2 * stored) &&
              AllZero(bytes.substr(2 * stored)),
          "a text is stored cut to n - 1 units, then a NUL and zeros", [&] {
            return Describe(field, index) + " written with " + Escaped(text) + " holds " +
                   Escaped(bytes);
          });
  CheckReadText(std::get<std::u16string>(written.Get(field, index)), field, index);
}

void CheckBlock(const SetupBlock& block, const Texts& texts, bool writeTexts) {
  const std::string original(block.Bytes());
  SetupBlock rewritten = block;
  SetupBlock scratch = block;
  std::size_t salt = 0;
  const auto each = [&](const FieldInfo& field) {
    for (int index = 0; index < field.count; ++index) {
      const framework::FieldValue value = block.Get(field, index);
      if (IsText(field)) {
        CheckReadText(std::get<std::u16string>(value), field, index);
        if (writeTexts) CheckTextWrite(block, field, index, texts, texts.Start(salt++), scratch);
        if (field.type == FieldType::kDate) block.GetDate({field.block, field.offset}, kNow);
      } else {
        rewritten.Set(field, value, index);
      }
    }
  };
  for (const FieldInfo& field : framework::NamedFields(block.Kind()))
    each(field);
  for (const framework::ConstantField& constant : framework::ConstantFields(block.Kind()))
    each(constant.field);
  Require(rewritten == block, "integers written back as read change nothing",
          [&] { return std::string(framework::BlockName(block.Kind())); });

  platform::MemoryStream stream;
  block.WriteTo(stream);
  Require(stream.Bytes() == original, "a block read and written back keeps its bytes",
          [&] { return std::string(framework::BlockName(block.Kind())); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const BlockKind kind = kAllKinds[data[0] % std::size(kAllKinds)];
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t blockSize = framework::BlockSize(kind);
  const Texts texts(input);

  platform::MemoryStream stream{std::string(input)};
  SetupBlock block(kind);
  block.ReadFrom(stream);
  const std::string_view got = block.Bytes();
  const std::size_t kept = std::min(input.size(), blockSize);
  Require(got.size() == blockSize && got.substr(0, kept) == input.substr(0, kept) &&
              AllZero(got.substr(kept)),
          "a block reads the stream's first bytes and zero-fills the rest",
          [&] { return std::string(framework::BlockName(kind)) + " from " + Escaped(input); });
  // The texts are written into the tiled block only: its fields hold more than zeros, and
  // writing them into both would halve the inputs a run can try.
  CheckBlock(block, texts, input.empty());
  if (!input.empty()) CheckBlock(SetupBlock(kind, Tiled(input, blockSize)), texts, true);
  return 0;
}
