#include "tools/bench/corpus.h"

#include <array>
#include <cstdio>
#include <stdexcept>

namespace bench {
namespace {

// SplitMix64: a fixed algorithm started from a fixed value per record, where a standard library
// engine or distribution may differ between library versions, and the corpus must not.
class Prng {
 public:
  explicit Prng(std::uint64_t start) : state_(start) {}

  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  int Below(int bound) { return static_cast<int>(Next() % static_cast<std::uint64_t>(bound)); }
  bool OneIn(int n) { return Below(n) == 0; }
  template <typename T, std::size_t N>
  const T& Pick(const std::array<T, N>& items) {
    return items[static_cast<std::size_t>(Below(static_cast<int>(N)))];
  }

 private:
  std::uint64_t state_;
};

// Each record from a starting value of its own, so that a prefix of a corpus is the same bytes as
// the whole corpus's start and a test can take a few records.
Prng ForRecord(std::uint64_t corpus, std::uint64_t index) {
  return Prng(0x6757537942656E63u ^ (corpus << 56) ^ (index * 0x2545F4914F6CDD1Du));
}

struct Person {
  std::string_view name;
  std::string_view ascii;  // for addresses
};
constexpr std::array<Person, 20> kFirstNames = {{
    {"Anna", "anna"},     {"John", "john"},     {"Jürgen", "juergen"},    {"Zoë", "zoe"},
    {"José", "jose"},     {"Łukasz", "lukasz"}, {"Søren", "soren"},       {"Ingrid", "ingrid"},
    {"Mehmet", "mehmet"}, {"Chloé", "chloe"},   {"Δημήτρης", "dimitris"}, {"Ольга", "olga"},
    {"Wei", "wei"},       {"Aiko", "aiko"},     {"François", "francois"}, {"Siobhán", "siobhan"},
    {"Björn", "bjorn"},   {"María", "maria"},   {"Peter", "peter"},       {"Sarah", "sarah"},
}};
constexpr std::array<Person, 20> kLastNames = {{
    {"Smith", "smith"},           {"Müller", "mueller"},
    {"Østergaard", "ostergaard"}, {"García", "garcia"},
    {"Öztürk", "ozturk"},         {"Nowak", "nowak"},
    {"Dubois", "dubois"},         {"Παπαδόπουλος", "papadopoulos"},
    {"Иванова", "ivanova"},       {"王", "wang"},
    {"Tanaka", "tanaka"},         {"O'Brien", "obrien"},
    {"Jensen", "jensen"},         {"Rossi", "rossi"},
    {"Brown", "brown"},           {"Schäfer", "schaefer"},
    {"Lefèvre", "lefevre"},       {"Kowalski", "kowalski"},
    {"Nguyễn", "nguyen"},         {"Taylor", "taylor"},
}};
constexpr std::array<std::string_view, 10> kCompanies = {
    "Acme Ltd",           "Müller & Söhne GmbH", "Nordlys AS",         "Café Central",
    "Global Widgets Inc", "Société d'Études SA", "Kowalski i Synowie", "Tanaka Shoji KK",
    "Brown & Partners",   "Ελληνικά Τρόφιμα ΑΕ"};
constexpr std::array<std::string_view, 8> kDepartments = {
    "Sales", "Research", "Accounts", "Support", "Logistics", "Legal", "Einkauf", "Direction"};
constexpr std::array<std::string_view, 8> kTitles = {
    "Sales Manager", "Engineer",        "Director",       "Assistant",
    "Consultant",    "Geschäftsführer", "Chef de projet", "Buyer"};
constexpr std::array<std::string_view, 8> kStreets = {
    "Hauptstraße 5", "12 High Street", "3 rue de la Paix", "Calle Mayor 18",
    "Storgata 7",    "Via Roma 22",    "ul. Floriańska 9", "Οδός Ερμού 40"};
struct Place {
  std::string_view city, postcode, country, dialling;
};
constexpr std::array<Place, 8> kPlaces = {{
    {"München", "80331", "Germany", "+49 89"},
    {"London", "EC1A 1BB", "United Kingdom", "+44 20"},
    {"Paris", "75002", "France", "+33 1"},
    {"Madrid", "28013", "Spain", "+34 91"},
    {"Oslo", "0155", "Norway", "+47 22"},
    {"Roma", "00185", "Italy", "+39 06"},
    {"Kraków", "31-001", "Poland", "+48 12"},
    {"Αθήνα", "105 57", "Ελλάδα", "+30 21"},
}};
constexpr std::array<std::string_view, 12> kSentences = {
    "Met at the trade fair in Hannover.",
    "Prefers calls after 10:00, never on Fridays.",
    "Kontakt über Frau Schäfer im Einkauf.",
    "Rappeler après la réunion de lundi.",
    "Key account: quarterly review in the spring.",
    "Likes café au lait; remember for the next visit.",
    "Bring the signed contract and two copies of the offer.",
    "Προσοχή: νέα διεύθυνση από τον Μάρτιο.",
    "Parking behind the building, entrance B.",
    "Budget figures for Q3 are still open (approx. 12.500 €).",
    "Заказ подтвержден, доставка через две недели.",
    "Dial-in: +44 20 7946 0000, code 4711#.",
};
constexpr std::array<std::string_view, 10> kSubjects = {
    "Weekly team meeting", "Déjeuner avec Amélie", "Project review",   "Dentist",
    "Quarterly figures",   "Besprechung Vertrieb", "Flight to Zürich", "Τηλεδιάσκεψη",
    "Customer visit Acme", "Planning 2002"};
constexpr std::array<std::string_view, 8> kRooms = {"Room 2.14",
                                                    "Café Bénédicte, Genève",
                                                    "Head office, board room",
                                                    "",
                                                    "Hauptstraße 5, München",
                                                    "Terminal 2",
                                                    "Αίθουσα 3",
                                                    "Online"};
constexpr std::array<std::string_view, 6> kAttachmentNames = {
    "report.pdf", "minutes.txt", "photo.jpg", "Präsentation.ppt", "budget.xls", "notes.csv"};

// Values under QUOTED-PRINTABLE as the device writes them: bytes outside ASCII and "=" as
// =XX, and a line break folded as =0D=0A= followed by CR LF, so one value spans several lines.
void AppendQuotedPrintable(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (text.substr(i).starts_with("\r\n")) {
      out += "=0D=0A=\r\n";
      ++i;
    } else if (byte >= 0x80 || byte == '=') {
      out += '=';
      out += kHex[byte >> 4];
      out += kHex[byte & 0x0F];
    } else {
      out += static_cast<char>(byte);
    }
  }
}

bool NeedsEncoding(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80 || c == '\r' || c == '=') return true;
  }
  return false;
}

