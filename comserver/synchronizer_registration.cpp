#include "comserver/synchronizer_registration.h"

namespace comserver {
namespace {

std::string ClassKey(const std::string& classId) {
  return "CLSID\\" + classId;
}

}  // namespace

std::vector<RegistryEntry> ClassEntries(const ClassRegistration& r) {
  const std::string classKey = ClassKey(r.classId);
  return {
      {classKey, "", r.description},
      {classKey + "\\InprocServer32", "", r.modulePath},
      {classKey + "\\InprocServer32", "ThreadingModel", u"Apartment"},
      {classKey + "\\ProgID", "", Widen(r.progId)},
      {r.progId, "", r.description},
      {r.progId + "\\Clsid", "", Widen(r.classId)},
      {classKey + "\\TypeLib", "", Widen(r.libraryId)},
      {classKey + "\\Version", "", Widen(r.version)},
  };
}

void RegisterServer(HMODULE module, const SynchronizerModule& identity,
                    platform::Registry& registry) {
  RegisterModuleServer(
      module, identity.classId,
      [&](const LibraryFacts& facts, const std::u16string& modulePath) {
        return ClassEntries(ClassRegistration{
            .classId = GuidKeyText(identity.classId),
            .progId = identity.progId,
            .description = Wide(facts.classDescription),
            .modulePath = modulePath,
            .libraryId = GuidKeyText(facts.libraryId),
            .version =
                std::to_string(facts.majorVersion) + "." + std::to_string(facts.minorVersion),
        });
      },
      registry);
}

void UnregisterServer(HMODULE module, const SynchronizerModule& identity,
                      platform::Registry& registry) {
  const std::string keys[] = {ClassKey(GuidKeyText(identity.classId)), identity.progId};
  UnregisterModuleServer(module, identity.classId, keys, registry);
}

}  // namespace comserver
