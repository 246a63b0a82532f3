#include "sim/groupwise/sample_mailbox.h"

#include <cmath>

#include "sim/groupwise/store.h"

namespace sim {
namespace {

using platform::AutomationDate;

// Day numbers count from a Saturday (1899-12-30); this gives the Monday on or before a day.
int64_t MondayOf(AutomationDate today) {
  const auto day = static_cast<int64_t>(std::floor(platform::DateOnly(today).days));
  const int64_t sinceMonday = ((day + 5) % 7 + 7) % 7;
  return day - sinceMonday;
}

class SampleBuilder {
 public:
  explicit SampleBuilder(AutomationDate today) : monday_(MondayOf(today)) {}

  // A day relative to the Monday of the week, at a time of day.
  AutomationDate At(int64_t dayOffset, int hour = 0, int minute = 0) const {
    platform::CivilDateTime c =
        platform::DecodeAutomationDate(AutomationDate{static_cast<double>(monday_ + dayOffset)});
    c.hour = hour;
    c.minute = minute;
    return platform::EncodeAutomationDate(c);
  }

  CalendarItem& Add(ItemClass itemClass, std::u16string subject) {
    CalendarItem item;
    item.messageId = mailbox.NewMessageId();
    item.itemClass = itemClass;
    item.subject = std::move(subject);
    item.fromText = mailbox.ownerName;
    return mailbox.calendar.push_back(std::move(item));
  }

  CalendarItem& Appointment(std::u16string subject, int64_t day, int hour, int minute, int minutes,
                            std::u16string place, std::u16string body = u"") {
    CalendarItem& item = Add(ItemClass::kAppointment, std::move(subject));
    item.startDate = At(day, hour, minute);
    item.endDate = At(day, hour + (minute + minutes) / 60, (minute + minutes) % 60);
    item.place = std::move(place);
    item.bodyText = std::move(body);
    return item;
  }

  CalendarItem& Task(std::u16string subject, int64_t assigned, int64_t due, int priority,
                     std::u16string body = u"") {
    CalendarItem& item = Add(ItemClass::kTask, std::move(subject));
    item.assignedDate = At(assigned);
    item.startDate = At(assigned);
    item.dueDate = At(due);
    item.taskPriority = priority;
    item.taskCategory = u"S";
    item.bodyText = std::move(body);
    return item;
  }

  CalendarItem& Note(std::u16string subject, int64_t day, std::u16string body = u"") {
    CalendarItem& item = Add(ItemClass::kNote, std::move(subject));
    item.startDate = At(day);
    item.bodyText = std::move(body);
    return item;
  }

  Mailbox mailbox;

