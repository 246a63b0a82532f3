#pragma once

// One Versit property (vCard 2.1 / vCalendar 1.0 line syntax) and the ordered collection of
// them that makes a record.
//
// A line is NAME[;PARAMETERS]:VALUE. Under QUOTED-PRINTABLE this system only folds line breaks
// (a CR LF in the value is written "=0D=0A=" CR LF); it never escapes other bytes. A value
// under VALUE=BINARY is length-prefixed, the same on the wire and in Value:
//   ATTACH;VALUE=BINARY:report.txt;*0000000B*hello world
//   prefix ---------------^        ^ 8 upper-case hex digits, then exactly that many raw bytes

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

// A property's three texts where they are kept. A view read from a record stays valid until
// that record changes.
struct TvPropertyView {
  std::string_view Name;
  // Everything between the first ";" and the ":", separators kept
  // ("QUOTED-PRINTABLE;CHARSET=UTF-8").
  std::string_view Parameters;
  // The decoded value: line breaks as CR LF; for a binary value the length-prefixed form.
  std::string_view Value;

  // The property's line, without a line end.
  std::string GetText() const;
  void AppendText(std::string& out) const;

  bool IsBinary() const;
  // True when Parameters contains the text (or both are empty).
  bool HasParameter(std::string_view text) const;
  // The index-th ";"-separated part of Value; empty when Value has no ";" at all.
  std::string GetValueComponent(std::size_t index) const;
  // The text after "name=" in Parameters, up to the next ";" or ":".
  std::optional<std::string> GetParameterValue(std::string_view name) const;
};

// One property on its own, owning its texts: for reading or writing a single property line.
class TvProperty {
 public:
  std::string Name;
  std::string Parameters;
  std::string Value;

  TvPropertyView View() const { return {Name, Parameters, Value}; }
  std::string GetText() const { return View().GetText(); }
  // Fills the three fields from one property text; meant for a new, empty property. Never
  // raises: a text that cannot be read leaves what was filled so far.
  void SetText(std::string_view text);

  bool IsBinary() const { return View().IsBinary(); }
  bool HasParameter(std::string_view text) const { return View().HasParameter(text); }
  std::string GetValueComponent(std::size_t index) const { return View().GetValueComponent(index); }
  std::optional<std::string> GetParameterValue(std::string_view name) const {
    return View().GetParameterValue(name);
  }

  // Every CR LF becomes "=0D=0A=" followed by CR LF.
  static std::string EncodeLineBreaks(std::string_view text);
};

class RecordReader;

// The properties of one record, in order. Their texts are kept back to back in one buffer,
// with three offsets a property, so a record costs little more than its own bytes, however
// many records a read keeps.
class TvProperties {
 public:
  class const_iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = TvPropertyView;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = TvPropertyView;

    const_iterator() = default;
    const_iterator(const TvProperties* owner, std::size_t index) : owner_(owner), index_(index) {}
    TvPropertyView operator*() const { return owner_->View(index_); }
    const_iterator& operator++() {
      ++index_;
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const const_iterator&, const const_iterator&) = default;

   private:
    const TvProperties* owner_ = nullptr;
    std::size_t index_ = 0;
  };

  void Add(std::string_view name, std::string_view parameters, std::string_view value);
  void Add(const TvProperty& property) { Add(property.Name, property.Parameters, property.Value); }
  // Before the property at `index`; an index past the end appends.
  void Insert(std::size_t index, std::string_view name, std::string_view parameters,
              std::string_view value);
  void SetValue(std::size_t index, std::string_view value);
  // Raises std::out_of_range for an index past the end.
  TvPropertyView operator[](std::size_t index) const;
  std::size_t Count() const { return slots_.size(); }
  void Clear();

  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, slots_.size()}; }

  // Every property's line followed by CR LF, appended to `out`.
  void AppendVersit(std::string& out) const;
  // The length AppendVersit appends, known without writing: a writer reserves exactly once.
  std::size_t VersitSize() const;
  // Gives back the room left over from parsing, for records that are kept.
  void ShrinkToFit();

 private:
  friend class RecordReader;

  // Where the name ends, where the value starts and where the property ends; it starts where
  // the one before it ends. Parameters are kept behind the name with their ";", as on the wire,
  // so a line's head is copied whole: a property without them has its value right after its
  // name.
  struct Slot {
    uint32_t nameEnd;
    uint32_t valueStart;
    uint32_t end;
  };

  std::size_t Start(std::size_t index) const { return index == 0 ? 0 : slots_[index - 1].end; }
  TvPropertyView View(std::size_t index) const;
  // Ends the property whose texts lie in bytes_ from where the last one ended up to `end`.
  [[gnu::always_inline]] void CloseProperty(std::size_t nameEnd, std::size_t valueStart,
                                            std::size_t end) {
    // The end is the largest offset: if it fits, so do the others.
    if (end > UINT32_MAX) [[unlikely]]
      ThrowRecordTooLarge();
    slots_.push_back({static_cast<uint32_t>(nameEnd), static_cast<uint32_t>(valueStart),
                      static_cast<uint32_t>(end)});
  }
  [[noreturn]] static void ThrowRecordTooLarge();
  // Replaces bytes_[from, to) and moves the offsets of the slots from `firstMovedSlot` on.
  void Splice(std::size_t from, std::size_t to, std::string_view text, std::size_t firstMovedSlot);

  // The CR LFs in values written folded: each takes 7 bytes more on the wire ("=0D=0A=").
  static std::size_t FoldedBreaks(std::string_view parameters, std::string_view value);

  std::string bytes_;
  std::vector<Slot> slots_;
  std::size_t foldedBreaks_ = 0;  // in all values, for VersitSize
};

inline constexpr std::string_view kBinaryParameter = "VALUE=BINARY";
inline constexpr std::string_view kQuotedPrintable = "QUOTED-PRINTABLE";
inline constexpr std::size_t kBinaryLengthDigits = 8;

// Reads the 8 hex digits of a binary length as a signed 32-bit number, the way the length has
// always been read (FFFFFFFF is -1); anything that is not 8 hex digits counts as 0.
int32_t ParseBinaryLength(std::string_view digits);
// The length as 8 upper-case hex digits.
std::string FormatBinaryLength(std::size_t length);

// A binary value read from the text after a binary property's ":": the prefix up to the first
// ";", then ";*", 8 hex digits, "*" and that many bytes. Nothing when there is no ";" or fewer
// bytes than announced; a length below 1 gives no prefix and no data.
struct BinaryValue {
  std::string_view prefix;
  std::string_view data;
};
std::optional<BinaryValue> ReadBinaryValue(std::string_view text);

}  // namespace framework
