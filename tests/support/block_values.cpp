#include "tests/support/block_values.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <type_traits>
#include <variant>

#include "framework/text_codec.h"

namespace testing_support {

std::string AtOffset(int offset) {
  // Appended, not "@" + ...: gcc 12 at -O3 warns (-Wrestrict) about a literal put in front of a
  // string, falsely.
  return std::string(1, '@').append(std::to_string(offset));
}

framework::FieldInfo FieldOf(const BlockValue& row) {
  if (row.field.starts_with('@')) {
    const std::size_t offset = std::stoul(row.field.substr(1));
    if (const framework::ConstantField* constant = framework::FindConstant(row.block, offset))
      return constant->field;
    return {{}, row.block, framework::FieldType::kI16, offset, 0, 1};
  }
  const framework::FieldInfo* named = framework::FindField(row.block, row.field);
  EXPECT_NE(named, nullptr) << "no field " << row.field;
  return named ? *named : framework::FieldInfo{{}, row.block, framework::FieldType::kI16, 0, 0, 1};
}

std::string Describe(const framework::FieldValue& value) {
  if (const auto* text = std::get_if<std::u16string>(&value))
    return '"' + framework::Utf16ToUtf8(*text) + '"';
  return std::visit(
      [](const auto& v) -> std::string {
        if constexpr (std::is_integral_v<std::decay_t<decltype(v)>>) return std::to_string(v);
        return {};
      },
      value);
}

void ExpectValuesAndNothingElse(const std::vector<const framework::SetupBlock*>& after,
                                const std::vector<const framework::SetupBlock*>& before,
                                const std::vector<BlockValue>& rows) {
  ASSERT_EQ(after.size(), before.size());
  std::vector<std::vector<bool>> covered;
  for (const framework::SetupBlock* block : after)
    covered.emplace_back(block->Size(), false);
  for (const BlockValue& row : rows) {
    SCOPED_TRACE(std::string(framework::BlockName(row.block)) + " " + row.field + "[" +
                 std::to_string(row.index) + "]");
    const auto k =
        static_cast<std::size_t>(std::find_if(after.begin(), after.end(),
                                              [&row](const framework::SetupBlock* block) {
                                                return block->Kind() == row.block;
                                              }) -
                                 after.begin());
    ASSERT_LT(k, after.size()) << "no block of this kind";
    const framework::FieldInfo field = FieldOf(row);
    EXPECT_EQ(Describe(after[k]->Get(field, row.index)), Describe(row.value));
    const std::size_t start =
        field.offset + static_cast<std::size_t>(row.index) * field.ElementSize();
    std::fill_n(covered[k].begin() + static_cast<std::ptrdiff_t>(start), field.ElementSize(), true);
  }
  for (std::size_t k = 0; k < after.size(); ++k) {
    const std::string_view got = after[k]->Bytes(), old = before[k]->Bytes();
    for (std::size_t i = 0; i < got.size(); ++i) {
      if (!covered[k][i] && got[i] != old[i]) {
        ADD_FAILURE() << "block " << framework::BlockName(after[k]->Kind()) << ": byte " << i
                      << " is " << static_cast<int>(static_cast<unsigned char>(got[i])) << ", was "
                      << static_cast<int>(static_cast<unsigned char>(old[i]))
                      << ", and no value of the table lies there";
        break;
      }
    }
  }
}

}  // namespace testing_support
