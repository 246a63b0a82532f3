#include "pimsync/ab_lang.h"

#include <optional>

#include "framework/groupwise.h"
#include "framework/module_globals.h"
#include "framework/registry_nt.h"
#include "framework/text_util.h"

namespace pimsync {
namespace {

constexpr std::string_view kLanguageKey = "\\Software\\Novell\\GroupWise\\Interface Language";
constexpr std::string_view kErrorCaption = "Address Book Language Error";
// Labels are read into a buffer of this many characters, terminator included.
constexpr std::size_t kLabelBuffer = 260;

constexpr std::pair<std::string_view, int> kLanguageBases[] = {
    {"US", 0},    {"BR", 100},  {"CS", 200},  {"CT", 300},  {"CZ", 400},
    {"DE", 500},  {"DK", 600},  {"ES", 700},  {"FR", 800},  {"IT", 900},
    {"JP", 1000}, {"KR", 1100}, {"MA", 1200}, {"NL", 1300}, {"NO", 1400},
    {"PL", 1500}, {"RU", 1600}, {"SU", 1700}, {"SV", 1800},
};

std::optional<int> LanguageBase(std::string_view language) {
  for (const auto& [code, base] : kLanguageBases) {
    if (code == language) return base;
  }
  return std::nullopt;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

std::string ReadLanguage(platform::Registry& registry) {
  framework::TRegistryNT key(registry);
  key.SetAccess(platform::registry_access::kRead);
  std::optional<std::string> value;
  if (key.OpenKey(kLanguageKey, false)) value = key.ReadString("");
  if (!value) return "US";
  return UpperAscii(framework::TrimControl(*value));
}

}  // namespace

const std::array<ContactFieldInfo, kContactFieldCount> kContactFields = {{
    {ContactField::kDisplayName, "DisplayName", 0x3001001E, 8},
    {ContactField::kFirstName, "FirstName", 0x3A06001E, 10},
    {ContactField::kLastName, "LastName", 0x3A11001E, 16},
    {ContactField::kEmailType, "EmailType", 0x3002001E, 2},
    {ContactField::kEmailAddress, "EmailAddress", 0x3003001E, 9},
    {ContactField::kOrganization, "Organization", 0x3A16001E, 6},
    {ContactField::kTitle, "Title", 0x3A17001E, 17},
    {ContactField::kDepartment, "Department", 0x3A18001E, 7},
    {ContactField::kOffice, "Office", 0x3A19001E, 15},
    {ContactField::kCountry, "Country", 0x3A26001E, 18},
    {ContactField::kCity, "City", 0x3A27001E, 19},
    {ContactField::kState, "State", 0x3A28001E, 23},
    {ContactField::kStreet, "Street", 0x3A29001E, 24},
    {ContactField::kPostalCode, "PostalCode", 0x3A2A001E, 22},
    {ContactField::kNamePrefix, "NamePrefix", 0x600B001E, 13},
    {ContactField::kWorkPhone, "WorkPhone", 0x3A08001E, 4},
    {ContactField::kHomePhone, "HomePhone", 0x3A09001E, 11},
    {ContactField::kMobilePhone, "MobilePhone", 0x3A1C001E, 12},
    {ContactField::kFax, "Fax", 0x3A23001E, 3},
    {ContactField::kComment, "Comment", 0x3004001E, 5},
}};

TABLang::TABLang(int /*majorVersion*/, int minorVersion, platform::Platform& platform)
    : minorVersion_(minorVersion) {
  try {
    Load(platform);
  } catch (const std::exception& failure) {
    std::string text = failure.what();
    if (dynamic_cast<const EDLLNotFound*>(&failure)) text = "DLL not found.";
    if (dynamic_cast<const EFailedToLoad*>(&failure)) text = "DLL failed to load.";
    platform.Ui().MessageBox(0, text, std::string(kErrorCaption), platform::mb::kSetForeground);
  }
}

void TABLang::Load(platform::Platform& platform) {
  language_ = ReadLanguage(platform.Reg());
  const std::optional<int> languageBase = LanguageBase(language_);
  int versionBase;
  if (minorVersion_ == 0 || minorVersion_ == 1) {
    versionBase = 0;
  } else if (minorVersion_ >= 2 && minorVersion_ <= 5) {
    versionBase = 10000;
  } else {
    throw ENotSupported("This version of GroupWise is not supported.");
  }
  if (!languageBase) throw ENotSupported("Language not supported.");

  std::string folder = framework::ModuleFolder(platform.Env().ModulePath());
  if (folder.empty() || (folder.back() != '\\' && folder.back() != '/')) folder.push_back('\\');
  resourcePath_ = folder + std::string(kLabelLibraryName);
  if (!platform.Resources().LibraryExists(resourcePath_)) {
    throw EDLLNotFound("The resource file could not be found.");
  }
  const auto library = platform.Resources().Load(resourcePath_);
  if (!library) throw EFailedToLoad("Bad DLL load");

  for (const ContactFieldInfo& info : kContactFields) {
    std::string text =
        library->LoadString(versionBase + *languageBase + info.stringOffset).value_or("");
    if (text.size() >= kLabelBuffer) text.resize(kLabelBuffer - 1);
    SetLabel(info.field, text.substr(0, text.find('\\')));
  }
  ready_ = true;
}

bool IsOldObjectModel(std::string_view gwVersion) {
  // Compared as text, as the version has always been compared: "10.0" sorts before "2.0".
  return gwVersion < std::string_view("2.0");
}

void LoadFieldNames(TABLang& table, const platform::Object& addressBook, bool oldObjectModel,
                    const platform::CodePage& ansi) {
  if (oldObjectModel) return;
  try {
    const platform::Object definitions = addressBook.GetProperty("FieldDefinitions").ToObject();
    const int32_t count = framework::groupwise::Count(definitions);
    for (int32_t i = 1; i <= count; ++i) {
      try {
        const platform::Object definition = framework::groupwise::ItemAt(definitions, i);
        const std::u16string fieldId = definition.GetProperty("FieldID").ToText();
        for (const ContactFieldInfo& info : kContactFields) {
          const std::string id = std::to_string(info.fieldId);
          if (fieldId == std::u16string(id.begin(), id.end())) {
            table.SetLabel(info.field, ansi.ToAnsi(definition.GetProperty("Name").ToText()));
            break;
          }
        }
      } catch (const std::exception&) {
        // A definition GroupWise cannot describe keeps the label from the library.
      }
    }
  } catch (const std::exception&) {
    // Never fails: the labels from the library serve when the book's own cannot be read.
  }
}

}  // namespace pimsync
