#include "setup/com/setup_registration.h"

namespace setup::com {
namespace {

using comserver::Widen;

std::string ClassKey(const std::string& classId) {
  return "CLSID\\" + classId;
}

}  // namespace

std::string VersionIndependentProgId(const std::string& progId) {
  const std::size_t dot = progId.rfind('.');
  return dot == std::string::npos ? progId : progId.substr(0, dot);
}

std::vector<comserver::RegistryEntry> SetupClassEntries(const SetupRegistration& r) {
  const std::string classKey = ClassKey(r.classId);
  const std::string independent = VersionIndependentProgId(r.progId);
  return {
      {r.progId, "", r.description},
      {r.progId + "\\CLSID", "", Widen(r.classId)},
      {independent, "", r.description},
      {independent + "\\CLSID", "", Widen(r.classId)},
      {independent + "\\CurVer", "", Widen(r.progId)},
      {classKey, "", r.description},
      {classKey + "\\ProgID", "", Widen(r.progId)},
      {classKey + "\\VersionIndependentProgID", "", Widen(independent)},
      {classKey + "\\Programmable", "", std::nullopt},
      {classKey + "\\InprocServer32", "", r.modulePath},
      {classKey + "\\InprocServer32", "ThreadingModel", u"Apartment"},
      {classKey + "\\TypeLib", "", Widen(r.libraryId)},
  };
}

void RegisterSetupServer(HMODULE module, const SetupModule& identity,
                         platform::Registry& registry) {
  comserver::RegisterModuleServer(
      module, identity.classId,
      [&](const comserver::LibraryFacts& facts, const std::u16string& modulePath) {
        return SetupClassEntries(SetupRegistration{
            .classId = comserver::GuidKeyText(identity.classId),
            .progId = identity.progId,
            .description = comserver::Wide(facts.classDescription),
            .modulePath = modulePath,
            .libraryId = comserver::GuidKeyText(facts.libraryId),
        });
      },
      registry);
}

void UnregisterSetupServer(HMODULE module, const SetupModule& identity,
                           platform::Registry& registry) {
  const std::string keys[] = {ClassKey(comserver::GuidKeyText(identity.classId)), identity.progId,
                              VersionIndependentProgId(identity.progId)};
  comserver::UnregisterModuleServer(module, identity.classId, keys, registry);
}

}  // namespace setup::com