void Line(std::string& out, std::string_view head, std::string_view value) {
  out.append(head).append(":").append(value).append("\r\n");
}

void QpLine(std::string& out, std::string_view head, std::string_view text) {
  out.append(head).append(";QUOTED-PRINTABLE;CHARSET=UTF-8:");
  AppendQuotedPrintable(out, text);
  out += "\r\n";
}

// Plain when the text is ASCII on one line, as the device leaves such values.
void TextLine(std::string& out, std::string_view head, std::string_view text) {
  if (NeedsEncoding(text)) {
    QpLine(out, head, text);
  } else {
    Line(out, head, text);
  }
}

std::string Digits(Prng& random, int count) {
  std::string digits;
  for (int i = 0; i < count; ++i)
    digits += static_cast<char>('0' + random.Below(10));
  return digits;
}

template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

// Several sentences, one a line, as a note or a body holds them.
std::string Paragraph(Prng& random, int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    if (i > 0) text += "\r\n";
    text += random.Pick(kSentences);
  }
  return text;
}

std::string GroupWiseId(Prng& random, std::uint64_t index) {
  const auto stamp = static_cast<unsigned>(random.Below(0x7FFFFFFF));
  const auto domain = static_cast<unsigned>(random.Below(0xFFFF));
  return Format("%08X.DOM.PO.100.%X.%d.1", stamp, domain, static_cast<int>(index));
}

std::string DateTime(Prng& random, int* hour) {
  const int month = 1 + random.Below(12);
  const int day = 1 + random.Below(28);
  *hour = 7 + random.Below(12);
  const int minute = 15 * random.Below(4);
  return Format("2001%02d%02dT%02d%02d00", month, day, *hour, minute);
}

// "dialling code" and `count` digits.
std::string Phone(std::string_view dialling, Prng& random, int count) {
  return std::string(dialling) + " " + Digits(random, count);
}

