#include "setup/contactsetup/contact_values.h"

#include "framework/data_types.h"
#include "setup/common/pim_device_values.h"

namespace setup::contact {
namespace {

using framework::BlockKind;
using framework::I16Field;
namespace block_a = framework::block_a;
namespace block_b = framework::block_b_pim;
namespace block_c = framework::block_c_pim;
constexpr int16_t kCon = framework::data_type::kCon;

constexpr I16Field A16(std::size_t offset) {
  return {BlockKind::kA, offset};
}

// The calendar types APT, EVE, ANN and TODO, which a contacts profile switches off. Its deletion
// defaults still name them; what they mean there is the host's, and no page of this component
// shows them.
constexpr int16_t kLastCalendarType = framework::data_type::kTodo;
constexpr int16_t kCalendarTypeBits = 15;
constexpr int16_t kMonth = 30;

}  // namespace

// contactsetup has no numeric field, so no CRangeEdit message ever ends with its blank; the one
// blank its table has (string 114) stands there all the same, so that such a message would read
// as every other component's does.
const Component kContactSetup = {
    "contactsetup",
    "contactsetup.ContactSetup.1",
    BlockKind::kBPim,
    BlockKind::kCPim,
    {"Internal Error 10101: pISynch: Sync file missing", "Internal Error 10102: Sync.dll missing?",
     "Internal Error 10103: Could not write control file"},
    string_id::kBlank,
    2,
    {block_c::ManualLogin, block_c::LoginUser, block_c::LoginParams},
    WriteIdentity,
    ApplyDefaults,
    ApplyCommitValues,
};

void WriteIdentity(Blocks& blocks, const ValueContext& context) {
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::Title, context.strings.Text(string_id::kProfileTitle));
  a.Set(block_a::DeviceApp, u"PROTEA");
  a.Set(block_a::PCApp, u"PIMSYNC");
  a.Set(block_a::LogPath, context.paths.log);
  // Only contacts take part; elements 6 and 7 are the host's.
  for (int16_t type = 0; type < kCon; ++type)
    a.Set(block_a::TypeEnabled[type], 0);
  a.Set(block_a::TypeEnabled[kCon], 1);
  a.Set(A16(3676), 20);
  for (std::size_t offset : {3704u, 7806u})
    a.Set(A16(offset), 0);
  for (int16_t type = 0; type <= kCon; ++type) {
    a.Set(block_a::DeviceCodePage[type], 65001u);
    a.Set(block_a::PCCodePage[type], 65001u);
  }

  framework::SetupBlock& b = blocks.b;
  b.Set(block_b::DeviceFile, u"C:\\Documents\\Agenda");
  b.Set(block_b::WorkPath, context.paths.work);
  WritePimDeviceValues(blocks);

  framework::SetupBlock& c = blocks.c;
  c.Set(block_c::UseContactsManager, 1);
  c.Set(I16Field{BlockKind::kCPim, 1540}, 1);
}

// The book named after the device, GroupWise winning conflicts, deletions on the device
// deleting in GroupWise, and GroupWise's own login. The login flag goes with the texts it
// stands for: a profile that kept it over emptied texts would have pimsync log in as nobody
// instead of letting GroupWise find its user.
void ApplyDefaults(Blocks& blocks, const ValueContext&) {
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::DeleteRule, 0);
  a.Set(block_a::ConflictRule, 1);
  a.Set(block_a::DeleteOldTypes, kCalendarTypeBits);
  for (int16_t type = 0; type <= kLastCalendarType; ++type)
    a.Set(block_a::DeleteOldUnit[type], kMonth);
  framework::SetupBlock& c = blocks.c;
  c.Set(block_c::ManualLogin, 0);
  c.Set(block_c::LoginUser, u"");
  c.Set(block_c::LoginParams, u"");
  c.Set(block_c::AddressBook, kDefaultAddressBook);
}

// The wizard has no pages for these, so a profile made by it gets them fixed.
void ApplyCommitValues(Blocks& blocks) {
  framework::SetupBlock& a = blocks.a;
  a.Set(block_a::DeleteRule, 0);
  a.Set(block_a::ConflictRule, 1);
}

}  // namespace setup::contact
