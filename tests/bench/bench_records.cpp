// Record parsing (TEntry::SetVersit) and record streams (TEntryList::BuildStream) as a read of
// a big address book or a mail with large attachments makes them. Each benchmark runs over a
// range of sizes and lets the library fit the growth: a read must stay linear in the bytes, or
// a mailbox that is ten times larger takes a hundred times longer.
//
// The "hostile" shapes are not records a host sends; they show what malformed input costs.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/data_types.h"
#include "framework/entry.h"
#include "framework/entry_list.h"
#include "platform/portable/scripted_user_interface.h"

namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kMiB = 1024 * kKiB;

// One calendar entry of the usual shape: plain lines, a folded description with escapes.
std::string EventLines(std::int64_t index) {
  const std::string n = std::to_string(index);
  return "BEGIN:VEVENT\r\n"
         "UID:" +
         n +
         "\r\n"
         "SUMMARY;QUOTED-PRINTABLE;CHARSET=UTF-8:Meeting " +
         n +
         " caf=C3=A9\r\n"
         "DESCRIPTION;QUOTED-PRINTABLE;CHARSET=UTF-8:Agenda=0D=0A=\r\n"
         "1. Budget =E2=82=AC=0D=0A=\r\n"
         "2. Planning\r\n"
         "DTSTART:20240105T090000Z\r\n"
         "DTEND:20240105T100000Z\r\n"
         "LOCATION:Room " +
         n +
         "\r\n"
         "END:VEVENT\r\n";
}

std::string Calendar(const std::string& body) {
  return "BEGIN:VCALENDAR\r\nVERSION:1.0\r\n" + body + "END:VCALENDAR";
}

// A contact with `count` fields, alternating plain and folded values.
std::string ContactWithFields(std::int64_t count) {
  std::string text = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
  for (std::int64_t i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    if (i % 2 == 0) {
      text += "X-FIELD-" + n + ":value " + n + "\r\n";
    } else {
      text += "NOTE;QUOTED-PRINTABLE;CHARSET=UTF-8:line one=0D=0A=\r\nline " + n + "\r\n";
    }
  }
  return text + "END:VCARD";
}

// Data that holds what a careless parser trips over: line breaks, colons, semicolons, the
// binary marker itself.
std::string AttachmentData(std::int64_t size) {
  static constexpr char kPattern[] = "PK\x03\x04\r\n:;VALUE=BINARY;*00000010*=0D=0A=\r\n\x00\xFF";
  std::string data(static_cast<std::size_t>(size), '\0');
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = kPattern[i % (sizeof kPattern - 1)];
  return data;
}

std::string MailWithAttachment(std::int64_t size) {
  return "BEGIN:VMAIL\r\nSUBJECT:Report\r\n"
         "ATTACH;NAME=report.zip;VALUE=BINARY;CHARSET=UTF-8:report.zip;*" +
         framework::FormatBinaryLength(static_cast<std::size_t>(size)) + "*" +
         AttachmentData(size) + "\r\nEND:VMAIL";
}

void ParseRecordText(benchmark::State& state, const std::string& text, std::int64_t n) {
  platform::ScriptedUserInterface ui;
  for (auto _ : state) {
    framework::TEntry entry;
    entry.SetVersit(text, ui);
    benchmark::DoNotOptimize(entry.Properties.Count());
  }
  if (!ui.messageBoxes.empty()) state.SkipWithError("the record was refused");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetComplexityN(n);
}

void BM_SetVersit_ManyFields(benchmark::State& state) {
  ParseRecordText(state, ContactWithFields(state.range(0)), state.range(0));
}
BENCHMARK(BM_SetVersit_ManyFields)->RangeMultiplier(4)->Range(64, 64 * kKiB)->Complexity();

// A read of many records parses them one after another, each on its own.
void BM_SetVersit_ManyRecords(benchmark::State& state) {
  const std::int64_t count = state.range(0);
  std::vector<std::string> records;
  for (std::int64_t i = 0; i < count; ++i)
    records.push_back(Calendar(EventLines(i)));
  platform::ScriptedUserInterface ui;
  for (auto _ : state) {
    for (const std::string& record : records) {
      framework::TEntry entry;
      entry.SetVersit(record, ui);
      benchmark::DoNotOptimize(entry.Properties.Count());
    }
  }
  state.SetItemsProcessed(state.iterations() * count);
  state.SetComplexityN(count);
}
BENCHMARK(BM_SetVersit_ManyRecords)->RangeMultiplier(4)->Range(16, 16 * kKiB)->Complexity();

