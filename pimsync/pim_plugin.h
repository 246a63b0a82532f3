#pragma once

// The calendar and contacts plug-in: GroupWise appointments (and, in time, tasks, notes and one
// address book) kept in step with the handheld. The host drives it through the engine base's
// seven methods; this class logs into GroupWise at Open and serves the typed hooks.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "framework/base_isync.h"
#include "framework/setup_blocks.h"
#include "framework/sync_session.h"
#include "pimsync/ab_lang.h"
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

  // Appends the Versit properties of a GroupWise item of the given data type to the entry.
  bool BuildApptEntry(framework::TEntry& entry, const platform::Object& item, int type);
  // Writes the entry's properties into a GroupWise item of the given data type.
  bool UpdateMessage(const platform::Object& item, const framework::TEntry& entry, int type);
  // Runs a GroupWise commander token; the answer when GroupWise reports success.
  std::optional<std::u16string> ExecuteToken(std::u16string_view token);
  bool DeleteMessageByUid(const std::string& uid);

 private:
  // Runs a calendar query of the given expression to its end, asking the host on the way
  // whether the user cancelled; the query's messages.
  platform::Object RunQuery(const std::string& expression);
  // "(... START_DATE >= 2000/1/5 ...)": a date as the query language writes it.
  static std::string QueryDate(platform::AutomationDate date);
  // The CLASS value of an item: its Private flag, asked of the commander when reading it fails.
  std::string PrivacyValue(const platform::Object& item);
  void AppendAppointment(framework::TEntry& entry, const platform::Object& item);
  void ApplyAppointmentProperty(const platform::Object& item,
                                const framework::TvProperty& property);
  // Replaces the entry's properties with the item as GroupWise stored it, in its own VCALENDAR.
  void RebuildEntry(framework::TEntry& entry, const platform::Object& item, int type);
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
