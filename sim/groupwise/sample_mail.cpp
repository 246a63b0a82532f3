#include "sim/groupwise/sample_mail.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace sim {
namespace {

using platform::AutomationDate;

constexpr std::size_t kLargeAttachmentSize = (std::size_t{3} << 20) + 17;

std::shared_ptr<const std::string> Bytes(std::string bytes) {
  return std::make_shared<const std::string>(std::move(bytes));
}

// A small picture's worth of binary bytes: a PNG signature, then every byte value, NULs and
// line ends among them.
std::string BinaryBytes() {
  std::string bytes = "\x89PNG\r\n\x1A\n";
  for (int i = 0; i < 512; ++i)
    bytes.push_back(static_cast<char>((i * 37 + 11) % 256));
  return bytes;
}

// About 60 kB of text, far above the default size limit.
std::u16string LongText() {
  std::u16string text;
  for (int line = 1; line <= 800; ++line) {
    const std::string number = std::to_string(line);
    text.append(u"Paragraph ");
    text.append(number.begin(), number.end());
    text.append(u": the speaker went through the figures of the year once more.\r\n");
  }
  return text;
}

class MailBuilder {
 public:
  MailBuilder(Mailbox& mailbox, AutomationDate today)
      : mailbox_(mailbox),
        today_(static_cast<int64_t>(std::floor(platform::DateOnly(today).days))) {}

  // A time of a day counted from today.
  AutomationDate On(int64_t day, int hour, int minute, int second = 0) const {
    platform::CivilDateTime c =
        platform::DecodeAutomationDate(AutomationDate{static_cast<double>(today_ + day)});
    c.hour = hour;
    c.minute = minute;
    c.second = second;
    return platform::EncodeAutomationDate(c);
  }

  std::u16string Folder(std::u16string_view name, const std::u16string& parent = u"") {
    return mailbox_.AddFolder(name, parent.empty() ? nullptr : mailbox_.FindFolder(parent))
        .folderId;
  }

  // An incoming mail in the mailbox folder, to the user.
  MailMessage& Mail(std::u16string subject, AutomationDate created, MailAddress sender,
                    std::u16string body) {
    MailMessage message =
        Item(ItemClass::kMail, std::move(subject), created, std::move(sender), std::move(body));
    message.messageId = mailbox_.NewMessageId();
    message.folders = {mailbox_.mailboxFolderId};
    message.recipients.push_back(To(kTo, u"Jane Doe", u"jane.doe@example.com"));
    return mailbox_.messages.push_back(std::move(message));
  }

  MailMessage& Phone(std::u16string subject, AutomationDate created, std::u16string caller,
                     std::u16string company, std::u16string number, std::u16string body) {
    MailMessage& message = Mail(std::move(subject), created,
                                {u"Front Desk", u"reception@example.com"}, std::move(body));
    message.itemClass = ItemClass::kPhoneMessage;
    message.callerName = std::move(caller);
    message.callerCompany = std::move(company);
    message.phoneNumber = std::move(number);
    return message;
  }

  // An item to attach; FromText is the sender's name, as GroupWise shows it.
  static MailMessage Item(ItemClass itemClass, std::u16string subject, AutomationDate created,
                          MailAddress sender, std::u16string body) {
    MailMessage item;
    item.itemClass = itemClass;
    item.subject = std::move(subject);
    item.creationDate = created;
    item.fromText = sender.displayName;
    item.sender = std::move(sender);
    item.bodyText = std::move(body);
    return item;
  }

  static Recipient To(int32_t targetType, std::u16string name, std::u16string address) {
    Recipient recipient;
    recipient.targetType = targetType;
    recipient.displayName = std::move(name);
    recipient.emailAddress = std::move(address);
    return recipient;
  }

