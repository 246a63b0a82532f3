#include "setup/common/load_values.h"

#include <array>

namespace setup {
namespace {

using framework::BlockKind;
using framework::I16Field;
namespace block_a = framework::block_a;

// The fields written with fixed values have no names; framework/setup_blocks.h lists them by
// offset, and so do these.
constexpr I16Field A16(std::size_t offset) {
  return {BlockKind::kA, offset};
}

// The per-type arrays at 6288, 6320, 6416 and 6448 have a slot for every code but 5, which
// belongs to no type and stays the host's.
constexpr std::array<std::size_t, 7> kSlotsButFive = {0, 1, 2, 3, 4, 6, 7};

}  // namespace

std::u16string DerivedPath(std::u16string_view controlFile, std::u16string_view extension) {
  constexpr std::u16string_view kBin = u".BIN";
  std::u16string upper(controlFile);
  for (char16_t& unit : upper) {
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  }
  std::u16string out;
  out.reserve(upper.size());
  for (std::size_t at = 0; at < upper.size();) {
    if (std::u16string_view(upper).substr(at, kBin.size()) == kBin) {
      out += extension;
      at += kBin.size();
    } else {
      out += upper[at++];
    }
  }
  return out;
}

ProfilePaths DeriveProfilePaths(std::u16string_view controlFile) {
  return {DerivedPath(controlFile, u".LOG"), DerivedPath(controlFile, u".WKF")};
}

void WriteFixedValues(framework::SetupBlock& a, int16_t logLevel) {
  a.Set(block_a::Version, 0x00010000u);
  a.Set(block_a::LogLevel, logLevel);
  for (std::size_t offset : {3658u, 3662u, 3666u, 3694u, 3696u, 6882u})
    a.Set(A16(offset), 0);
  a.Set(A16(3664), 20);
  a.Set(A16(3674), 2);
  a.Set(A16(3692), 1);
  for (std::size_t t : kSlotsButFive) {
    a.Set(A16(6288 + 2 * t), 0);
    a.Set(A16(6320 + 2 * t), 0);
    a.Set(A16(6416 + 2 * t), 720);
    a.Set(A16(6448 + 2 * t), 720);
  }
  for (std::size_t t = 0; t < 7; ++t)
    a.Set(A16(6796 + 2 * t), 1);
  a.Set(block_a::WorkDayStart, u"19731216T090000");
  a.Set(block_a::WorkDayEnd, u"19731216T170000");
}

void WriteLoadValues(const Component& component, Blocks& blocks, int16_t logLevel,
                     const ValueContext& context) {
  WriteFixedValues(blocks.a, logLevel);
  component.writeIdentity(blocks, context);
}

}  // namespace setup
