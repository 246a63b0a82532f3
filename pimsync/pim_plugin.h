#pragma once

// The calendar and contacts plug-in: GroupWise appointments (and, in time, tasks, notes and one
// address book) kept in step with the handheld. The host drives it through the engine base's
// seven methods; this class logs into GroupWise at Open and serves the typed hooks.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/base_isync.h"
#include "framework/setup_blocks.h"
#include "framework/sync_session.h"
#include "pimsync/ab_lang.h"
#include "pimsync/contact.h"
#include "platform/automation.h"

namespace pimsync {

class TISYNCHAPPU : public framework::TBaseIsync {
 public:
  explicit TISYNCHAPPU(platform::Platform& platform);
  ~TISYNCHAPPU() override;

  int32_t Init(const platform::Object& progress, platform::ByteStream* synchSetup,
               platform::ByteStream* appSetup) override;
  int32_t Term(const platform::Object& progress) override;
  int32_t Open(const platform::Object& progress) override;
  int32_t Close(const platform::Object& progress) override;
  int32_t CheckSource(const platform::Object& progress) override;

  // What Init read, for the trace and for tools.
  const std::string& AddressBookName() const { return FAddressBk; }
  const std::string& GWVersion() const { return gwVersion_; }

 protected:
  bool GetPIMAppointments(framework::TEntryList& list) override;
  bool AddPIMAppointment(framework::TEntry& entry) override;
  bool ModifyPIMAppointment(framework::TEntry& entry) override;
  bool DeletePIMAppointment(framework::TEntry& entry) override;
  bool GetPIMTasks(framework::TEntryList& list) override;
  bool AddPIMTask(framework::TEntry& entry) override;
  bool ModifyPIMTask(framework::TEntry& entry) override;
  bool DeletePIMTask(framework::TEntry& entry) override;
  bool GetPIMEvents(framework::TEntryList& list) override;
  bool AddPIMEvent(framework::TEntry& entry) override;
  bool ModifyPIMEvent(framework::TEntry& entry) override;
  bool DeletePIMEvent(framework::TEntry& entry) override;
  bool GetPIMContacts(framework::TEntryList& list) override;
  bool AddPIMContact(framework::TEntry& entry) override;
  bool ModifyPIMContact(framework::TEntry& entry) override;
  bool DeletePIMContact(framework::TEntry& entry) override;

  // Appends the Versit properties of a GroupWise item of the given data type to the entry.
  bool BuildApptEntry(framework::TEntry& entry, const platform::Object& item, int type);

  // One write a record asks of a GroupWise item, decoded before any is made.
  struct ItemWrite {
    enum class Target {
      kProperty,      // member is the item's property
      kPrivacyToken,  // privacy is written through the commander only; member is unused
      kEntryField,    // member is the label of an address-book entry's field
    };
    std::string member{};
    platform::Variant value{};
    Target target = Target::kProperty;
    // Not written into an item another user assigned; the skip is logged once per update.
    bool personalOnly = false;
    // For the privacy token: shown in a message box when GroupWise refuses it. Empty: the
    // answer is not looked at.
    std::string_view refusedToken{};
  };
  using ItemUpdate = std::vector<ItemWrite>;
  // The writes the entry's properties ask of an item of the given data type, in their order
  // (a property given twice is written twice, the later value winning). Raises for a type no
  // calendar item holds.
  ItemUpdate PlanUpdate(const framework::TEntry& entry, int type);
  // Makes the writes and refreshes the item. False (traced) when GroupWise fails; what was
  // written before the failure stays written.
  bool UpdateMessage(const platform::Object& item, const ItemUpdate& update);
  // Runs a GroupWise commander token; the answer when GroupWise reports success.
  std::optional<std::u16string> ExecuteToken(std::u16string_view token);
  // Deletes the item of that class with that id; false when there is none.
  bool DeleteMessageByUid(const std::string& uid, std::u16string_view className);

  // Reads one address-book entry's fields. False, after a message box, when GroupWise fails.
  bool ExtractFieldData(const platform::Object& bookEntry, TContact& contact);
  // A new device identity for a contact.
  std::string NewUid();
  // The user entry of the synchronized book whose "PMTPIUID" equals the UID, ignoring case.
  bool FindContactByUid(const std::string& uid, platform::Object& found);
  // Writes one field of an entry by its label, adding the field when the entry lacks it.
  void SetEntryField(const platform::Object& fields, std::u16string_view label,
                     const platform::Variant& text);
  // The display name in the user's GroupWise display-name format.
  std::u16string FormatDisplayName(std::u16string_view first, std::u16string_view last);
  // What a comment is padded with before it is written.
  std::string_view CommentPadding() const;

