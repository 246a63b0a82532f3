#include "setup/calsetup/cal_values.h"

#include "framework/data_types.h"
#include "setup/common/pim_device_values.h"

namespace setup::cal {
namespace {

using framework::BlockKind;
using framework::I16Field;
namespace block_a = framework::block_a;
namespace block_b = framework::block_b_pim;
namespace data_type = framework::data_type;

constexpr I16Field A16(std::size_t offset) {
  return {BlockKind::kA, offset};
}

}  // namespace

const Component kCalSetup = {
    "calsetup",
    "calsetup.CalSetup.1",
    BlockKind::kBPim,
    BlockKind::kCPim,
    {"Internal Error 10101: pISynch: Sync file missing", "Internal Error 10102: Sync.dll missing?",
     "Internal Error 10103: Could not write control file"},
    string_id::kBlank,
    4,
    {framework::block_c_pim::ManualLogin, framework::block_c_pim::LoginUser,
     framework::block_c_pim::LoginParams},
    WriteIdentity,
    ApplyDefaults,
    ApplyCommitValues,
};

// The fixed values already hold 1 at 3692 and 0 at 3694 and 3696, as the calendar wants them;
// WritePimDeviceValues turns 3666 into 1.
void WriteIdentity(Blocks& blocks, const ValueContext& context) {
  WritePimDeviceValues(blocks);
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::Title, context.strings.Text(string_id::kProfileTitle));
  a.Set(block_a::DeviceApp, u"PROTEA");
  a.Set(block_a::PCApp, u"PIMSYNC");
  a.Set(block_a::LogPath, context.paths.log);
  blocks.b.Set(block_b::WorkPath, context.paths.work);
  blocks.b.Set(block_b::DeviceFile, u"C:\\Documents\\Agenda");
  // Appointments, events and to-dos take part; anniversaries and contacts do not. EMAIL and
  // element 7 are the host's.
  for (int16_t t : {data_type::kApt, data_type::kEve, data_type::kTodo})
    a.Set(block_a::TypeEnabled[t], 1);
  for (int16_t t : {data_type::kAnn, data_type::kCon})
    a.Set(block_a::TypeEnabled[t], 0);
  a.Set(A16(3704), 0);
  for (int t = 0; t < kCalendarTypes; ++t) {
    a.Set(block_a::DeviceCodePage[t], 65001u);
    a.Set(block_a::PCCodePage[t], 65001u);
  }
  a.Set(A16(7806), 1);
}

void StoreDeleteOld(framework::SetupBlock& a, bool on, int16_t count, int16_t unit) {
  if (!on) {
    a.Set(block_a::DeleteOldTypes, 0);
    return;
  }
  a.Set(block_a::DeleteOldTypes, kCalendarTypeBits);
  for (int t = 0; t < kCalendarTypes; ++t) {
    a.Set(block_a::DeleteOldUnit[t], unit);
    a.Set(block_a::DeleteOldCount[t], count);
  }
}

// One month back and six months ahead, items older than a month deleted from the device;
// GroupWise wins conflicts, and an item deleted on the device is deleted in GroupWise.
void ApplyDefaults(Blocks& blocks, const ValueContext&) {
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::DeleteRule, 0);
  a.Set(block_a::ConflictRule, 1);
  a.Set(block_a::CalPastCount, kDefaultPastCount);
  a.Set(block_a::CalPastUnit, kDefaultUnit);
  a.Set(block_a::CalFutureCount, kDefaultFutureCount);
  a.Set(block_a::CalFutureUnit, kDefaultUnit);
  StoreDeleteOld(a, true, kDefaultPastCount, kDefaultUnit);
}

// The wizard has no pages for these, so a profile made by it gets them fixed.
void ApplyCommitValues(Blocks& blocks) {
  blocks.a.Set(block_a::DeleteRule, 0);
  blocks.a.Set(block_a::ConflictRule, 1);
}

}  // namespace setup::cal
