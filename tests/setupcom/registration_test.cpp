// Each of the four setup components registered as an installer registers it (Wine's
// regsvr32), its registry entries and type library read back, and its unloading rule. The
// identities are written out here rather than taken from the .idl files, so that a changed
// GUID or text fails these tests.

#include <gtest/gtest.h>

#include <objbase.h>

#include "platform/win32/com_ptr.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "tests/com/com_test_support.h"

namespace setup::com::test {
namespace {

using comserver::test::AttributesOf;
using comserver::test::ClassesKeyExists;
using comserver::test::ClassesSubkeys;
using comserver::test::Documentation;
using comserver::test::GuidOf;
using comserver::test::ReadClassesValue;
using comserver::test::RunRegsvr32;
using comserver::test::RuntimeFile;
using comserver::test::SamePath;
using platform::win32::ComPtr;
using platform::win32::HResultHex;

struct Identity {
  const char* dll;
  const char* classId;
  const char* libraryId;
  const char* interfaceId;
  const char* progId;
  const char* independentProgId;
  const char* description;
  const char* libraryName;
  const char* libraryHelp;
  const char* className;
};

const Identity kComponents[] = {
    {"emailsetup.dll", "{A6FB2AF5-92CE-4ADE-8752-8C6A3A0414C1}",
     "{86B4F320-C991-11D4-B3BC-0000E8213261}", "{86B4F32D-C991-11D4-B3BC-0000E8213261}",
     "emailsetup.EmailSetup.1", "emailsetup.EmailSetup", "EmailSetup Class", "EMAILSETUPLib",
     "emailsetup 1.0 Type Library", "EmailSetup"},
    {"calsetup.dll", "{748DD136-605E-446F-9F65-5663627F93A5}",
     "{25760810-C73A-11D4-B3BA-0000E8213261}", "{2576081D-C73A-11D4-B3BA-0000E8213261}",
     "calsetup.CalSetup.1", "calsetup.CalSetup", "CalSetup Class", "CALSETUPLib",
     "calsetup 1.0 Type Library", "CalSetup"},
    {"contactsetup.dll", "{BEF7017B-0671-46E4-BC87-6A8A53B588D8}",
     "{2984EEC1-C97C-11D4-B3BC-0000E8213261}", "{2984EECE-C97C-11D4-B3BC-0000E8213261}",
     "contactsetup.ContactSetup.1", "contactsetup.ContactSetup", "ContactSetup Class",
     "CONTACTSETUPLib", "contactsetup 1.0 Type Library", "ContactSetup"},
    {"setupwizard.dll", "{4CF0E306-88D2-4263-A314-F37944A8A4B2}",
     "{42F8FEE0-C996-11D4-B3BC-0000E8213261}", "{42F8FEED-C996-11D4-B3BC-0000E8213261}",
     "setupwizard.SetupWizard.1", "setupwizard.SetupWizard", "SetupWizard Class", "SETUPWIZARDLib",
     "setupwizard 1.0 Type Library", "SetupWizard"},
};

// Values and subkeys under a key of HKEY_CLASSES_ROOT; nothing when it is missing.
std::optional<std::pair<DWORD, DWORD>> KeyContents(const std::string& key) {
  platform::win32::UniqueHKey opened;
  if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.Put()) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD subkeys = 0, values = 0;
  RegQueryInfoKeyA(opened.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values,
                   nullptr, nullptr, nullptr, nullptr);
  return std::pair(subkeys, values);
}

class SetupRegistrationTest : public ::testing::TestWithParam<Identity> {
 protected:
  void SetUp() override { ASSERT_EQ(RunRegsvr32("/s", dll_), 0u); }
  void TearDown() override { RunRegsvr32("/u /s", dll_); }

  // The component's object by its versioned ProgID, through IDispatch as the host binds it.
  ComPtr<IDispatch> CreateByProgId() const {
    CLSID classId{};
    const std::string progId = GetParam().progId;
    EXPECT_EQ(CLSIDFromProgID(std::wstring(progId.begin(), progId.end()).c_str(), &classId), S_OK);
    ComPtr<IDispatch> object;
    const HRESULT hr =
        CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.PutVoid());
    EXPECT_EQ(hr, S_OK) << HResultHex(hr);
    return object;
  }

  const Identity& id_ = GetParam();
  const std::string dll_ = RuntimeFile(GetParam().dll);
  const std::string classKey_ = std::string("CLSID\\") + GetParam().classId;
  platform::win32::ComApartment apartment_;
};

INSTANTIATE_TEST_SUITE_P(EveryComponent, SetupRegistrationTest, ::testing::ValuesIn(kComponents),
                         [](const ::testing::TestParamInfo<Identity>& info) {
                           return std::string(info.param.className);
                         });