  static Attachment File(std::u16string name, std::string bytes) {
    Attachment attachment;
    attachment.objType = kFileAttachment;
    attachment.fileName = name;
    attachment.displayName = std::move(name);
    attachment.data = Bytes(std::move(bytes));
    return attachment;
  }

  static Attachment Attached(MailMessage item) {
    Attachment attachment;
    attachment.objType = kMessageAttachment;
    attachment.displayName = item.subject;
    attachment.item = AttachedItem(std::move(item));
    return attachment;
  }

  static Attachment Other(int32_t objType, std::u16string fileName, std::u16string displayName,
                          std::string bytes) {
    Attachment attachment;
    attachment.objType = objType;
    attachment.fileName = std::move(fileName);
    attachment.displayName = std::move(displayName);
    if (!bytes.empty()) attachment.data = Bytes(std::move(bytes));
    return attachment;
  }

  // A plain-text body that makes the message exactly `size` bytes as the plug-in counts them.
  static std::u16string BodyForSize(const MailMessage& message, std::size_t size) {
    std::size_t used = message.subject.size();
    for (const Recipient& recipient : message.recipients)
      used += recipient.emailAddress.size();
    std::u16string body;
    while (body.size() + used < size)
      body += body.size() % 64 == 62 ? u'\r' : body.size() % 64 == 63 ? u'\n' : u'x';
    return body;
  }

 private:
  Mailbox& mailbox_;
  int64_t today_;
};

const MailAddress kAnna{u"Anna Müller", u"anna.mueller@example.com"};
const MailAddress kJohn{u"John Smith", u"john.smith@example.co.uk"};
const MailAddress kMaria{u"Maria Lopez", u"maria.lopez@example.com"};
const MailAddress kJane{u"Jane Doe", u"jane.doe@example.com"};

}  // namespace

