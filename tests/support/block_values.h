#pragma once

// Tables of the values a setup-block writer must leave, row by row, checked on the bytes: every
// row's field holds its value, and every byte no row covers is as it was before.

#include <string>
#include <vector>

#include "framework/setup_blocks.h"

namespace testing_support {

// A named field (with its element), or "@" and the offset of a field the layout names only by
// the constant stored there ("@6416"; a single element of an unnamed array is an i16 there).
struct BlockValue {
  framework::BlockKind block;
  std::string field;
  int index;
  framework::FieldValue value;
};

// "@" and the offset.
std::string AtOffset(int offset);
framework::FieldInfo FieldOf(const BlockValue& row);
// A value as a failure message shows it: a number, or a text in quotes.
std::string Describe(const framework::FieldValue& value);

// `after` and `before` hold one block of each kind the rows name (A, B and C of one profile).
void ExpectValuesAndNothingElse(const std::vector<const framework::SetupBlock*>& after,
                                const std::vector<const framework::SetupBlock*>& before,
                                const std::vector<BlockValue>& rows);

}  // namespace testing_support