 private:
  int64_t monday_;
};

void AddCalendar(SampleBuilder& b) {
  b.Appointment(u"Weekly team meeting", 0, 9, 0, 30, u"Room 2.14",
                u"Agenda:\r\n1. Status of each project\r\n2. Plans for next week");
  b.Appointment(u"Déjeuner avec Amélie", 0, 12, 30, 60, u"Café Bénédicte, Genève",
                u"Réserver une table près de la fenêtre.");
  b.Appointment(u"Συνάντηση με τον Νίκο", 1, 10, 0, 60, u"Αθήνα, γραφείο 3",
                u"Θέματα:\r\n- προϋπολογισμός\r\n- προσλήψεις");
  b.Appointment(u"予算会議（第2四半期）", 1, 15, 0, 60, u"東京本社 3F 会議室",
                u"資料:\r\n・売上報告\r\n・予算案");
  CalendarItem& dentist = b.Appointment(u"Dentist 🦷", 2, 8, 0, 45, u"Dr. Weiß, Hauptstraße 5",
                                        u"\r\n");  // GroupWise's empty body
  dentist.isPrivate = true;
  CalendarItem& review = b.Appointment(u"Project review", 2, 14, 0, 90, u" ",
                                       u"Please bring the Q3 figures.\r\nDial-in: 555-0100");
  review.boxType = BoxType::kIncoming;
  review.personal = false;
  review.fromText = u"Maria Lopez";
  CalendarItem& doctor = b.Appointment(u"Doctor's appointment", 3, 11, 0, 60, u"Health centre");
  doctor.isPrivate = true;
  doctor.privateReadRaises = true;
  CalendarItem& demo = b.Appointment(u"Product demo by a supplier", 3, 16, 0, 60, u"Room 1.02",
                                     u"Invitation not answered yet.");
  demo.boxType = BoxType::kIncoming;
  demo.accepted = false;
  demo.personal = false;
  demo.fromText = u"Sales Team";
  CalendarItem& board =
      b.Appointment(u"Board meeting", 4, 9, 0, 60, u"Board room", u"The copy in the sent items.");
  board.boxType = BoxType::kOutgoing;
  b.Appointment(u"Встреча выпускников", 4, 18, 30, 210, u"Санкт-Петербург, ресторан «Нева»",
                u"Не забыть:\r\n— фотографии\r\n— подарок для Ольги");
  b.Appointment(u"Family brunch 🥐", 6, 11, 0, 120, u"Home");
  // Elsewhere in the default range, and outside it on both sides.
  b.Appointment(u"Quarterly planning", -21, 14, 0, 60, u"Room 2.14");
  b.Appointment(u"Conférence annuelle à Montréal", 42, 10, 0, 90, u"Palais des congrès",
                u"Inscription confirmée.\r\nHôtel : Le Saint-Laurent");
  b.Appointment(u"Kick-off of last season", -63, 9, 0, 60, u"Room 2.14");
  b.Appointment(u"Offsite next year", 245, 9, 0, 480, u"Lakeside hotel");

  b.Task(u"Submit expense report", 0, 4, 2, u"Receipts are in the blue folder.");
  CalendarItem& passport = b.Task(u"Reisepass verlängern", -14, -7, 1);
  passport.completed = true;
  CalendarItem& slides = b.Task(u"Prepare slides for the review", 1, 2, 3,
                                u"Ten slides at most.\r\nUse the new template.");
  slides.boxType = BoxType::kIncoming;
  slides.personal = false;
  slides.fromText = u"Maria Lopez";
  CalendarItem& bank = b.Task(u"Call the bank", 3, 7, 1);
  bank.isPrivate = true;
  bank.privateReadRaises = true;
  bank.failingTokens = {"ItemGetAttribute"};

  b.Note(u"Public holiday in Zürich", 0, u"Offices closed.");
  CalendarItem& birthday = b.Note(u"Mum's birthday 🎂", 2, u"Call in the evening.\r\nFlowers?");
  birthday.isPrivate = true;
  b.Note(u"社員旅行の準備", 4, u"参加者リストを確認する");
}

void AddAddressBook(Mailbox& mailbox) {
  AddressBook book;
  book.name = u"Didodudo Z380";
  book.definitions = StandardFieldDefinitions();
  book.AddDefinition(u"PMTPIUID");
  auto entry = [&](int32_t objType,
                   std::initializer_list<std::pair<std::u16string, std::u16string>> fields) {
    BookEntry added;
    added.key = mailbox.NewEntryKey();
    added.objType = objType;
    for (const auto& [label, value] : fields) {
      const FieldDefinition* definition = book.FindDefinition(label);
      added.fields.push_back({definition->name, definition->fieldId, value});
    }
    book.entries.push_back(std::move(added));
  };
  entry(1, {{u"Display Name", u"Anna Müller"},
            {u"First Name", u"Anna"},
            {u"Last Name", u"Müller"},
            {u"E-Mail Address", u"anna.mueller@example.com"},
            {u"Office Phone Number", u"+49 30 1234567"},
            {u"Organization", u"Beispiel GmbH"},
            {u"City", u"Berlin"},
            {u"PMTPIUID", u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"}});
  entry(1, {{u"Display Name", u"Ελένη Παπαδοπούλου"},
            {u"First Name", u"Ελένη"},
            {u"Last Name", u"Παπαδοπούλου"},
            {u"Mobile Phone Number", u"+30 21 0123 4567"},
            {u"City", u"Αθήνα"}});
  entry(1, {{u"Display Name", u"王小明"},
            {u"First Name", u"小明"},
            {u"Last Name", u"王"},
            {u"E-Mail Address", u"xiaoming.wang@example.com"},
            {u"Comments", u"Prefers e-mail.\r\nTime zone: UTC+8"}});
  entry(1, {{u"Display Name", u"John Smith"},
            {u"First Name", u"John"},
            {u"Last Name", u"Smith"},
            {u"Prefix", u"Mr."},
            {u"Title", u"Sales Manager"},
            {u"Address", u"12 High Street"},
            {u"ZIP Code", u"AB1 2CD"},
            {u"Country", u"United Kingdom"},
            {u"Fax Number", u"+44 20 7946 0000"}});
  entry(2, {{u"Display Name", u"Project team"}});
  mailbox.addressBooks.push_back(std::move(book));
}

}  // namespace

Mailbox BuildSampleMailbox(AutomationDate today) {
  SampleBuilder builder(today);
  Mailbox& mailbox = builder.mailbox;
  mailbox.fullName = u"GroupWise";
  mailbox.majorVersion = 5;
  mailbox.minorVersion = 5;
  mailbox.userId = u"jdoe";
  mailbox.ownerName = u"Jane Doe";
  // A plug-in must poll; one that reads the results at once fails.
  mailbox.queryPolls = 3;
  AddCalendar(builder);
  AddAddressBook(mailbox);
  return std::move(builder.mailbox);
}

void WriteSampleStore(const std::string& path, AutomationDate today) {
  SaveStore(path, BuildSampleMailbox(today));
}

}  // namespace sim
