// A whole appointment read, at 10,000 and at 100,000 appointments, in three layers: the
// simulated GroupWise alone (the query and the item loop as the plug-in drives them), the
// calendar plug-in's ReadSource against it, and gwsync's read of a store file; and a contact
// read of an address book of as many entries through the plug-in. Each reports its
// time per item ("per_item"); the figure is the one of 100,000 over the one of 10,000. A read
// whose loop is linear stays close to 1: the ten times larger mailbox no longer fits the
// caches, which costs some tenths. A path that grows with the mailbox shows as a ratio of
// several. For an exact figure, count instructions instead of time:
//   valgrind --tool=callgrind --toggle-collect='*TBaseIsync::ReadSource*' gws_read_bench
//       --benchmark_filter='PluginRead/items:10000$' --benchmark_min_time=0.000001

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "framework/data_types.h"
#include "framework/module_globals.h"
#include "framework/setup_blocks.h"
#include "mailsync/mail_plugin.h"
#include "pimsync/pim_plugin.h"
#include "platform/byte_stream.h"
#include "sim/groupwise/simulated_groupwise.h"
#include "sim/groupwise/store.h"
#include "tests/support/plugin_harness.h"
#include "tools/gwsync/command_line.h"
#include "tools/gwsync/host_command.h"
#include "tools/gwsync/plugin_factory.h"

