#pragma once

// The labels of GroupWise's address-book fields in the user's interface language, and the
// catalogue of the twenty contact fields the plug-in exchanges with the device. Address-book
// entries name their fields by these labels, so the contact operations read and write through
// them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation.h"
#include "platform/exception.h"
#include "platform/platform.h"

namespace pimsync {

enum class ContactField {
  kDisplayName,
  kFirstName,
  kLastName,
  kEmailType,
  kEmailAddress,
  kOrganization,
  kTitle,
  kDepartment,
  kOffice,
  kCountry,
  kCity,
  kState,
  kStreet,
  kPostalCode,
  kNamePrefix,
  kWorkPhone,
  kHomePhone,
  kMobilePhone,
  kFax,
  kComment,
};
inline constexpr std::size_t kContactFieldCount = 20;

struct ContactFieldInfo {
  ContactField field;
  std::string_view name;
  // A MAPI property tag of a string property, compared as decimal text with a GroupWise
  // field's FieldID.
  uint32_t fieldId;
  // Added to the language and version bases to give the label's string id.
  int stringOffset;
};

// In the order the labels are loaded.
extern const std::array<ContactFieldInfo, kContactFieldCount> kContactFields;

class ENotSupported : public platform::Exception {
 public:
  using Exception::Exception;
};
class EDLLNotFound : public platform::Exception {
 public:
  using Exception::Exception;
};
class EFailedToLoad : public platform::Exception {
 public:
  using Exception::Exception;
};

inline constexpr std::string_view kLabelLibraryName = "Abfields.dll";

class TABLang {
 public:
  // Learns the language from the registry and loads every label from the label library beside
  // the plug-in's module. A failure is shown in a message box and leaves Ready() false. Only
  // the minor version chooses the labels: every major version of this family shares them.
  TABLang(int majorVersion, int minorVersion, platform::Platform& platform);

  bool Ready() const { return ready_; }
  // Two upper-case letters ("US", "DE").
  const std::string& LanguageCode() const { return language_; }
  const std::string& ResourcePath() const { return resourcePath_; }
  const std::string& Label(ContactField field) const {
    return labels_[static_cast<std::size_t>(field)];
  }
  void SetLabel(ContactField field, std::string label) {
    labels_[static_cast<std::size_t>(field)] = std::move(label);
  }

 private:
  void Load(platform::Platform& platform);

  int minorVersion_;
  std::string language_;
  std::string resourcePath_;
  bool ready_ = false;
  std::array<std::string, kContactFieldCount> labels_;
};

// GroupWise versions whose "major.minor" text sorts before "2.0" address fields by label only.
bool IsOldObjectModel(std::string_view gwVersion);

// Replaces the labels by the names the address book itself gives the catalogue's fields. Does
// nothing under the old object model; a definition that cannot be read is skipped.
void LoadFieldNames(TABLang& table, const platform::Object& addressBook, bool oldObjectModel,
                    const platform::CodePage& ansi);

}  // namespace pimsync
