#pragma once

// The mail of the sample mailbox (sample_mailbox.h), apart from its calendar and address book.

#include <cstddef>
#include <string>

#include "platform/automation_date.h"
#include "sim/groupwise/mailbox.h"

namespace sim {

// The sample's folders beside the mailbox folder, and its mail and phone messages: a few dozen,
// most of them in the three days up to `today` (the e-mail profile's default range), some
// older. Their ids come after every id the mailbox has given so far.
void AddSampleMail(Mailbox& mailbox, platform::AutomationDate today);

// The e-mail profile's default size limit (its MemoLimit, 10 KB): the sample holds a message
// of exactly this size and one a byte larger, counted as the plug-in counts (subject, body and
// recipients' addresses).
inline constexpr std::size_t kSampleMemoLimit = 10240;

// The bytes of the sample's large attachment, the same on every run.
std::string SampleLargeAttachment();

}  // namespace sim