namespace {

using platform::Object;
using platform::Variant;

// The query the plug-in's appointment read runs, for the range below.
constexpr char16_t kQuery[] =
    u"(APPOINTMENT) AND (ACCEPTED) AND (BOX_TYPE = INCOMING OR BOX_TYPE = PERSONAL) AND "
    u"(START_DATE >= 2000/1/3 AT 00:00:00 AND START_DATE <= 2000/12/31 AT 23:59:59)";

// `count` appointments spread over the year 2000, as a user's calendar has them: a subject, a
// place and a short body each, every tenth private.
sim::Mailbox Appointments(int64_t count) {
  sim::Mailbox mailbox;
  for (int64_t i = 0; i < count; ++i) {
    const std::u16string n = [&] {
      const std::string digits = std::to_string(i);
      return std::u16string(digits.begin(), digits.end());
    }();
    sim::CalendarItem item;
    item.messageId = u"SIM.DOM.PO.100." + n + u".1";
    item.subject = u"Meeting " + n;
    item.place = u"Room " + n;
    item.bodyText = u"Agenda\r\n1. Budget\r\n2. Planning";
    item.isPrivate = i % 10 == 0;
    item.startDate = platform::EncodeAutomationDate(
        {2000, 1 + static_cast<int>(i % 12), 3 + static_cast<int>(i % 25), 9, 0, 0, 0});
    item.endDate = platform::AutomationDate{item.startDate.days + 1.0 / 24};
    mailbox.calendar.push_back(std::move(item));
  }
  mailbox.nextMessageNumber = count + 1;
  return mailbox;
}

void ReportPerItem(benchmark::State& state) {
  const auto items = static_cast<double>(state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["per_item"] = benchmark::Counter(
      items, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// How a controller reaches the results: the plug-in takes QueryMessages once; controllers
// written in the style of automation scripts ask the query for them for every item.
enum class Results : int64_t { kTakenOnce, kAskedPerItem };

// The simulator's part of a read: the calls the plug-in makes, made directly, so that its cost
// is seen without the plug-in's. Kept out of line so that a profiler can single it out
// (valgrind --tool=callgrind --toggle-collect='*ReadThroughSimulator*').
[[gnu::noinline]] int32_t ReadThroughSimulator(const Object& account, Results results) {
  const Object query = account.Call("CreateQuery", {}).AsObject();
  query.PutProperty("Expression", kQuery);
  query.PutProperty("SearchLocally", true);
  query.Call("Start", {});
  while (!query.GetProperty("Completed").ToBool()) {
  }
  const Object found = query.GetProperty("QueryMessages").AsObject();
  const int32_t count = found.GetProperty("Count").ToInt32();
  for (int32_t i = 1; i <= count; ++i) {
    const Object item =
        (results == Results::kTakenOnce ? found : query.GetProperty("QueryMessages").AsObject())
            .Call("Item", {i})
            .AsObject();
    benchmark::DoNotOptimize(item.GetProperty("Subject").AsObject().GetProperty("PlainText"));
    benchmark::DoNotOptimize(item.GetProperty("MessageID"));
    benchmark::DoNotOptimize(item.GetProperty("StartDate"));
    benchmark::DoNotOptimize(item.GetProperty("EndDate"));
    benchmark::DoNotOptimize(item.GetProperty("Private"));
    benchmark::DoNotOptimize(item.GetProperty("Place"));
    benchmark::DoNotOptimize(item.GetProperty("BodyText").AsObject().GetProperty("PlainText"));
  }
  return count;
}

void BM_SimulatorRead(benchmark::State& state) {
  sim::GroupWise groupwise;
  *groupwise.mailbox = Appointments(state.range(0));
  groupwise.mailbox->queryPolls = 3;
  // As gwsync runs it: a log of every call would cost memory in proportion to the read.
  groupwise.context->log.enabled = false;
  const Object account =
      groupwise.CreateSession()
          .Call("Login", {Variant(u""), Variant(u""), Variant(u""), Variant(int16_t{1})})
          .AsObject();
  for (auto _ : state) {
    if (ReadThroughSimulator(account, static_cast<Results>(state.range(1))) != state.range(0)) {
      state.SkipWithError("the query did not find every appointment");
      break;
    }
  }
  ReportPerItem(state);
}
BENCHMARK(BM_SimulatorRead)
    ->ArgsProduct({{10'000, 100'000},
                   {static_cast<int64_t>(Results::kTakenOnce),
                    static_cast<int64_t>(Results::kAskedPerItem)}})
    ->ArgNames({"items", "results_asked_per_item"})
    ->Unit(benchmark::kMillisecond);

// The host around the plug-in, as tests/pimsync sets it up, keeping no calls, as gwsync does.
struct PluginHost {
  PluginHost() {
    host.progress->keepCalls = false;
    host.progress->Context().log.enabled = false;
    groupwise.context->log.enabled = false;
    host.platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/pimsync.dll";
    host.platform.env.fixedNow = platform::EncodeAutomationDate({2000, 1, 10, 12, 0, 0, 0});
    resources.emplace(host.platform.env, host.platform.resources, host.platform.ui);
    groupwise.RegisterWith(host.platform.objects);
    blockA.Set(framework::block_a::CalRangeStart, std::u16string_view(u"20000103T000000"));
    blockA.Set(framework::block_a::CalRangeEnd, std::u16string_view(u"20010101T000000"));
  }
  bool Start() {
    platform::MemoryStream a, c;
    blockA.WriteTo(a);
    blockC.WriteTo(c);
    return plugin->Init(host.progressObject, &a, &c) == 0 && plugin->Open(host.progressObject) == 0;
  }

  testing_support::HostHarness host;
  std::optional<framework::ModuleResourcesScope> resources;
  sim::GroupWise groupwise;
  framework::SetupBlock blockA{framework::BlockKind::kA};
  framework::SetupBlock blockC{framework::BlockKind::kCPim};
  std::unique_ptr<pimsync::TISYNCHAPPU> plugin =
      std::make_unique<pimsync::TISYNCHAPPU>(host.platform);
};

// The plug-in's ReadSource of one data type from the mailbox, as often as the state asks.
void ReadThroughPlugin(benchmark::State& state, sim::Mailbox mailbox, int16_t type) {
  PluginHost host;
  *host.groupwise.mailbox = std::move(mailbox);
  if (!host.Start()) {
    state.SkipWithError("the plug-in did not open");
    return;
  }
  for (auto _ : state) {
    platform::MemoryStream stream;
    // Every item makes a record of more than a hundred bytes.
    if (host.plugin->ReadSource(Object(), &stream, type, 0, u"") != 0 ||
        stream.Bytes().size() < static_cast<std::size_t>(state.range(0)) * 100) {
      state.SkipWithError("the read failed");
      break;
    }
    benchmark::DoNotOptimize(stream.Bytes().data());
  }
  ReportPerItem(state);
}

// The plug-in's ReadSource of appointments: query, item loop, records and the host's stream.
void BM_PluginRead(benchmark::State& state) {
  ReadThroughPlugin(state, Appointments(state.range(0)), framework::data_type::kApt);
}
BENCHMARK(BM_PluginRead)
    ->ArgName("items")
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

// `count` user entries of the book the plug-in synchronizes, each with a name, an address, two
// phone numbers, an e-mail address and its device identity, as an address book has them.
sim::Mailbox Contacts(int64_t count) {
  sim::Mailbox mailbox;
  sim::AddressBook book;
  book.name = u"Didodudo Z380";
  book.definitions = sim::StandardFieldDefinitions();
  book.AddDefinition(u"PMTPIUID");
  const auto field = [&](std::u16string_view label, std::u16string value) {
    const sim::FieldDefinition* definition = book.FindDefinition(label);
    return sim::EntryField{definition->name, definition->fieldId, std::move(value)};
  };
  for (int64_t i = 0; i < count; ++i) {
    const std::string digits = std::to_string(i);
    const std::u16string n(digits.begin(), digits.end());
    sim::BookEntry entry;
    entry.key = mailbox.NewEntryKey();
    std::u16string uid = u"{00000000-0000-0000-0000-000000000000}";
    std::copy(n.rbegin(), n.rend(), uid.rbegin() + 1);
    entry.fields = {field(u"Display Name", u"Contact " + n),
                    field(u"First Name", u"Jörg " + n),
                    field(u"Last Name", u"Müller"),
                    field(u"Organization", u"Example Ltd"),
                    field(u"Address", n + u" High Street"),
                    field(u"City", u"Zürich"),
                    field(u"ZIP Code", u"8001"),
                    field(u"Office Phone Number", u"+41 44 " + n),
                    field(u"Mobile Phone Number", u"+41 79 " + n),
                    field(u"E-Mail Address", u"contact" + n + u"@example.com"),
                    field(u"Comments", u"Met at the fair.\r\nCall in spring."),
                    field(u"PMTPIUID", uid)};
    book.entries.push_back(std::move(entry));
  }
  mailbox.addressBooks.push_back(std::move(book));
  return mailbox;
}

// The plug-in's ReadSource of contacts: the book found, its field names learned, every entry's
// fields read by identifier, records and the host's stream.
void BM_PluginContactRead(benchmark::State& state) {
  ReadThroughPlugin(state, Contacts(state.range(0)), framework::data_type::kCon);
}
BENCHMARK(BM_PluginContactRead)
    ->ArgName("items")
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

// `count` incoming mails of one week, each with one file attachment of `attachmentBytes`
// bytes: the mailbox of a user who gets documents by mail.
// A host stream that keeps only its size, so that a benchmark's peak memory is the plug-in's.
class SizeOnlyStream final : public platform::ByteStream {
 public:
  uint64_t Seek(int64_t offset, Origin origin) override {
    const uint64_t base = origin == Origin::kBegin ? 0 : origin == Origin::kEnd ? size : position;
    position = base + static_cast<uint64_t>(offset);
    return position;
  }
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void*, std::size_t bytes) override {
    position += bytes;
    size = std::max(size, position);
  }
  void SetSize(uint64_t newSize) override { size = newSize; }

  uint64_t size = 0;
  uint64_t position = 0;
};

sim::Mailbox MailWithAttachments(int64_t count, std::size_t attachmentBytes) {
  sim::Mailbox mailbox;
  // One buffer shared by every attachment, as the store shares unchanged bytes: the bench
  // measures the plug-in, not the building of the mailbox.
  const auto bytes = std::make_shared<const std::string>(attachmentBytes, 'x');
  for (int64_t i = 0; i < count; ++i) {
    const std::string digits = std::to_string(i);
    sim::MailMessage message;
    message.messageId = mailbox.NewMessageId();
    message.folders = {mailbox.mailboxFolderId};
    message.subject = u"Report " + std::u16string(digits.begin(), digits.end());
    message.bodyText = u"Please find the report attached.";
    message.creationDate =
        platform::EncodeAutomationDate({2000, 12, 4 + static_cast<int>(i % 4), 9, 0, 0, 0});
    message.sender = {u"Anna", u"anna@example.com"};
    sim::Recipient to;
    to.emailAddress = u"jane@example.com";
    message.recipients.push_back(to);
    sim::Attachment file;
    file.fileName = u"report.pdf";
    file.data = bytes;
    message.attachments.push_back(file);
    mailbox.messages.push_back(std::move(message));
  }
  mailbox.NoteFiling();
  return mailbox;
}

// The mail plug-in's ReadSource of such a mailbox, attachments included: each is saved once
// by the size check and its bytes carried into the record. Reports the bytes per second and how
// much the process's peak memory grew during the read, the host's stream left out: a small
// multiple of the largest message, however many there are.
void BM_PluginMailRead(benchmark::State& state) {
  const std::size_t kAttachment = static_cast<std::size_t>(state.range(1)) * 1024;
  testing_support::HostHarness host;
  host.progress->keepCalls = false;
  host.progress->Context().log.enabled = false;
  host.platform.env.modulePath = std::string(GWS_RUNTIME_DIR) + "/mailsync.dll";
  host.platform.env.fixedNow = platform::EncodeAutomationDate({2000, 12, 8, 12, 0, 0, 0});
  host.platform.ui.folderNames.enterWhenEmpty = true;
  std::optional<framework::ModuleResourcesScope> resources;
  resources.emplace(host.platform.env, host.platform.resources, host.platform.ui);
  sim::GroupWise groupwise;
  groupwise.context->log.enabled = false;
  *groupwise.mailbox = MailWithAttachments(state.range(0), kAttachment);
  groupwise.RegisterWith(host.platform.objects);
  framework::SetupBlock a{framework::BlockKind::kA}, c{framework::BlockKind::kCMail};
  a.Set(framework::block_a::MailRangeStart, std::u16string_view(u"20001201T000000"));
  a.Set(framework::block_a::MailRangeEnd, std::u16string_view(u"20001208T000000"));
  a.Set(framework::block_a::MailFolders, uint32_t{8});
  a.Set(framework::block_a::MemoLimit, uint32_t{1} << 30);
  a.Set(framework::block_a::MailNoAttachments, int16_t{0});
  platform::MemoryStream aStream, cStream;
  a.WriteTo(aStream);
  c.WriteTo(cStream);
  mailsync::TISYNCHAPPU plugin(host.platform);
  if (plugin.Init(host.progressObject, &aStream, &cStream) != 0 ||
      plugin.Open(host.progressObject) != 0) {
    state.SkipWithError("the plug-in did not open");
    return;
  }
  const auto peakMiB = [] {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
  };
  const double before = peakMiB();
  uint64_t streamBytes = 0;
  for (auto _ : state) {
    // The host keeps the stream; what the read itself needs is measured without it.
    SizeOnlyStream stream;
    if (plugin.ReadSource(Object(), &stream, framework::data_type::kEmail, 0, u"") != 0 ||
        stream.size < static_cast<uint64_t>(state.range(0)) * kAttachment) {
      state.SkipWithError("the read failed");
      break;
    }
    streamBytes = stream.size;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) *
                          static_cast<int64_t>(kAttachment));
  state.counters["read_peak_MiB"] = peakMiB() - before;
  state.counters["stream_MiB"] = static_cast<double>(streamBytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_PluginMailRead)
    ->ArgNames({"messages", "attachment_KiB"})
    ->Args({1'000, 100})
    ->Args({10, 10'240})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// `gwsync --store FILE read APT`: loading the store, the read, the progress shown on standard
// error and the records on standard output, and leaving the unchanged store alone.
void BM_GwsyncRead(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("gws_bench_read_" + std::to_string(state.range(0)));
  std::filesystem::create_directories(folder);
  const std::string store = (folder / "mailbox.json").string();
  sim::SaveStore(store, Appointments(state.range(0)));
  const std::optional<gwsync::Options> options = gwsync::ParseCommandLine(
      {"--today", "20000110", "--range", "20000103", "20001231", "--store", store, "read", "APT"});
  const gwsync::HostParts parts(gwsync::CalendarPluginFactory(),
                                std::string(GWS_RUNTIME_DIR) + "/pimsync.dll");
  for (auto _ : state) {
    std::istringstream in;
    std::ostringstream out, err;
    if (gwsync::RunHostCommand(*options, parts, {in, out, err, false}) != 0) {
      state.SkipWithError(("the read failed: " + err.str()).c_str());
      break;
    }
    benchmark::DoNotOptimize(out.str().data());
  }
  ReportPerItem(state);
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_GwsyncRead)
    ->ArgName("items")
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace
