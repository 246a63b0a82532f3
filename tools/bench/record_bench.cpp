// Reads one corpus file (tools/bench/corpus.h) the way one reader mode does and reports its
// throughput and the memory it needed beyond the corpus. One process per file and mode, so
// that the peak resident size belongs to that mode alone; scripts/bench.sh runs them all and
// prints the table.
//
//   gws_record_bench MODE FILE [SECONDS]
//
// Modes:
//   memchr  floor: find each CR LF of every record with memchr
//   lines   floor: copy each CR LF-terminated line of every record into its own std::string
//   parse   TEntry::SetVersit of every record into a fresh entry, one record per call, as the
//           host sends writes
//   keep    every record parsed into an entry of one TEntryList, then that list's
//           BuildStream (GetVersit of each entry), as a read returns its records; the
//           throughput is the build's
//
// Output, one line of name=value pairs: mode, kind, bytes, records, passes, seconds (the best
// pass), mb_per_s (10^6 bytes of the corpus per second), peak_x (the highest resident size
// beyond the loaded corpus, as a multiple of its size) and, for keep, kept_x (the resident
// size the parsed entries alone take, the same way). Every timing is the best of several
// passes: a pass runs at least 5 times and for SECONDS (1 by default) in all, so that a moment
// when the machine was busy elsewhere does not make the figure.
//
// Only public members of the record layer are used (TEntry::SetVersit, TEntryList::Add and
// BuildStream, MemoryStream::Bytes), so the program measures any implementation behind them.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/data_types.h"
#include "framework/entry.h"
#include "framework/entry_list.h"
#include "platform/portable/scripted_user_interface.h"
#include "tools/bench/corpus.h"

namespace {

using Clock = std::chrono::steady_clock;

// Makes the compiler assume the memory behind `p` is read, so that no work the floors do is
// optimised away as unused.
void KeepAlive(const void* p) {
  asm volatile("" : : "g"(p) : "memory");
}

std::string LoadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) throw std::runtime_error("cannot open " + path);
  // Sized once and read in place: growing a buffer would leave a peak above the corpus and
  // spoil the baseline the modes' memory is measured from.
  std::string bytes(static_cast<std::size_t>(file.tellg()), '\0');
  file.seekg(0);
  file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file) throw std::runtime_error("cannot read " + path);
  return bytes;
}

// A "VmHWM" or "VmRSS" line of /proc/self/status in bytes; nothing where there is none.
std::optional<double> ProcessMemory(std::string_view field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(field) && line.size() > field.size() && line[field.size()] == ':')
      return 1024.0 * std::stod(line.substr(field.size() + 1));
  }
  return std::nullopt;
}

std::string Multiple(std::optional<double> bytes, std::optional<double> baseline, double size) {
  if (!bytes || !baseline) return "n/a";
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", (*bytes - *baseline) / size);
  return text;
}

// The best time of one pass.
template <typename Pass>
std::pair<double, int> BestSeconds(double atLeast, Pass pass) {
  double best = 1e30, total = 0;
  int passes = 0;
  while (passes < 5 || (total < atLeast && passes < 1000)) {
    const auto start = Clock::now();
    pass();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    best = std::min(best, seconds);
    total += seconds;
    ++passes;
  }
  return {best, passes};
}

void FindLineEnds(const std::vector<std::string_view>& records) {
  std::size_t count = 0;
  for (std::string_view record : records) {
    const char* at = record.data();
    const char* const end = at + record.size();
    while ((at = static_cast<const char*>(std::memchr(at, '\r', end - at))) != nullptr) {
      if (++at < end && *at == '\n') ++count;
    }
  }
  KeepAlive(&count);
}

void CopyLines(const std::vector<std::string_view>& records) {
  for (std::string_view record : records) {
    std::vector<std::string> lines;
    const char* start = record.data();
    const char* at = start;
    const char* const end = start + record.size();
    while ((at = static_cast<const char*>(std::memchr(at, '\r', end - at))) != nullptr) {
      if (++at < end && *at == '\n') {
        lines.emplace_back(start, at - 1);
        start = ++at;
      }
    }
    if (start < end) lines.emplace_back(start, end);
    KeepAlive(lines.data());
  }
}