TEST_P(SetupRegistrationTest, WritesBothProgIdsTheClassKeyAndTheTypeLibrary) {
  const struct {
    std::string key;
    const char* name;
    std::string want;
  } values[] = {
      {id_.progId, "", id_.description},
      {std::string(id_.progId) + "\\CLSID", "", id_.classId},
      {id_.independentProgId, "", id_.description},
      {std::string(id_.independentProgId) + "\\CLSID", "", id_.classId},
      {std::string(id_.independentProgId) + "\\CurVer", "", id_.progId},
      {classKey_, "", id_.description},
      {classKey_ + "\\ProgID", "", id_.progId},
      {classKey_ + "\\VersionIndependentProgID", "", id_.independentProgId},
      {classKey_ + "\\InprocServer32", "", dll_},
      {classKey_ + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {classKey_ + "\\TypeLib", "", id_.libraryId},
      {std::string("TypeLib\\") + id_.libraryId + "\\1.0", "", id_.libraryHelp},
      {std::string("TypeLib\\") + id_.libraryId + "\\1.0\\409\\win32", "", dll_},
      {std::string("Interface\\") + id_.interfaceId, "", "IEECDIALOG"},
  };
  for (const auto& v : values) {
    SCOPED_TRACE(v.key + " [" + v.name + "]");
    const std::optional<std::string> got = ReadClassesValue(v.key, v.name);
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(SamePath(*got, v.want)) << "got " << *got << ", want " << v.want;
  }
  EXPECT_EQ(ClassesSubkeys(classKey_),
            (std::vector<std::string>{"InprocServer32", "ProgID", "Programmable", "TypeLib",
                                      "VersionIndependentProgID"}));
  // Programmable says so by being there, with nothing in it.
  EXPECT_EQ(KeyContents(classKey_ + "\\Programmable"), std::pair(DWORD{0}, DWORD{0}));
  EXPECT_EQ(ClassesSubkeys(id_.independentProgId), (std::vector<std::string>{"CLSID", "CurVer"}));

  CLSID classId{};
  for (const char* progId : {id_.progId, id_.independentProgId}) {
    EXPECT_EQ(CLSIDFromProgID(std::wstring(progId, progId + strlen(progId)).c_str(), &classId),
              S_OK)
        << progId;
    EXPECT_TRUE(IsEqualCLSID(classId, GuidOf(id_.classId))) << progId;
  }
}

TEST_P(SetupRegistrationTest, UnregistrationLeavesNoKeyBehindAndCanBeRepeated) {
  for (const char* round : {"first", "again, with nothing left to remove"}) {
    SCOPED_TRACE(round);
    EXPECT_EQ(RunRegsvr32("/u /s", dll_), 0u);
    for (const std::string& key :
         {classKey_, std::string(id_.progId), std::string(id_.independentProgId),
          std::string("TypeLib\\") + id_.libraryId, std::string("Interface\\") + id_.interfaceId}) {
      EXPECT_FALSE(ClassesKeyExists(key)) << key;
    }
  }
}

TEST_P(SetupRegistrationTest, TheTypeLibraryCarriesTheComponentsIdentities) {
  const ComPtr<IDispatch> object = CreateByProgId();
  ASSERT_TRUE(object);
  ComPtr<ITypeInfo> dispatch;
  ComPtr<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, dispatch.Put()), S_OK);
  ASSERT_EQ(dispatch->GetContainingTypeLib(library.Put(), &index), S_OK);

  const TYPEATTR attr = AttributesOf(*dispatch.Get());
  EXPECT_TRUE(IsEqualIID(attr.guid, GuidOf(id_.interfaceId)));
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
  const WORD dual = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE;
  EXPECT_EQ(attr.wTypeFlags & dual, dual) << std::hex << attr.wTypeFlags;
  // The vtable half is the one that says it takes automation types only.
  HREFTYPE vtableRef = 0;
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
  ASSERT_EQ(dispatch->GetRefTypeInfo(vtableRef, vtable.Put()), S_OK);
  EXPECT_TRUE(AttributesOf(*vtable.Get()).wTypeFlags & TYPEFLAG_FOLEAUTOMATION);

  TLIBATTR* libraryAttr = nullptr;
  ASSERT_EQ(library->GetLibAttr(&libraryAttr), S_OK);
  EXPECT_TRUE(IsEqualGUID(libraryAttr->guid, GuidOf(id_.libraryId)));
  EXPECT_EQ(libraryAttr->lcid, 1033u);
  EXPECT_EQ(libraryAttr->wMajorVerNum * 100 + libraryAttr->wMinorVerNum, 100) << "version 1.0";
  library->ReleaseTLibAttr(libraryAttr);

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(GuidOf(id_.classId), coclass.Put()), S_OK);
  EXPECT_TRUE(AttributesOf(*coclass.Get()).wTypeFlags & TYPEFLAG_FCANCREATE);

  using Doc = std::pair<std::string, std::string>;
  EXPECT_EQ(Documentation(*library.Get(), -1), Doc(id_.libraryName, id_.libraryHelp));
  EXPECT_EQ(Documentation(*library.Get(), 0), Doc("IEECDIALOG", "IEECDIALOG Interface"));
  EXPECT_EQ(Documentation(*library.Get(), 1), Doc(id_.className, id_.description));
}