// Attachments are fitted against N only. Copying is all they do, and a copy of 16 MiB or more
// gets fresh pages from the system each time (the allocator maps such blocks anew), so the
// throughput steps down there and a free fit would report N^2 or N^3 for what is a fixed number
// of passes over the bytes. A real quadratic shows as an RMS far above the step's, and in
// bytes_per_second.
void BM_SetVersit_Attachment(benchmark::State& state) {
  ParseRecordText(state, MailWithAttachment(state.range(0)), state.range(0));
}
BENCHMARK(BM_SetVersit_Attachment)
    ->RangeMultiplier(4)
    ->Range(kKiB, 16 * kMiB)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A value folded over many lines: every fold is a CR LF the line-end search must pass over.
void BM_SetVersit_LongFoldedValue(benchmark::State& state) {
  std::string text = "BEGIN:VEVENT\r\nDESCRIPTION;QUOTED-PRINTABLE:start";
  for (std::int64_t i = 0; i < state.range(0); ++i)
    text += "=0D=0A=\r\nline of text";
  text += "\r\nEND:VEVENT";
  ParseRecordText(state, text, state.range(0));
}
BENCHMARK(BM_SetVersit_LongFoldedValue)->RangeMultiplier(4)->Range(64, 64 * kKiB)->Complexity();

// Hostile: names that contain the binary parameter and values without ";". Each line makes the
// parser look for the ";" of a binary header, and there is none.
void BM_SetVersit_HostileBinaryNames(benchmark::State& state) {
  std::string text = "BEGIN:VEVENT\r\n";
  for (std::int64_t i = 0; i < state.range(0); ++i)
    text += "X-VALUE=BINARY:abc\r\n";
  text += "END:VEVENT";
  ParseRecordText(state, text, state.range(0));
}
BENCHMARK(BM_SetVersit_HostileBinaryNames)->RangeMultiplier(4)->Range(64, 16 * kKiB)->Complexity();

// Hostile: many lines without ":" before the one ":" at the end. Each line's head then runs on
// to that distant ":", and must not be searched again for every line.
void BM_SetVersit_HostileLinesWithoutColon(benchmark::State& state) {
  std::string text = "BEGIN:VEVENT\r\n";
  for (std::int64_t i = 0; i < state.range(0); ++i)
    text += "no colon;VALUE=BINAR here\r\n";
  text += "END:VEVENT";
  ParseRecordText(state, text, state.range(0));
}
BENCHMARK(BM_SetVersit_HostileLinesWithoutColon)
    ->RangeMultiplier(4)
    ->Range(64, 16 * kKiB)
    ->Complexity();

framework::TEntryList ListOfParsedRecords(std::int16_t type, const std::string& record,
                                          std::int64_t count) {
  framework::TEntryList list(type);
  platform::ScriptedUserInterface ui;
  for (std::int64_t i = 0; i < count; ++i) {
    auto entry = std::make_unique<framework::TEntry>();
    entry->SetVersit(record, ui);
    list.Add(std::move(entry));
  }
  return list;
}

void BuildStreamOf(benchmark::State& state, framework::TEntryList& list, std::int64_t n) {
  for (auto _ : state) {
    const platform::MemoryStream& stream = list.BuildStream();
    benchmark::DoNotOptimize(stream.Bytes().data());
  }
  const std::size_t streamSize = list.BuildStream().Bytes().size();
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(streamSize));
  state.SetComplexityN(n);
}

void BM_BuildStream_ManyEntries(benchmark::State& state) {
  framework::TEntryList list =
      ListOfParsedRecords(framework::data_type::kApt, Calendar(EventLines(7)), state.range(0));
  BuildStreamOf(state, list, state.range(0));
}
BENCHMARK(BM_BuildStream_ManyEntries)->RangeMultiplier(4)->Range(16, 16 * kKiB)->Complexity();

void BM_BuildStream_Attachment(benchmark::State& state) {
  framework::TEntryList list =
      ListOfParsedRecords(framework::data_type::kEmail, MailWithAttachment(state.range(0)), 1);
  BuildStreamOf(state, list, state.range(0));
}
BENCHMARK(BM_BuildStream_Attachment)
    ->RangeMultiplier(4)
    ->Range(kKiB, 16 * kMiB)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
