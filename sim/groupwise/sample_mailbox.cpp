#include "sim/groupwise/sample_mailbox.h"

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/groupwise/sample_mail.h"
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
  // Due after the default range, still read; and one assigned after it, not read.
  b.Task(u"Plan the summer party", 5, 200, 2, u"Ask everyone for a date.");
  b.Task(u"Renew the car insurance", 200, 230, 1);

  b.Note(u"Public holiday in Zürich", 0, u"Offices closed.");
  CalendarItem& birthday = b.Note(u"Mum's birthday 🎂", 2, u"Call in the evening.\r\nFlowers?");
  birthday.isPrivate = true;
  b.Note(u"社員旅行の準備", 4, u"参加者リストを確認する");
  CalendarItem& closed = b.Note(u"Office closed for maintenance", 3,
                                u"The building is closed all day.\r\nWork from home.");
  closed.boxType = BoxType::kIncoming;
  closed.personal = false;
  closed.fromText = u"Facilities";
}

// The rest of the sample's address book, one row per entry. A field is in the entry when its
// column is set; an empty text is a field that holds nothing, as the plug-in may find one.
struct Contact {
  int32_t objType = 1;
  const char16_t* display = nullptr;
  const char16_t* prefix = nullptr;
  const char16_t* first = nullptr;
  const char16_t* last = nullptr;
  const char16_t* title = nullptr;
  const char16_t* department = nullptr;
  const char16_t* organization = nullptr;
  const char16_t* office = nullptr;
  const char16_t* officePhone = nullptr;
  const char16_t* homePhone = nullptr;
  const char16_t* mobilePhone = nullptr;
  const char16_t* fax = nullptr;
  const char16_t* emailType = nullptr;
  const char16_t* email = nullptr;
  const char16_t* address = nullptr;
  const char16_t* city = nullptr;
  const char16_t* state = nullptr;
  const char16_t* zip = nullptr;
  const char16_t* country = nullptr;
  const char16_t* comments = nullptr;
  const char16_t* uid = nullptr;  // the plug-in's "PMTPIUID"
};

// In the order an entry holds its fields.
constexpr std::pair<const char16_t * Contact::*, std::u16string_view> kColumns[] = {
    {&Contact::display, u"Display Name"},
    {&Contact::prefix, u"Prefix"},
    {&Contact::first, u"First Name"},
    {&Contact::last, u"Last Name"},
    {&Contact::title, u"Title"},
    {&Contact::department, u"Department"},
    {&Contact::organization, u"Organization"},
    {&Contact::office, u"Office"},
    {&Contact::officePhone, u"Office Phone Number"},
    {&Contact::homePhone, u"Home Phone Number"},
    {&Contact::mobilePhone, u"Mobile Phone Number"},
    {&Contact::fax, u"Fax Number"},
    {&Contact::emailType, u"E-Mail Type"},
    {&Contact::email, u"E-Mail Address"},
    {&Contact::address, u"Address"},
    {&Contact::city, u"City"},
    {&Contact::state, u"State"},
    {&Contact::zip, u"ZIP Code"},
    {&Contact::country, u"Country"},
    {&Contact::comments, u"Comments"},
    {&Contact::uid, u"PMTPIUID"},
};

