#pragma once

// The record corpus the throughput benchmark reads: three files of records as the host sends
// them, one record per call, made by a generator of our own so that every machine gets the
// same bytes and figures from two machines (or two versions of the parser) compare.
//
// Framing: a corpus file is a sequence of records, each one outer block from its BEGIN line to
// its END line, both ending in CR LF:
//   BEGIN:VCARD<CR><LF> ... END:VCARD<CR><LF>BEGIN:VCARD<CR><LF> ... END:VCARD<CR><LF>
// The outer kind is the first record's; every record has the same kind. Binary values hold
// arbitrary bytes, CR LF included, but never the record's END line, so a record ends at the
// first CR LF "END:<kind>" CR LF after its BEGIN.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

// What one corpus file holds and how many records of it make the benchmark's corpus.
struct CorpusKind {
  std::string_view fileName;
  int recordCount;
  // Appends record `index` (0-based) of this corpus to `out`.
  void (*appendRecord)(std::string& out, std::uint64_t index);
};

// Contacts (vCard 2.1), events (vCalendar 1.0 with one VEVENT each) and mail (a VMAIL with one
// VMEMO and a 64 KiB binary attachment each), in that order.
const std::vector<CorpusKind>& CorpusKinds();

// The first `count` records of a corpus (count < 0: the benchmark's own count).
std::string Generate(const CorpusKind& kind, int count = -1);

// The size of the attachment every mail record carries.
inline constexpr std::size_t kMailAttachmentSize = 64 * 1024;

// A corpus file cut into its records, each a view into `file`, its CR LF included. Raises
// std::runtime_error, naming the offset, when the file does not follow the framing above.
struct Records {
  std::string kind;  // "VCARD", "VCALENDAR", "VMAIL"
  std::vector<std::string_view> texts;
};
Records SplitRecords(std::string_view file);

}  // namespace bench