// Every draw from the generator is a statement of its own: the order in which a call's
// arguments or an expression's operands are evaluated differs between compilers, and with it
// the corpus would.
void AppendContact(std::string& out, std::uint64_t index) {
  Prng random = ForRecord(1, index);
  const Person& first = random.Pick(kFirstNames);
  const Person& last = random.Pick(kLastNames);
  const Place& work = random.Pick(kPlaces);
  const std::string_view company = random.Pick(kCompanies);
  const std::string_view department = random.Pick(kDepartments);
  const std::string domain = "example" + std::to_string(index % 97) + ".com";
  const std::string firstName(first.name), lastName(last.name);

  out += "BEGIN:VCARD\r\nVERSION:2.1\r\n";
  TextLine(out, "N", lastName + ";" + firstName + ";;;");
  TextLine(out, "FN", firstName + " " + lastName);
  TextLine(out, "ORG", std::string(company) + ";" + std::string(department));
  TextLine(out, "TITLE", random.Pick(kTitles));
  Line(out, "TEL;WORK;VOICE", Phone(work.dialling, random, 7));
  Line(out, "TEL;CELL", Phone("+49 17", random, 8));
  if (!random.OneIn(3)) Line(out, "TEL;WORK;FAX", Phone(work.dialling, random, 7));
  if (random.OneIn(2)) Line(out, "TEL;HOME;VOICE", Phone(work.dialling, random, 6));
  Line(out, "EMAIL;INTERNET",
       std::string(first.ascii) + "." + std::string(last.ascii) + "@" + domain);
  if (random.OneIn(3)) {
    Line(out, "EMAIL;INTERNET;HOME",
         std::string(first.ascii) + Digits(random, 2) + "@mail.example.net");
  }
  const auto address = [&](const Place& place) {
    const std::string_view street = random.Pick(kStreets);
    return ";;" + std::string(street) + ";" + std::string(place.city) + ";;" +
           std::string(place.postcode) + ";" + std::string(place.country);
  };
  TextLine(out, "ADR;WORK", address(work));
  if (random.OneIn(2)) TextLine(out, "ADR;HOME", address(random.Pick(kPlaces)));
  Line(out, "URL", "http://www." + domain + "/" + std::string(last.ascii));
  if (random.OneIn(2)) {
    const int year = 40 + random.Below(60);
    const int month = 1 + random.Below(12);
    const int day = 1 + random.Below(28);
    Line(out, "BDAY", Format("19%02d%02d%02d", year, month, day));
  }
  if (!random.OneIn(4)) QpLine(out, "NOTE", Paragraph(random, 1 + random.Below(3)));
  if (random.OneIn(3)) Line(out, "X-ASSISTANT", random.Pick(kFirstNames).ascii);
  out += "END:VCARD\r\n";
}