std::string SampleLargeAttachment() {
  std::string bytes(kLargeAttachmentSize, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>((static_cast<uint32_t>(i) * 2654435761u) >> 24);
  return bytes;
}

void AddSampleMail(Mailbox& mailbox, AutomationDate today) {
  MailBuilder b(mailbox, today);
  const std::u16string cabinet = b.Folder(u"Cabinet");
  const std::u16string projects = b.Folder(u"Projects", cabinet);
  const std::u16string travel = b.Folder(u"Reisen", cabinet);
  b.Folder(u"Work In Progress");

  MailMessage& figures =
      b.Mail(u"Quarterly figures", b.On(0, 8, 5), kAnna,
             u"Hello Jane,\r\n\r\nthe figures of the quarter are attached.\r\n\r\nAnna");
  figures.priority = 3;
  figures.recipients.push_back(b.To(kCc, u"John Smith", u"john.smith@example.co.uk"));
  figures.recipients.push_back(b.To(kCc, u"Maria Lopez", u"mlopez"));
  figures.attachments.push_back(
      b.File(u"figures.txt", "Region;Q1;Q2\r\nNorth;120;135\r\nSouth;98;101\r\n"));
  figures.attachments.push_back(b.File(u"chart.png", BinaryBytes()));

  MailMessage& meeting = b.Mail(u"Réunion de l'équipe – ordre du jour", b.On(0, 0, 0),
                                {u"François Lefèvre", u"francois.lefevre@example.com"},
                                u"Bonjour à tous,\r\n\r\n1. Budget\r\n2. Calendrier\r\n3. Divers");
  meeting.read = true;

  MailMessage& offer = b.Mail(u"Προσφορά για το έργο", b.On(-1, 17, 45), {u"Γιώργος Αντωνίου", u""},
                              u"Καλησπέρα,\r\nσας στέλνω την προσφορά.");
  offer.fromText = u"Γιώργος Αντωνίου <g.antoniou@example.gr>";

  MailMessage& report =
      b.Mail(u"Отчёт за квартал", b.On(-1, 11, 20), {u"Сергей Иванов", u"s.ivanov@example.com"},
             u"Добрый день!\r\nОтчёт во вложении.");
  report.read = true;
  report.priority = 1;
  report.attachments.push_back(b.File(u"otchet_Q3.csv", "Месяц;Сумма\r\nИюль;100\r\n"));

  b.Mail(u"会議の議事録", b.On(-2, 9, 30), {u"田中 花子", u"hanako.tanaka@example.com"},
         u"お疲れ様です。\r\n議事録を送ります。");

  MailMessage& progress = b.Mail(u"项目进度更新", b.On(-2, 14, 10),
                                 {u"王小明", u"xiaoming.wang@example.com"}, u"本周进度正常。");
  progress.read = true;
  progress.recipients = {b.To(kTo, u"Project team", u"team@example.com"),
                         b.To(kBc, u"Jane Doe", u"jane.doe@example.com")};

  MailMessage& survey =
      b.Mail(u"Site survey photos", b.On(-3, 0, 0), {u"Jiří Dvořák", u"jiri.dvorak@example.cz"},
             u"All photos of the site in one archive.");
  survey.attachments.push_back(b.File(u"survey_photos.zip", SampleLargeAttachment()));

  MailMessage& lunch =
      b.Mail(u"Team lunch 🍕", b.On(0, 12, 30), {u"Priya Raman", u""}, u"Friday at noon? 🍕");
  lunch.fromText = u"Priya Raman <priya.raman@example.in>";
  lunch.read = true;
  lunch.priority = 1;

  MailMessage& delivery =
      b.Phone(u"Delivery date", b.On(-1, 8, 0), u"Peter Novak", u"Novak & Söhne GmbH",
              u"+49 89 1234567", u"Wants to confirm the delivery date before Friday.");
  delivery.priority = 3;
  delivery.telephoned = delivery.pleaseCall = delivery.urgent = true;

  MailMessage& contract = b.Phone(u"Σχετικά με το συμβόλαιο", b.On(-2, 16, 40),
                                  u"Μαρία Κωνσταντίνου", u"", u"+30 21 0987 6543", u"");
  contract.read = true;
  contract.returnedCall = true;

  MailMessage& visit = b.Phone(u"Визит", b.On(0, 10, 15), u"Ольга Петрова", u"ООО «Пример»",
                               u"+7 495 765-43-21", u"Приходила в 10:00, зайдёт после обеда.");
  visit.willCall = visit.wantsToSee = visit.cameToSee = true;

  // A forwarded mail holding the mail it answered, which holds a file.
  MailMessage original = MailBuilder::Item(ItemClass::kMail, u"Budget? 2001", b.On(-5, 9, 0), kAnna,
                                           u"What is the budget for 2001?");
  original.recipients.push_back(MailBuilder::To(kTo, u"John Smith", kJohn.emailAddress));
  original.attachments.push_back(MailBuilder::File(u"budget_2001.txt", "Total: 1.2 M\r\n"));
  MailMessage answer = MailBuilder::Item(ItemClass::kMail, u"Re: Budget? 2001", b.On(-4, 10, 0),
                                         kJohn, u"About the same as this year.");
  answer.recipients.push_back(MailBuilder::To(kTo, u"Anna Müller", kAnna.emailAddress));
  answer.attachments.push_back(MailBuilder::Attached(std::move(original)));
  MailMessage& forward = b.Mail(u"Fwd: Re: Budget? 2001", b.On(-1, 15, 0), kMaria,
                                u"For your information, see below.");
  forward.attachments.push_back(MailBuilder::Attached(std::move(answer)));

  MailMessage review = MailBuilder::Item(ItemClass::kAppointment, u"Design review", b.On(-1, 8, 50),
                                         kMaria, u"Bring the mock-ups.");
  review.startDate = b.On(2, 10, 0);
  review.endDate = b.On(2, 11, 30);
  b.Mail(u"Invitation: Design review", b.On(-1, 9, 0), kMaria, u"See the attached appointment.")
      .attachments.push_back(MailBuilder::Attached(std::move(review)));

  MailMessage prices = MailBuilder::Item(ItemClass::kTask, u"Update the price list",
                                         b.On(-2, 9, 55), kJohn, u"New prices from March.");
  prices.startDate = b.On(-2, 0, 0);
  prices.dueDate = b.On(5, 0, 0);
  b.Mail(u"Please take over this task", b.On(-2, 10, 0), kJohn, u"Thanks a lot!")
      .attachments.push_back(MailBuilder::Attached(std::move(prices)));

  MailMessage reference = MailBuilder::Item(
      ItemClass::kDocumentReference, u"Framework contract 2001", b.On(-3, 11, 0), kAnna, u"");
  reference.documentLibrary = u"Legal";
  reference.documentSubject = u"Framework contract 2001 (draft 3)";
  b.Mail(u"Contract draft in the library", b.On(-3, 11, 11), kAnna, u"The draft is in the library.")
      .attachments.push_back(MailBuilder::Attached(std::move(reference)));

  MailMessage fair = MailBuilder::Item(ItemClass::kNote, u"Messe Hannover", b.On(-4, 18, 0), kJohn,
                                       u"Stand B12, many visitors.");
  fair.startDate = b.On(-4, 0, 0);
  MailMessage call = MailBuilder::Item(ItemClass::kPhoneMessage, u"Stand visit", b.On(-4, 15, 0),
                                       {u"Front Desk", u"reception@example.com"}, u"");
  call.callerName = u"Lukas Weber";
  call.callerCompany = u"Weber AG";
  call.phoneNumber = u"+49 511 123456";
  call.pleaseCall = true;
  MailMessage& notes =
      b.Mail(u"Notes from the trade fair", b.On(-2, 18, 0), kJohn, u"My note and a call.");
  notes.attachments.push_back(MailBuilder::Attached(std::move(fair)));
  notes.attachments.push_back(MailBuilder::Attached(std::move(call)));

  // A forwarded message without any text, as mail from the Internet often arrives.
  b.Mail(u"FW: Out of office", b.On(-1, 13, 13), kMaria, u"")
      .attachments.push_back(MailBuilder::Attached(MailBuilder::Item(
          ItemClass::kMail, u"Out of office", b.On(-1, 13, 0), {u"auto-reply", u""}, u"")));

  b.Mail(u"Empty message", b.On(0, 9, 9), kJohn, u"");

  b.Mail(u"Transcript of the keynote", b.On(-1, 22, 0), kMaria, LongText());

  MailMessage& exact = b.Mail(u"Exactly at the size limit", b.On(-2, 7, 30), kJohn, u"");
  exact.bodyText = MailBuilder::BodyForSize(exact, kSampleMemoLimit);
  MailMessage& over = b.Mail(u"One byte over the size limit", b.On(-2, 7, 31), kJohn, u"");
  over.bodyText = MailBuilder::BodyForSize(over, kSampleMemoLimit + 1);

  MailMessage& awkward = b.Mail(u"Files with awkward names", b.On(0, 11, 0), kMaria,
                                u"Some of these cannot be saved under their own names.");
  awkward.attachments.push_back(b.File(u"..\\report:v2?.txt", "version 2\r\n"));
  awkward.attachments.push_back(b.File(u"Résumé – Zoë.txt", "Curriculum vitae\r\n"));
  awkward.attachments.push_back(b.File(u"no_extension", BinaryBytes()));
  awkward.attachments.push_back(b.File(u"archive.TAR.GZ", BinaryBytes()));

  MailMessage& media = b.Mail(u"Media and embedded objects", b.On(-3, 16, 20), kAnna,
                              u"One of each kind GroupWise knows.");
  media.attachments.push_back(b.Other(0, u"", u"Unknown object", ""));
  media.attachments.push_back(b.Other(3, u"clip.avi", u"Product clip", "RIFF....AVI "));
  media.attachments.push_back(b.Other(4, u"", u"Worksheet in Sheet1", "embedded"));
  media.attachments.push_back(b.Other(5, u"plan.xls", u"C:\\Data\\plan.xls", ""));
  media.attachments.push_back(b.Other(6, u"memo.wav", u"Voice memo", "RIFF....WAVE"));

  b.Mail(u"회의 일정 변경", b.On(-3, 8, 45), {u"김민준", u"minjun.kim@example.kr"},
         u"회의가 목요일로 변경되었습니다.");

  // The ends of the three days up to today, and the second before them.
  b.Mail(u"Late reply", b.On(0, 23, 59, 59), {u"Ayşe Yılmaz", u"ayse.yilmaz@example.net"},
         u"Sorry for the late answer.")
      .read = true;
  b.Mail(u"Just before the range", b.On(-4, 23, 59, 59), kJohn, u"One second too early.");
  b.Mail(u"Last week's newsletter", b.On(-8, 6, 0), {u"Newsletter", u"news@example.org"},
         u"This week: spring offers.");
  b.Mail(u"Old thread", b.On(-30, 14, 0), kAnna, u"From last month.").read = true;

  // The user's own items in the mailbox folder: not incoming.
  MailMessage& sentCopy =
      b.Mail(u"Re: Quarterly figures", b.On(-1, 10, 0), kJane, u"Thanks, Anna. Looks good.");
  sentCopy.boxType = BoxType::kOutgoing;
  sentCopy.read = true;
  sentCopy.recipients = {b.To(kTo, u"Anna Müller", kAnna.emailAddress)};
  MailMessage& draft = b.Mail(u"Holiday plans", b.On(0, 16, 0), kJane, u"Two weeks in August?");
  draft.boxType = BoxType::kDraft;
  draft.read = true;
  MailMessage& posted = b.Mail(u"Reminder to myself", b.On(-1, 7, 0), kJane, u"Water the plants.");
  posted.boxType = BoxType::kPersonal;
  posted.read = true;
  posted.recipients.clear();

  // Filed elsewhere, and filed both there and in the mailbox folder.
  b.Mail(u"Project plan v2", b.On(-1, 14, 0), kMaria, u"The plan as agreed.").folders = {projects};
  b.Mail(u"Hotel booking Lisbon", b.On(-2, 19, 0), {u"Hotel Central", u"booking@example.pt"},
         u"Your booking is confirmed.")
      .folders = {travel};
  b.Mail(u"Kick-off minutes", b.On(-1, 12, 0), kMaria, u"Minutes of the kick-off.").folders = {
      projects, mailbox.mailboxFolderId};

  // Whom a recipient resolves to: the user and the people who write to her, but not the
  // newsletter, the hotel or the short name "mlopez", which stay unresolved.
  mailbox.ownerEmailAddress = kJane.emailAddress;
  for (const MailAddress& known : {
           kJane,
           kAnna,
           kJohn,
           kMaria,
           MailAddress{u"François Lefèvre", u"francois.lefevre@example.com"},
           MailAddress{u"Γιώργος Αντωνίου", u"g.antoniou@example.gr"},
           MailAddress{u"Сергей Иванов", u"s.ivanov@example.com"},
           MailAddress{u"田中 花子", u"hanako.tanaka@example.com"},
           MailAddress{u"王小明", u"xiaoming.wang@example.com"},
           MailAddress{u"Jiří Dvořák", u"jiri.dvorak@example.cz"},
           MailAddress{u"Priya Raman", u"priya.raman@example.in"},
           MailAddress{u"김민준", u"minjun.kim@example.kr"},
           MailAddress{u"Ayşe Yılmaz", u"ayse.yilmaz@example.net"},
           MailAddress{u"Project team", u"team@example.com"},
       }) {
    mailbox.AddKnownAddress(known);
  }
}

}  // namespace sim
