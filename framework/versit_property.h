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
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace framework {

class TvProperty {
 public:
  std::string Name;
  // Everything between the first ";" and the ":", separators kept
  // ("QUOTED-PRINTABLE;CHARSET=UTF-8").
  std::string Parameters;
  // The decoded value: line breaks as CR LF; for a binary value the length-prefixed form.
  std::string Value;

  // The property's line, without a line end.
  std::string GetText() const;
  // Fills the three fields from one property text; meant for a new, empty property. Never
  // raises: a text that cannot be read leaves what was filled so far.
  void SetText(std::string_view text);

  bool IsBinary() const;
  // True when Parameters contains the text (or both are empty).
  bool HasParameter(std::string_view text) const;
  // The index-th ";"-separated part of Value; empty when Value has no ";" at all.
  std::string GetValueComponent(std::size_t index) const;
  // The text after "name=" in Parameters, up to the next ";" or ":".
  std::optional<std::string> GetParameterValue(std::string_view name) const;

  // Every CR LF becomes "=0D=0A=" followed by CR LF.
  static std::string EncodeLineBreaks(std::string_view text);

 private:
  void SetBinaryValue(std::string_view data);
  void SetTextValue(std::string_view text, std::size_t start);
};

class TvProperties {
 public:
  TvProperty& Add();
  TvProperty& Insert(std::size_t index);
  TvProperty& operator[](std::size_t index) { return *items_.at(index); }
  const TvProperty& operator[](std::size_t index) const { return *items_.at(index); }
  std::size_t Count() const { return items_.size(); }
  void Clear() { items_.clear(); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  // Pointers, so that a property handed out by Add stays valid while more are added.
  std::vector<std::unique_ptr<TvProperty>> items_;
};

inline constexpr std::string_view kBinaryParameter = "VALUE=BINARY";
inline constexpr std::string_view kQuotedPrintable = "QUOTED-PRINTABLE";
inline constexpr std::size_t kBinaryLengthDigits = 8;

// Reads the 8 hex digits of a binary length as a signed 32-bit number, the way the length has
// always been read (FFFFFFFF is -1); anything that is not 8 hex digits counts as 0.
int32_t ParseBinaryLength(std::string_view digits);
// The length as 8 upper-case hex digits.
std::string FormatBinaryLength(std::size_t length);

}  // namespace framework
