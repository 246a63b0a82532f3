#pragma once

// A whole host around the calendar plug-in: the portable machine with the build's resource
// libraries, a recording progress object, the simulated GroupWise, and a profile's setup
// blocks handed over as streams, as the host hands them.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/module_globals.h"
#include "framework/setup_blocks.h"
#include "pimsync/pim_plugin.h"
#include "sim/groupwise/simulated_groupwise.h"
#include "tests/support/bytes.h"
#include "tests/support/plugin_harness.h"
#include "tests/support/trace_view.h"

namespace pimsync::testing_harness {

struct PimHost {
  PimHost() {
    host.platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/pimsync.dll";
    host.platform.env.fixedNow = platform::EncodeAutomationDate({2000, 1, 10, 12, 0, 0, 0});
    resources.emplace(host.platform.env, host.platform.resources, host.platform.ui);
    groupwise.RegisterWith(host.platform.objects);
    SetRange(u"20000105T000000", u"20000313T000000");
  }

  // The range as the host fills it: the first day, and the day after the last.
  void SetRange(std::u16string_view start, std::u16string_view dayAfterEnd) {
    blockA.Set(framework::block_a::CalRangeStart, start);
    blockA.Set(framework::block_a::CalRangeEnd, dayAfterEnd);
  }

  int32_t Init() {
    platform::MemoryStream a, c;
    blockA.WriteTo(a);
    blockC.WriteTo(c);
    return plugin->Init(host.progressObject, &a, &c);
  }
  // Init and Open, as every run begins.
  void Start() {
    ASSERT_EQ(Init(), 0);
    ASSERT_EQ(plugin->Open(host.progressObject), 0) << TraceText();
  }

  int32_t Read(std::string& stream, int16_t type = 0) {
    platform::MemoryStream host;
    const int32_t value = plugin->ReadSource(platform::Object(), &host, type, 0, u"");
    stream = host.Bytes();
    return value;
  }
  // One write of a record (an appointment unless told); `record` becomes what was written back.
  int32_t Write(int16_t op, std::string& record, int16_t type = 0) {
    platform::MemoryStream host(record);
    const int32_t value = plugin->WriteSource(platform::Object(), &host, type, op, u"");
    record = host.Bytes();
    return value;
  }

  std::vector<std::string> Trace() const { return testing_support::TraceOf(*plugin); }
  std::string TraceText() const { return testing_support::TraceTextOf(*plugin); }
  bool Traced(std::string_view line) const { return testing_support::Traced(*plugin, line); }
  // Calls of the simulated GroupWise with their arguments that start with `prefix`.
  std::vector<std::string> GroupWiseCalls(std::string_view prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : groupwise.context->log.withArguments) {
      if (call.rfind(prefix, 0) == 0) found.push_back(call);
    }
    return found;
  }

  testing_support::HostHarness host;
  std::optional<framework::ModuleResourcesScope> resources;
  sim::GroupWise groupwise;
  framework::SetupBlock blockA{framework::BlockKind::kA};
  framework::SetupBlock blockC{framework::BlockKind::kCPim};
  std::unique_ptr<TISYNCHAPPU> plugin = std::make_unique<TISYNCHAPPU>(host.platform);
};

// An appointment in the range, with the fields a test usually leaves alone filled in.
inline sim::CalendarItem Appointment(std::u16string id, std::u16string subject,
                                     platform::CivilDateTime start) {
  sim::CalendarItem item;
  item.messageId = std::move(id);
  item.subject = std::move(subject);
  item.startDate = platform::EncodeAutomationDate(start);
  item.endDate = platform::AutomationDate{item.startDate.days + 1.0 / 24};  // an hour long
  item.place = u"Room 4";
  item.bodyText = u"Agenda";
  return item;
}

// A personal task assigned on one day and due on another, both at midnight.
inline sim::CalendarItem Task(std::u16string id, std::u16string subject,
                              platform::CivilDateTime assigned, platform::CivilDateTime due) {
  sim::CalendarItem item;
  item.messageId = std::move(id);
  item.itemClass = sim::ItemClass::kTask;
  item.subject = std::move(subject);
  item.assignedDate = platform::EncodeAutomationDate(assigned);
  item.startDate = item.assignedDate;
  item.dueDate = platform::EncodeAutomationDate(due);
  item.taskPriority = 2;
  item.taskCategory = u"S";
  item.bodyText = u"Steps";
  return item;
}

// A personal note of one day.
inline sim::CalendarItem Note(std::u16string id, std::u16string subject,
                              platform::CivilDateTime day) {
  sim::CalendarItem item;
  item.messageId = std::move(id);
  item.itemClass = sim::ItemClass::kNote;
  item.subject = std::move(subject);
  item.startDate = platform::EncodeAutomationDate(day);
  item.bodyText = u"Details";
  return item;
}

}  // namespace pimsync::testing_harness