constexpr Contact kContacts[] = {
    {.display = u"François Lefèvre",
     .prefix = u"M.",
     .first = u"François",
     .last = u"Lefèvre",
     .title = u"Directeur commercial",
     .department = u"Ventes",
     .organization = u"Exemple SARL",
     .officePhone = u"+33 1 23 45 67 89",
     .mobilePhone = u"+33 6 12 34 56 78",
     .emailType = u"Internet",
     .email = u"francois.lefevre@example.com",
     .address = u"14, rue de l'Église",
     .city = u"Paris",
     .zip = u"75004",
     .country = u"France",
     .uid = u"{50A9D9F2-305D-4AA5-8BC2-192767BA1ECD}"},
    {.display = u"Zoë Ångström",
     .first = u"Zoë",
     .last = u"Ångström",
     .title = u"Ingenjör",
     .mobilePhone = u"+46 70 123 45 67",
     .city = u"Göteborg",
     .country = u"Sverige",
     .uid = u"{CECDBB50-DA60-459D-A47B-C01D53751236}"},
    {.display = u"José María Núñez",
     .prefix = u"Sr.",
     .first = u"José María",
     .last = u"Núñez",
     .department = u"Contabilidad",
     .organization = u"Ejemplo S.A.",
     .officePhone = u"+34 91 123 45 67",
     .fax = u"+34 91 123 45 68",
     .address = u"Calle de Alcalá 123, 4º B",
     .city = u"Madrid",
     .zip = u"28009",
     .country = u"España",
     .uid = u"{83F4E0A5-F8D6-4A35-A39B-36372466821F}"},
    {.display = u"Małgorzata Wiśniewska",
     .first = u"Małgorzata",
     .last = u"Wiśniewska",
     .homePhone = u"+48 12 345 67 89",
     .mobilePhone = u"+48 601 234 567",
     .email = u"m.wisniewska@example.org",
     .city = u"Kraków",
     .country = u"Polska",
     .comments = u"Urodziny: 12 maja\r\nLubi żółte róże",
     .uid = u"{E85CB309-37A4-4DC9-B3A2-463AC83C2C16}"},
    {.display = u"Jiří Dvořák",
     .first = u"Jiří",
     .last = u"Dvořák",
     .title = u"Programátor",
     .department = u"Vývoj",
     .organization = u"Příklad s.r.o.",
     .office = u"B-204",
     .officePhone = u"+420 541 123 456 ext. 204",
     .city = u"Brno",
     .zip = u"602 00",
     .country = u"Česká republika",
     .uid = u"{14602291-5848-4963-91F2-0164E437DC8B}"},
    {.display = u"Ayşe Yılmaz",
     .first = u"Ayşe",
     .last = u"Yılmaz",
     .mobilePhone = u"+90 532 123 45 67",
     .email = u"ayse.yilmaz@example.net",
     .city = u"İstanbul",
     .country = u"Türkiye",
     .uid = u"{9F7E750E-6ED0-40D7-9961-01106C3E9E5B}"},
    {.display = u"Nguyễn Thị Hương",
     .first = u"Hương",
     .last = u"Nguyễn",
     .email = u"huong.nguyen@example.com",
     .city = u"Hà Nội",
     .country = u"Việt Nam",
     .uid = u"{4ECDE9D8-3FCD-4F73-A9C2-9603D729F576}"},
    {.display = u"Γιώργος Αντωνίου",
     .first = u"Γιώργος",
     .last = u"Αντωνίου",
     .title = u"Λογιστής",
     .organization = u"Παράδειγμα Α.Ε.",
     .officePhone = u"+30 231 012 3456",
     .address = u"Οδός Ερμού 25",
     .city = u"Θεσσαλονίκη",
     .zip = u"546 24",
     .country = u"Ελλάδα",
     .uid = u"{8ACEC220-4BCD-4AC7-9C26-FFE5B3549AAD}"},
    {.display = u"Сергей Иванов",
     .first = u"Сергей",
     .last = u"Иванов",
     .title = u"Главный инженер",
     .department = u"Отдел разработки",
     .organization = u"ООО «Пример»",
     .officePhone = u"+7 495 123-45-67",
     .mobilePhone = u"+7 916 123-45-67",
     .email = u"s.ivanov@example.com",
     .address = u"ул. Тверская, д. 7, кв. 15",
     .city = u"Москва",
     .zip = u"125009",
     .country = u"Россия",
     .comments = u"Звонить после 10:00.\r\nГоворит по-английски.",
     .uid = u"{017F202E-890C-45C4-9873-1C98D54F283F}"},
    {.display = u"Олена Шевченко",
     .first = u"Олена",
     .last = u"Шевченко",
     .mobilePhone = u"+380 67 123 4567",
     .email = u"olena.shevchenko@example.org",
     .city = u"Київ",
     .country = u"Україна",
     .uid = u"{3531005E-EB90-4CC5-B761-164BEED3D9F9}"},
    {.display = u"Цветелина Стоянова",
     .first = u"Цветелина",
     .last = u"Стоянова",
     .homePhone = u"+359 2 123 4567",
     .city = u"София",
     .country = u"България",
     .uid = u"{3DAC1EBF-D54F-4CC3-8A31-F298F3F53482}"},
    {.display = u"田中 花子",
     .first = u"花子",
     .last = u"田中",
     .title = u"課長",
     .department = u"営業部",
     .organization = u"株式会社サンプル",
     .officePhone = u"+81 3-1234-5678",
     .email = u"hanako.tanaka@example.com",
     .address = u"千代田区丸の内1-1-1",
     .city = u"東京都",
     .zip = u"100-0005",
     .country = u"日本",
     .uid = u"{8D084043-4AFE-4F2F-A275-7991CC52E3F8}"},
    {.display = u"李娜",
     .first = u"娜",
     .last = u"李",
     .mobilePhone = u"+86 138 0013 8000",
     .city = u"上海",
     .country = u"中国",
     .comments = u"下午有空。\r\n喜欢喝茶。",
     .uid = u"{C2BBF46A-03EF-4A48-8B0E-5DE533F1D8A8}"},
    {.display = u"김민준",
     .first = u"민준",
     .last = u"김",
     .officePhone = u"+82 2-123-4567",
     .email = u"minjun.kim@example.com",
     .city = u"서울",
     .country = u"대한민국",
     .uid = u"{A602B49C-3F5E-4109-A47F-0527791A0EFC}"},
    {.display = u"محمد العلي",
     .first = u"محمد",
     .last = u"العلي",
     .title = u"مدير المشاريع",
     .organization = u"شركة المثال",
     .mobilePhone = u"+971 50 123 4567",
     .city = u"دبي",
     .country = u"الإمارات العربية المتحدة",
     .uid = u"{AE2D7AEA-2A6B-4C8D-9761-D925734AB387}"},
    {.display = u"דוד לוי",
     .first = u"דוד",
     .last = u"לוי",
     .officePhone = u"+972 3-123-4567",
     .address = u"רחוב הרצל 10",
     .city = u"תל אביב",
     .country = u"ישראל",
     .comments = u"לא לפני 9:00.\r\nמעדיף דואר אלקטרוני.",
     .uid = u"{89FBB62A-AAB2-4C2E-97BA-A423A3328E10}"},
    {.display = u"Mary O'Brien",
     .prefix = u"Ms.",
     .first = u"Mary",
     .last = u"O'Brien",
     .title = u"Solicitor",
     .organization = u"O'Brien & Partners",
     .officePhone = u"+353 1 234 5678",
     .fax = u"+353 1 234 5679",
     .emailType = u"Internet",
     .email = u"mary.obrien@example.com",
     .address = u"3 Merrion Square",
     .city = u"Dublin",
     .zip = u"D02 XY45",
     .country = u"Ireland",
     .uid = u"{0D9A8DE3-4135-485D-B1B6-F61D1181B417}"},
    {.display = u"Robert \"Bob\" Johnson",
     .prefix = u"Dr.",
     .first = u"Robert",
     .last = u"Johnson",
     .title = u"Professor of Chemistry",
     .department = u"Chemistry",
     .organization = u"Example University",
     .office = u"Science Hall 310",
     .officePhone = u"(555) 010-4242",
     .email = u"bob.johnson@example.org",
     .address = u"1200 University Ave.",
     .city = u"Springfield",
     .state = u"IL",
     .zip = u"62704",
     .country = u"USA",
     .comments = u"Office hours: Tuesday 2-4 pm.\r\nAssistant: Carol (ext. 4243).\r\nDo not call "
                 u"on Fridays.",
     .uid = u"{83085CBD-6D3F-4C4B-A9E4-B058DBC33BB5}"},
    {.display = u"Linda García-Smith",
     .first = u"Linda",
     .last = u"García-Smith",
     .title = u"Realtor",
     .officePhone = u"(555) 010-1000",
     .homePhone = u"(555) 010-2000",
     .mobilePhone = u"(555) 010-3000",
     .fax = u"(555) 010-4000",
     .email = u"linda@example.net",
     .address = u"742 Evergreen Terrace\r\nApt. 3",
     .city = u"Eugene",
     .state = u"OR",
     .zip = u"97403-1234",
     .country = u"USA",
     .uid = u"{12DA95CE-221E-4E7D-94C7-F67B30EE3FC5}"},
    {.display = u"Søren Østergaard",
     .first = u"Søren",
     .last = u"Østergaard",
     .email = u"soeren@example.org",
     .city = u"København",
     .zip = u"1050",
     .country = u"Danmark",
     .uid = u"{C12B77EC-E5A8-493A-813E-8C5271D0FA67}"},
    {.display = u"Björn Þórsson",
     .first = u"Björn",
     .last = u"Þórsson",
     .mobilePhone = u"+354 612 3456",
     .city = u"Reykjavík",
     .country = u"Ísland",
     .uid = u"{23AFBFCD-B09C-479C-B76A-43A6971FA7DF}"},
    // Entered by hand in GroupWise, never synchronized: no PMTPIUID.
    {.display = u"Pizzeria da Gino", .officePhone = u"(555) 010-7777"},
    // Its PMTPIUID is there but holds nothing.
    {.display = u"Chloé Dubois",
     .first = u"Chloé",
     .last = u"Dubois",
     .mobilePhone = u"+41 79 123 45 67",
     .city = u"Genève",
     .country = u"Suisse",
     .uid = u""},
    {.display = u"Maximilian Alexander Freiherr von Hohenberg-Schwarzenstein",
     .first = u"Maximilian Alexander",
     .last = u"Freiherr von Hohenberg-Schwarzenstein",
     .title = u"Stellvertretender Leiter der Abteilung für internationale Zusammenarbeit",
     .organization = u"Bundesanstalt für Beispielwesen",
     .officePhone = u"+49 228 99 123-0",
     .city = u"Bonn",
     .country = u"Deutschland",
     .uid = u"{9D73AF30-0624-4C18-BC4C-D423EFC21090}"},
    {.display = u"support@example.net",
     .organization = u"Example Networks",
     .email = u"support@example.net",
     .uid = u"{D4616033-FDB9-4A8C-B0E2-B449DD1B955F}"},
    {.display = u"Priya Raman",
     .first = u"Priya",
     .last = u"Raman",
     .mobilePhone = u"+91 98450 12345",
     .address = u"12 MG Road",
     .city = u"Bengaluru",
     .state = u"Karnataka",
     .zip = u"560001",
     .country = u"India",
     .comments = u"Calls in the morning, her time.\r\nBirthday cake 🎂 on 3 March",
     .uid = u"{F7B53E50-759B-473E-9E65-0D2018FEDB0D}"},
    {.objType = 3,
     .display = u"Conference room 2.14",
     .office = u"2.14",
     .officePhone = u"+49 30 1234 214",
     .comments = u"Seats twelve.\r\nProjector and whiteboard."},
};

void AddAddressBook(Mailbox& mailbox) {
  AddressBook book;
  book.name = u"Didodudo Z380";
  book.definitions = StandardFieldDefinitions();
  book.AddDefinition(u"PMTPIUID");
  using Fields = std::vector<std::pair<std::u16string_view, std::u16string_view>>;
  auto entry = [&](int32_t objType, const Fields& fields) {
    BookEntry added;
    added.key = mailbox.NewEntryKey();
    added.objType = objType;
    for (const auto& [label, value] : fields) {
      const FieldDefinition* definition = book.FindDefinition(label);
      added.fields.push_back({definition->name, definition->fieldId, std::u16string(value)});
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
  for (const Contact& contact : kContacts) {
    Fields fields;
    for (const auto& [column, label] : kColumns) {
      if (const char16_t* value = contact.*column) fields.emplace_back(label, value);
    }
    entry(contact.objType, fields);
  }
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
  // Last, so that the calendar's ids are those it had before the sample held mail.
  AddSampleMail(mailbox, today);
  return std::move(builder.mailbox);
}

void WriteSampleStore(const std::string& path, AutomationDate today) {
  SaveStore(path, BuildSampleMailbox(today));
}

}  // namespace sim