// The host binds by these identifiers when it serves all four components at once, and calls
// the same members through the vtable in this order.
TEST_P(SetupRegistrationTest, TheMembersHaveTheirDispatchIdentifiersKindsAndHelp) {
  const struct Member {
    const char* name;
    DISPID id;
    INVOKEKIND kind;
    short parameters;  // the [out, retval] one included
    VARTYPE firstParameter;
    const char* help;
  } members[] = {
      {"ControlFile", 1, INVOKE_PROPERTYGET, 1, VT_PTR, "property ControlFile"},
      {"ControlFile", 1, INVOKE_PROPERTYPUT, 1, VT_BSTR, "property ControlFile"},
      {"ShowDialog", 2, INVOKE_FUNC, 0, VT_EMPTY, "method ShowDialog"},
      {"AddPages", 3, INVOKE_FUNC, 1, VT_UI4, "method AddPages"},
      {"RemovePages", 4, INVOKE_FUNC, 0, VT_EMPTY, "method RemovePages"},
      {"CommitPages", 5, INVOKE_FUNC, 1, VT_VARIANT, "method CommitPages"},
      {"InvisibleDialog", 6, INVOKE_FUNC, 1, VT_PTR, "method InvisibleDialog"},
      {"WizardData", 7, INVOKE_PROPERTYGET, 1, VT_PTR, "property WizardData"},
      {"WizardData", 7, INVOKE_PROPERTYPUT, 1, VT_VARIANT, "property WizardData"},
      {"IsPIMInstalled", 8, INVOKE_FUNC, 1, VT_PTR, "method IsPIMInstalled"},
  };
  const ComPtr<IDispatch> object = CreateByProgId();
  ASSERT_TRUE(object);
  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, dispatch.Put()), S_OK);
  HREFTYPE vtableRef = 0;
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
  ASSERT_EQ(dispatch->GetRefTypeInfo(vtableRef, vtable.Put()), S_OK);
  ASSERT_EQ(AttributesOf(*vtable.Get()).cFuncs, std::size(members));

  for (UINT i = 0; i < std::size(members); ++i) {
    const Member& m = members[i];
    SCOPED_TRACE(std::string(m.name) + " #" + std::to_string(i));
    FUNCDESC* function = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(i, &function), S_OK);
    EXPECT_EQ(function->memid, m.id);
    EXPECT_EQ(function->invkind, m.kind);
    EXPECT_EQ(function->cParams, m.parameters);
    if (m.parameters > 0) {
      EXPECT_EQ(function->lprgelemdescParam[0].tdesc.vt, m.firstParameter);
    }
    EXPECT_EQ(function->elemdescFunc.tdesc.vt, VT_HRESULT);
    // The vtable follows IDispatch's seven slots in this order.
    EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
    const MEMBERID id = function->memid;
    vtable->ReleaseFuncDesc(function);

    platform::win32::UniqueBstr name, help;
    ASSERT_EQ(vtable->GetDocumentation(id, name.Put(), help.Put(), nullptr, nullptr), S_OK);
    EXPECT_EQ(comserver::test::Text(name.Get()), m.name);
    EXPECT_EQ(comserver::test::Text(help.Get()), m.help);

    std::wstring wide(m.name, m.name + strlen(m.name));
    LPOLESTR names[] = {wide.data()};
    DISPID bound = 0;
    EXPECT_EQ(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &bound), S_OK);
    EXPECT_EQ(bound, m.id);
  }
}

// A module loaded as COM loads it and asked through its exports.
TEST_P(SetupRegistrationTest, CannotUnloadWhileAnObjectLivesOrTheFactoryIsLocked) {
  platform::win32::UniqueModule module(LoadLibraryA(dll_.c_str()));
  ASSERT_TRUE(module);
  const auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(module.Get(), "DllCanUnloadNow")));
  const auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(module.Get(), "DllGetClassObject")));
  ASSERT_TRUE(canUnload && getClassObject);
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(getClassObject(GuidOf(id_.interfaceId), IID_IClassFactory, factory.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(getClassObject(GuidOf(id_.classId), IID_IClassFactory, factory.PutVoid()), S_OK);
  EXPECT_EQ(canUnload(), S_OK);
  ComPtr<IDispatch> object;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, object.PutVoid()), S_OK);
  EXPECT_EQ(canUnload(), S_FALSE);
  object.Reset();
  EXPECT_EQ(canUnload(), S_OK);
  factory->LockServer(TRUE);
  EXPECT_EQ(canUnload(), S_FALSE);
  factory->LockServer(FALSE);
  EXPECT_EQ(canUnload(), S_OK);
}

}  // namespace
}  // namespace setup::com::test
