#pragma once

// What the simulator tests share: a GroupWise logged into as the plug-ins log in, and short
// ways to make items and to call members.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "platform/automation.h"
#include "sim/common/json.h"
#include "sim/groupwise/simulated_groupwise.h"

namespace sim::testing_support {

using platform::AutomationDate;
using platform::Object;
using platform::Variant;

inline AutomationDate At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                         int millisecond = 0) {
  return platform::EncodeAutomationDate({year, month, day, hour, minute, second, millisecond});
}

inline std::string Utf8(std::u16string_view text) {
  return json::Utf16ToUtf8(text);
}

inline CalendarItem MakeItem(std::u16string id, ItemClass itemClass = ItemClass::kAppointment) {
  CalendarItem item;
  item.messageId = std::move(id);
  item.itemClass = itemClass;
  return item;
}

// The hresult of the automation error `call` raises; 0 when it raises none.
template <typename Call>
int32_t HResultOf(Call&& call) {
  try {
    call();
  } catch (const platform::AutomationError& error) {
    return error.HResult();
  }
  return 0;
}

// The text of the automation error `call` raises; "(no error)" when it raises none.
template <typename Call>
std::string ErrorOf(Call&& call) {
  try {
    call();
  } catch (const platform::AutomationError& error) {
    return error.what();
  }
  return "(no error)";
}

// A folder of the test's own under the temporary folder, removed with its contents at the end:
// named after the test and a random number, since other builds of the same tests may run at
// the same time.
class ScratchFolder {
 public:
  ScratchFolder() {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%08x", static_cast<unsigned>(std::random_device{}()));
    path_ = std::filesystem::temp_directory_path() /
            (std::string("gws_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
             suffix);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Logged in as the plug-ins log in by default.
inline Object AccountOf(const GroupWise& groupwise) {
  return groupwise.CreateSession()
      .Call("Login", {Variant(u""), Variant(u""), Variant(u""), Variant(int16_t{1})})
      .AsObject();
}

inline Object CalendarMessagesOf(const GroupWise& groupwise) {
  return AccountOf(groupwise).GetProperty("Calendar").AsObject().GetProperty("Messages").AsObject();
}

class GroupWiseTest : public ::testing::Test {
 protected:
  Object Account() { return AccountOf(groupwise); }
  Object CalendarMessages() { return CalendarMessagesOf(groupwise); }
  CalendarItem& Put(CalendarItem item) { return groupwise.mailbox->calendar.push_back(item); }

  GroupWise groupwise;
};

}  // namespace sim::testing_support
