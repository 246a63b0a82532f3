#include "setup/common/pim_device_values.h"

#include <string_view>
#include <utility>

namespace setup {
namespace {

using framework::BlockKind;
using framework::I16Field;
using framework::TextField;

// Block B's contact field labels: slot and text. Slots 4 and 11 to 15 are left as loaded.
constexpr std::pair<std::size_t, std::u16string_view> kFieldLabels[] = {
    {0, u"LastName:"},     {1, u"FirstName:"},    {2, u"MidName:"},  {3, u"Company:"},
    {5, u"JobTitle:"},     {6, u"WorkAddr:"},     {7, u"WorkCity:"}, {8, u"WorkCounty:"},
    {9, u"WorkPostcode:"}, {10, u"WorkCountry:"}, {16, u"WorkTel:"}, {17, u"WorkFax:"},
    {18, u"HomeTel:"},     {19, u"Mobile:"},      {20, u"Email:"},
};
constexpr std::size_t kFirstLabel = 2644;
constexpr std::size_t kLabelSize = 82;  // bytes: 41 wide characters

}  // namespace

void WritePimDeviceValues(Blocks& blocks) {
  framework::SetupBlock& b = blocks.b;
  b.Set(TextField{BlockKind::kBPim, 1024, 256}, u"To-do list");
  for (const auto& [slot, label] : kFieldLabels)
    b.Set(TextField{BlockKind::kBPim, kFirstLabel + kLabelSize * slot, 41}, label);
  b.Set(I16Field{BlockKind::kBPim, 17034}, 1);
  blocks.a.Set(I16Field{BlockKind::kA, 3666}, 1);
}

}  // namespace setup