void AppendEvent(std::string& out, std::uint64_t index) {
  Prng random = ForRecord(2, index);
  const std::string uid = GroupWiseId(random, index);
  int hour = 0;
  const std::string start = DateTime(random, &hour);
  const int endHour = hour + 1 + random.Below(3);
  std::string end = start;
  end[9] = static_cast<char>('0' + endHour / 10);
  end[10] = static_cast<char>('0' + endHour % 10);

  out += "BEGIN:VCALENDAR\r\nVERSION:1.0\r\nBEGIN:VEVENT\r\n";
  Line(out, "UID", uid);
  QpLine(out, "DESCRIPTION", random.Pick(kSubjects));
  Line(out, "DTSTART", start);
  Line(out, "DTEND", end);
  Line(out, "STATUS", "CONFIRMED");
  Line(out, "CLASS", random.OneIn(5) ? "PRIVATE" : "PUBLIC");
  QpLine(out, "LOCATION", random.Pick(kRooms));
  std::string body;
  if (!random.OneIn(10)) body = "Agenda:\r\n" + Paragraph(random, 1 + random.Below(4));
  QpLine(out, "ATTACH", body);
  out += "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// Attachments as mail carries them: text files with CR LF lines, or binary files whose bytes
// are anything at all. Both hold the texts a parser that looks for line ends or property names
// inside a binary value would stop at.
std::string AttachmentData(Prng& random, bool text) {
  static constexpr std::string_view kTraps[] = {"\r\nEND:VMEMO\r\n", "=0D=0A=\r\n",
                                                "\r\nATTACH;VALUE=BINARY:x;*00000010*"};
  std::string data;
  data.reserve(kMailAttachmentSize);
  while (data.size() < kMailAttachmentSize) {
    if (random.OneIn(64)) {
      data += kTraps[random.Below(3)];
    } else if (text) {
      data.append(random.Pick(kSentences)).append("\r\n");
    } else {
      const std::uint64_t bits = random.Next();
      for (int shift = 0; shift < 64; shift += 8)
        data += static_cast<char>(bits >> shift);
    }
  }
  data.resize(kMailAttachmentSize);
  // Random bytes could spell the record's end line; they never may (see the framing).
  for (std::size_t at = data.find("END:VMAIL"); at != std::string::npos;
       at = data.find("END:VMAIL", at))
    data[at] = 'e';
  return data;
}

void AppendMail(std::string& out, std::uint64_t index) {
  Prng random = ForRecord(3, index);
  const std::string uid = GroupWiseId(random, index);
  int hour = 0;
  const std::string date = DateTime(random, &hour);
  const std::string_view from = random.Pick(kFirstNames).ascii;
  const std::string_view to = random.Pick(kFirstNames).ascii;
  const std::string_view alsoTo = random.Pick(kLastNames).ascii;
  const std::string_view attachment = random.Pick(kAttachmentNames);
  const bool textAttachment = attachment.ends_with(".txt") || attachment.ends_with(".csv");

  out += "BEGIN:VMAIL\r\nVERSION:1.0\r\nBEGIN:VMEMO\r\n";
  Line(out, "UID", uid);
  QpLine(out, "SUBJECT", random.Pick(kSubjects));
  Line(out, "DATE", date);
  Line(out, "FOLDER", random.OneIn(4) ? "<Sent>" : "<Inbox>");
  Line(out, "STATUS", random.OneIn(3) ? "UNREAD" : "READ");
  Line(out, "PRIORITY", std::to_string(1 + random.Below(3)));
  Line(out, "FROM", std::string(from) + "@example.com");
  Line(out, "TO", std::string(to) + "@example.com;" + std::string(alsoTo) + "@example.org");
  if (random.OneIn(2)) Line(out, "CC", std::string(random.Pick(kLastNames).ascii) + "@example.net");
  QpLine(out, "BODY",
         "Hello,\r\n\r\n" + Paragraph(random, 4 + random.Below(8)) + "\r\n\r\nRegards");
  out.append("ATTACH;NAME=").append(attachment).append(";VALUE=BINARY;CHARSET=UTF-8:");
  out.append(attachment).append(Format(";*%08X*", static_cast<unsigned>(kMailAttachmentSize)));
  out.append(AttachmentData(random, textAttachment)).append("\r\n");
  out += "END:VMEMO\r\nEND:VMAIL\r\n";
}

}  // namespace

const std::vector<CorpusKind>& CorpusKinds() {
  static const std::vector<CorpusKind> kinds = {
      {"contacts.vcf", 10000, AppendContact},
      {"events.vcs", 20000, AppendEvent},
      {"mail.vmg", 200, AppendMail},
  };
  return kinds;
}

std::string Generate(const CorpusKind& kind, int count) {
  if (count < 0) count = kind.recordCount;
  std::string out;
  for (int i = 0; i < count; ++i)
    kind.appendRecord(out, static_cast<std::uint64_t>(i));
  return out;
}

Records SplitRecords(std::string_view file) {
  const auto fail = [](std::size_t offset, const std::string& what) {
    throw std::runtime_error("offset " + std::to_string(offset) + ": " + what);
  };
  constexpr std::string_view kBegin = "BEGIN:";
  const std::size_t firstLineEnd = file.find("\r\n");
  if (!file.starts_with(kBegin) || firstLineEnd == std::string_view::npos)
    fail(0, "a corpus starts with a BEGIN line");

  Records records;
  records.kind = file.substr(kBegin.size(), firstLineEnd - kBegin.size());
  const std::string begin = "BEGIN:" + records.kind + "\r\n";
  const std::string end = "\r\nEND:" + records.kind + "\r\n";
  std::size_t pos = 0;
  while (pos < file.size()) {
    if (!file.substr(pos).starts_with(begin))
      fail(pos, "a record starts with " + begin.substr(0, begin.size() - 2));
    // From the BEGIN line's own CR LF: a record may hold nothing else.
    const std::size_t endAt = file.find(end, pos + begin.size() - 2);
    if (endAt == std::string_view::npos)
      fail(pos, "the record has no END:" + records.kind + " line");
    const std::size_t next = endAt + end.size();
    records.texts.push_back(file.substr(pos, next - pos));
    pos = next;
  }
  return records;
}

}  // namespace bench