 private:
  // What tells appointments, tasks and notes apart: their class, query, texts and mapping
  // (calendar_kind.h). They share the operations below.
  struct CalendarKind;
  static const CalendarKind kAppointmentKind;
  static const CalendarKind kTaskKind;
  static const CalendarKind kNoteKind;
  // The kind of a calendar data type; null for the others.
  static const CalendarKind* KindOf(int type);
  bool ReadCalendar(framework::TEntryList& list, const CalendarKind& kind);
  bool AddCalendarItem(framework::TEntry& entry, const CalendarKind& kind);
  bool ModifyCalendarItem(framework::TEntry& entry, const CalendarKind& kind);
  bool DeleteCalendarItem(framework::TEntry& entry, const CalendarKind& kind);

  // Runs a calendar query of the given expression to its end, asking the host on the way
  // whether the user cancelled; the query's messages.
  platform::Object RunQuery(const std::string& expression);
  // "(... START_DATE >= 2000/1/5 ...)": a date as the query language writes it.
  static std::string QueryDate(platform::AutomationDate date);
  // The CLASS value of an item: its Private flag, asked of the commander when reading it fails;
  // `whenUnknown` when the commander cannot tell either.
  std::string PrivacyValue(const platform::Object& item, std::string_view whenUnknown);
  void AppendAppointment(framework::TEntry& entry, const platform::Object& item);
  void AppendTask(framework::TEntry& entry, const platform::Object& item);
  void AppendNote(framework::TEntry& entry, const platform::Object& item);
  void PlanAppointmentProperty(framework::TvPropertyView property, ItemUpdate& update);
  void PlanTaskProperty(framework::TvPropertyView property, ItemUpdate& update);
  void PlanNoteProperty(framework::TvPropertyView property, ItemUpdate& update);
  // Tells the user that the fields of another user's task were left as they were.
  void LogRejectedTaskUpdate(const platform::Object& item);
  void AppendContact(framework::TEntry& entry, const platform::Object& bookEntry);
  void PlanContactProperty(framework::TvPropertyView property, ItemUpdate& update);
  // The account's address books (traced for the read); raises when GroupWise has none.
  platform::Object AddressBooks();
  // The book named in the settings, found without regard to case (FAddressBk then takes the
  // book's own spelling) or created.
  platform::Object FindOrCreateBook(const platform::Object& books);
  // The book FAddressBk names, for the writes.
  platform::Object ContactBook();
  // Makes sure a user entry has a non-empty device identity, giving it a new one when it has
  // none or an empty one. An identity GroupWise will not store is traced, not raised.
  void EnsureContactUid(const platform::Object& book, const platform::Object& bookEntry);
  // Gives a new entry its device identity, defining the field in the book when it must.
  void AddContactUid(const platform::Object& book, const platform::Object& fields);
  // The field labels of this session; raises before Open has loaded them.
  TABLang& Labels();
  // Names, in the host's log, a contact sent without an identity of its own.
  void LogContactWithoutUid(const framework::TEntry& entry);
  // PlanUpdate, refusing (traced) a record that holds nothing the mapping reads.
  ItemUpdate PlanRecordUpdate(const framework::TEntry& entry, int type, std::string_view noun);
  // The calendar item of that class with that id; the null object when there is none.
  platform::Object FindCalendarItem(const std::string& uid, std::u16string_view className);
  // Removes the item a failed insert created, so that the host's retry does not find a copy;
  // when that fails too, the host's log says so.
  void DiscardHalfMadeItem(const platform::Object& item, const std::string& forPeople);
  // Tells the user, in the host's log, that GroupWise failed half-way through a change of the
  // item `forPeople` names, and fails the change.
  [[noreturn]] void FailPartialUpdate(const std::string& forPeople, std::string_view noun);
  // "Subject - start date and time": how log entries name an item.
  std::string ItemForPeople(const platform::Object& item);
  // Replaces the entry's properties with the item as GroupWise stored it, in a container of its
  // kind (VCALENDAR, VCARD) of version 1.0.
  void RebuildEntry(framework::TEntry& entry, const platform::Object& item, int type,
                    std::string_view noun);
  std::string ItemText(const platform::Object& item, std::string_view member);
  std::string Narrow(std::u16string_view text) const;

  std::optional<framework::SetupBlock> synchSetup_;
  std::optional<framework::SetupBlock> appSetup_;
  std::unique_ptr<framework::TSyncSession> session_;
  uint8_t useContactsManager_ = 0;
  uint8_t manualLogin_ = 0;
  std::u16string loginUser_;
  std::u16string loginParams_;
  std::string FAddressBk;
  platform::Object gwSession_;
  platform::Object FGWAccount;
  platform::Object gwCommander_;
  std::string gwVersion_;
  std::unique_ptr<TABLang> languageTable_;
  bool dcomNoticeShown_ = false;
};

}  // namespace pimsync