int16_t ListTypeOf(const std::string& kind) {
  if (kind == "VCARD") return framework::data_type::kCon;
  if (kind == "VCALENDAR") return framework::data_type::kApt;
  if (kind == "VMAIL") return framework::data_type::kEmail;
  throw std::runtime_error("no list type holds " + kind + " records");
}

void RequireNoMessageBox(const platform::ScriptedUserInterface& ui) {
  if (!ui.messageBoxes.empty())
    throw std::runtime_error("a record was refused: " + ui.messageBoxes.front().text);
}

// A stream that is not the records it was built from would make the figures meaningless: its
// records must come back byte for byte between the list's header and trailer.
void RequireRoundTrip(std::string_view stream, std::string_view corpus, const std::string& kind) {
  const std::string trailer = "END:" + kind;
  const bool framed = stream.starts_with("BEGIN:" + kind + "\r\n") && stream.ends_with(trailer) &&
                      stream.size() >= corpus.size() + trailer.size();
  const std::size_t header = stream.size() - corpus.size() - trailer.size();
  if (framed && stream.substr(header, corpus.size()) == corpus) return;
  std::size_t at = 0;
  while (framed && at < corpus.size() && stream[header + at] == corpus[at])
    ++at;
  throw std::runtime_error(
      "the built stream does not hold the records as read; first difference "
      "at corpus offset " +
      std::to_string(at));
}

int Run(const std::string& mode, const std::string& path, double atLeast) {
  const std::string corpus = LoadFile(path);
  const bench::Records records = bench::SplitRecords(corpus);
  const std::vector<std::string_view>& texts = records.texts;
  const auto size = static_cast<double>(corpus.size());
  const std::optional<double> baseline = ProcessMemory("VmHWM");

  std::pair<double, int> best;
  std::string kept;
  std::optional<double> peak;
  platform::ScriptedUserInterface ui;
  if (mode == "memchr") {
    best = BestSeconds(atLeast, [&] { FindLineEnds(texts); });
  } else if (mode == "lines") {
    best = BestSeconds(atLeast, [&] { CopyLines(texts); });
  } else if (mode == "parse") {
    best = BestSeconds(atLeast, [&] {
      for (std::string_view text : texts) {
        framework::TEntry entry;
        entry.SetVersit(text, ui);
      }
    });
    RequireNoMessageBox(ui);
  } else if (mode == "keep") {
    framework::TEntryList list(ListTypeOf(records.kind));
    for (std::string_view text : texts) {
      auto entry = std::make_unique<framework::TEntry>();
      entry->SetVersit(text, ui);
      list.Add(std::move(entry));
    }
    RequireNoMessageBox(ui);
    kept = Multiple(ProcessMemory("VmRSS"), baseline, size);
    RequireRoundTrip(list.BuildStream().Bytes(), corpus, records.kind);
    // The peak of one build, as one read makes it; the passes that follow rebuild with the
    // last stream still held.
    peak = ProcessMemory("VmHWM");
    best = BestSeconds(atLeast, [&] { KeepAlive(list.BuildStream().Bytes().data()); });
  } else {
    throw std::runtime_error("unknown mode " + mode + " (memchr, lines, parse, keep)");
  }
  if (!peak) peak = ProcessMemory("VmHWM");

  std::printf(
      "mode=%s kind=%s bytes=%zu records=%zu passes=%d seconds=%.6f mb_per_s=%.1f "
      "peak_x=%s",
      mode.c_str(), records.kind.c_str(), corpus.size(), texts.size(), best.second, best.first,
      size / 1e6 / best.first, Multiple(peak, baseline, size).c_str());
  if (!kept.empty()) std::printf(" kept_x=%s", kept.c_str());
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::cerr << "usage: gws_record_bench memchr|lines|parse|keep CORPUS_FILE [SECONDS]\n";
    return 2;
  }
  try {
    return Run(argv[1], argv[2], argc == 4 ? std::stod(argv[3]) : 1.0);
  } catch (const std::exception& failure) {
    std::cerr << "gws_record_bench " << argv[1] << " " << argv[2] << ": " << failure.what() << "\n";
    return 1;
  }
}
