// emailsetup.dll registered as an installer registers it (Wine's regsvr32), its registry
// entries and type library read back, and its unloading rule. The identities are written out
// here rather than taken from the .idl, so that a changed GUID or text fails these tests.

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

constexpr char kClassId[] = "{A6FB2AF5-92CE-4ADE-8752-8C6A3A0414C1}";
constexpr char kLibraryId[] = "{86B4F320-C991-11D4-B3BC-0000E8213261}";
constexpr char kInterfaceId[] = "{86B4F32D-C991-11D4-B3BC-0000E8213261}";
constexpr char kProgId[] = "emailsetup.EmailSetup.1";
constexpr char kIndependentProgId[] = "emailsetup.EmailSetup";
constexpr char kDescription[] = "EmailSetup Class";
constexpr char kLibraryHelp[] = "emailsetup 1.0 Type Library";

const std::string kClassKey = std::string("CLSID\\") + kClassId;

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

class EmailSetupRegistrationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(RunRegsvr32("/s", dll_), 0u); }
  void TearDown() override { RunRegsvr32("/u /s", dll_); }
  const std::string dll_ = RuntimeFile("emailsetup.dll");
  platform::win32::ComApartment apartment_;
};

TEST_F(EmailSetupRegistrationTest, WritesBothProgIdsTheClassKeyAndTheTypeLibrary) {
  const struct {
    std::string key;
    const char* name;
    std::string want;
  } values[] = {
      {kProgId, "", kDescription},
      {std::string(kProgId) + "\\CLSID", "", kClassId},
      {kIndependentProgId, "", kDescription},
      {std::string(kIndependentProgId) + "\\CLSID", "", kClassId},
      {std::string(kIndependentProgId) + "\\CurVer", "", kProgId},
      {kClassKey, "", kDescription},
      {kClassKey + "\\ProgID", "", kProgId},
      {kClassKey + "\\VersionIndependentProgID", "", kIndependentProgId},
      {kClassKey + "\\InprocServer32", "", dll_},
      {kClassKey + "\\InprocServer32", "ThreadingModel", "Apartment"},
      {kClassKey + "\\TypeLib", "", kLibraryId},
      {std::string("TypeLib\\") + kLibraryId + "\\1.0", "", kLibraryHelp},
      {std::string("TypeLib\\") + kLibraryId + "\\1.0\\409\\win32", "", dll_},
      {std::string("Interface\\") + kInterfaceId, "", "IEECDIALOG"},
  };
  for (const auto& v : values) {
    SCOPED_TRACE(v.key + " [" + v.name + "]");
    const std::optional<std::string> got = ReadClassesValue(v.key, v.name);
    ASSERT_TRUE(got.has_value());
    EXPECT_TRUE(SamePath(*got, v.want)) << "got " << *got << ", want " << v.want;
  }
  EXPECT_EQ(ClassesSubkeys(kClassKey),
            (std::vector<std::string>{"InprocServer32", "ProgID", "Programmable", "TypeLib",
                                      "VersionIndependentProgID"}));
  // Programmable says so by being there, with nothing in it.
  EXPECT_EQ(KeyContents(kClassKey + "\\Programmable"), std::pair(DWORD{0}, DWORD{0}));
  EXPECT_EQ(ClassesSubkeys(kIndependentProgId), (std::vector<std::string>{"CLSID", "CurVer"}));

  CLSID classId{};
  for (const char* progId : {kProgId, kIndependentProgId}) {
    EXPECT_EQ(CLSIDFromProgID(std::wstring(progId, progId + strlen(progId)).c_str(), &classId),
              S_OK)
        << progId;
    EXPECT_TRUE(IsEqualCLSID(classId, GuidOf(kClassId))) << progId;
  }
}

TEST_F(EmailSetupRegistrationTest, UnregistrationLeavesNoKeyBehindAndCanBeRepeated) {
  for (const char* round : {"first", "again, with nothing left to remove"}) {
    SCOPED_TRACE(round);
    EXPECT_EQ(RunRegsvr32("/u /s", dll_), 0u);
    for (const std::string& key :
         {kClassKey, std::string(kProgId), std::string(kIndependentProgId),
          std::string("TypeLib\\") + kLibraryId, std::string("Interface\\") + kInterfaceId}) {
      EXPECT_FALSE(ClassesKeyExists(key)) << key;
    }
  }
}

ComPtr<IDispatch> CreateByProgId() {
  CLSID classId{};
  EXPECT_EQ(CLSIDFromProgID(L"emailsetup.EmailSetup.1", &classId), S_OK);
  ComPtr<IDispatch> object;
  const HRESULT hr =
      CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object.PutVoid());
  EXPECT_EQ(hr, S_OK) << HResultHex(hr);
  return object;
}

TEST_F(EmailSetupRegistrationTest, TheTypeLibraryCarriesTheComponentsIdentities) {
  const ComPtr<IDispatch> object = CreateByProgId();
  ASSERT_TRUE(object);
  ComPtr<ITypeInfo> dispatch;
  ComPtr<ITypeLib> library;
  UINT index = 0;
  ASSERT_EQ(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, dispatch.Put()), S_OK);
  ASSERT_EQ(dispatch->GetContainingTypeLib(library.Put(), &index), S_OK);

  const TYPEATTR attr = AttributesOf(*dispatch.Get());
  EXPECT_TRUE(IsEqualIID(attr.guid, GuidOf(kInterfaceId)));
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
  EXPECT_TRUE(IsEqualGUID(libraryAttr->guid, GuidOf(kLibraryId)));
  EXPECT_EQ(libraryAttr->lcid, 1033u);
  EXPECT_EQ(libraryAttr->wMajorVerNum * 100 + libraryAttr->wMinorVerNum, 100) << "version 1.0";
  library->ReleaseTLibAttr(libraryAttr);

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(GuidOf(kClassId), coclass.Put()), S_OK);
  EXPECT_TRUE(AttributesOf(*coclass.Get()).wTypeFlags & TYPEFLAG_FCANCREATE);

  using Doc = std::pair<std::string, std::string>;
  EXPECT_EQ(Documentation(*library.Get(), -1), Doc("EMAILSETUPLib", kLibraryHelp));
  EXPECT_EQ(Documentation(*library.Get(), 0), Doc("IEECDIALOG", "IEECDIALOG Interface"));
  EXPECT_EQ(Documentation(*library.Get(), 1), Doc("EmailSetup", kDescription));
}

// The host binds by these identifiers when it serves all four components at once, and calls
// the same members through the vtable in this order.
TEST_F(EmailSetupRegistrationTest, TheMembersHaveTheirDispatchIdentifiersKindsAndHelp) {
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
TEST_F(EmailSetupRegistrationTest, CannotUnloadWhileAnObjectLivesOrTheFactoryIsLocked) {
  platform::win32::UniqueModule module(LoadLibraryA(dll_.c_str()));
  ASSERT_TRUE(module);
  const auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(
      reinterpret_cast<void*>(GetProcAddress(module.Get(), "DllCanUnloadNow")));
  const auto getClassObject = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
      reinterpret_cast<void*>(GetProcAddress(module.Get(), "DllGetClassObject")));
  ASSERT_TRUE(canUnload && getClassObject);
  ComPtr<IClassFactory> factory;
  EXPECT_EQ(getClassObject(GuidOf(kInterfaceId), IID_IClassFactory, factory.PutVoid()),
            CLASS_E_CLASSNOTAVAILABLE);
  ASSERT_EQ(getClassObject(GuidOf(kClassId), IID_IClassFactory, factory.PutVoid()), S_OK);
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
