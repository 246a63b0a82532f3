// The module's class factory and unloading rules through its exports, and the type library as
// a COM client meets it after registration: creation by ProgID, names to DISPIDs, the dual
// interface, its class and its library.

#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>

#include "platform/win32/com_ptr.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "tests/com/com_test_support.h"

namespace comserver::test {
namespace {

using platform::win32::ComPtr;
using platform::win32::HResultHex;
using platform::win32::UniqueBstr;

// The module as the COM runtime sees it: loaded, and reached through its exports.
class ModuleExports {
 public:
  ModuleExports() : module_(LoadLibraryA(RuntimeFile("pimsync.dll").c_str())) {
    EXPECT_TRUE(module_) << GetLastError();
  }
  HRESULT GetClassObject(REFCLSID classId, REFIID iid, void** object) {
    return Export<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject")(classId, iid,
                                                                                   object);
  }
  HRESULT CanUnloadNow() { return Export<HRESULT(WINAPI*)()>("DllCanUnloadNow")(); }

 private:
  template <typename Function>
  Function Export(const char* name) {
    // FARPROC says nothing of the real signature.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_.Get(), name)));
  }
  platform::win32::ComApartment apartment_;
  platform::win32::UniqueModule module_;
};

TEST(ClassFactoryTest, ServesItsOwnClassOnlyAndNoAggregation) {
  ModuleExports exports;
  const GUID classId = GuidOf(kClassId);
  const GUID otherClass = GuidOf("{24D093C2-683C-11D4-B322-0000E8213261}");
  const struct {
    const char* row;
    const GUID& classId;
    const IID& iid;
    HRESULT want;
  } cases[] = {
      {"the class factory", classId, IID_IClassFactory, S_OK},
      {"an interface a factory lacks", classId, IID_IDispatch, E_NOINTERFACE},
      {"another class", otherClass, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    void* object = reinterpret_cast<void*>(1);  // stale; every answer must set it
    const HRESULT hr = exports.GetClassObject(c.classId, c.iid, &object);
    const auto owned =
        ComPtr<IUnknown>::Attach(SUCCEEDED(hr) ? static_cast<IUnknown*>(object) : nullptr);
    EXPECT_EQ(hr, c.want) << HResultHex(hr);
    EXPECT_EQ(object != nullptr, SUCCEEDED(c.want));
  }
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(exports.GetClassObject(classId, IID_IClassFactory, factory.PutVoid()), S_OK);
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(factory.Get(), IID_IUnknown, aggregated.PutVoid()),
            CLASS_E_NOAGGREGATION);
}

TEST(ClassFactoryTest, UnloadsOnlyWithoutLiveObjectsOrLocks) {
  ModuleExports exports;
  ComPtr<IClassFactory> factory;
  ASSERT_EQ(exports.GetClassObject(GuidOf(kClassId), IID_IClassFactory, factory.PutVoid()), S_OK);
  ComPtr<IDispatch> first;
  ComPtr<IDispatch> second;
  const auto create = [&](ComPtr<IDispatch>& into) {
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, into.PutVoid()), S_OK);
  };
  const struct {
    const char* step;
    std::function<void()> action;
    HRESULT want;
  } steps[] = {
      {"nothing alive", [] {}, S_OK},
      {"an object created", [&] { create(first); }, S_FALSE},
      {"a second object", [&] { create(second); }, S_FALSE},
      {"the first released", [&] { first.Reset(); }, S_FALSE},
      {"the second released", [&] { second.Reset(); }, S_OK},
      {"the factory locked", [&] { factory->LockServer(TRUE); }, S_FALSE},
      {"the factory unlocked", [&] { factory->LockServer(FALSE); }, S_OK},
      // One unlock too many must not leave a count that keeps the module loaded for ever.
      {"unlocked once more", [&] { factory->LockServer(FALSE); }, S_OK},
      {"locked after that", [&] { factory->LockServer(TRUE); }, S_FALSE},
      {"and unlocked", [&] { factory->LockServer(FALSE); }, S_OK},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.step);
    s.action();
    EXPECT_EQ(exports.CanUnloadNow(), s.want);
  }
}

// After registration, as the host meets the class.
class RegisteredServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(RunRegsvr32("/s", RuntimeFile("pimsync.dll")), 0u); }
  static void TearDownTestSuite() { RunRegsvr32("/u /s", RuntimeFile("pimsync.dll")); }

  void SetUp() override {
    CLSID classId{};
    ASSERT_EQ(CLSIDFromProgID(L"PIMSYNC.ISYNCHAPPU", &classId), S_OK);
    ASSERT_TRUE(IsEqualCLSID(classId, GuidOf(kClassId)));
    const HRESULT hr =
        CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, object_.PutVoid());
    ASSERT_EQ(hr, S_OK) << HResultHex(hr);
    UINT count = 0;
    ASSERT_EQ(object_->GetTypeInfoCount(&count), S_OK);
    ASSERT_EQ(count, 1u);
    ASSERT_EQ(object_->GetTypeInfo(0, LOCALE_USER_DEFAULT, dispatch_.Put()), S_OK);
    UINT index = 0;
    ASSERT_EQ(dispatch_->GetContainingTypeLib(library_.Put(), &index), S_OK);
  }

  platform::win32::ComApartment apartment_;
  ComPtr<IDispatch> object_;
  ComPtr<ITypeInfo> dispatch_;  // what the object shows of itself
  ComPtr<ITypeLib> library_;
};

TEST_F(RegisteredServerTest, NamesResolveToTheDispIdsOfTheTypeLibrary) {
  const struct {
    const wchar_t* name;
    DISPID want;
    HRESULT hr;
  } names[] = {
      {L"Init", 1, S_OK},
      {L"Term", 2, S_OK},
      {L"Open", 3, S_OK},
      {L"Close", 4, S_OK},
      {L"CheckSource", 5, S_OK},
      {L"ReadSource", 6, S_OK},
      {L"WriteSource", 7, S_OK},
      {L"writesource", 7, S_OK},  // names ignore case
      {L"Synchronize", DISPID_UNKNOWN, DISP_E_UNKNOWNNAME},
  };
  for (const auto& n : names) {
    SCOPED_TRACE(std::string(n.name, n.name + wcslen(n.name)));
    LPOLESTR name = const_cast<LPOLESTR>(n.name);
    DISPID id = 0;
    EXPECT_EQ(object_->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), n.hr);
    EXPECT_EQ(id, n.want);
  }
}

TEST_F(RegisteredServerTest, TheDualInterfaceItsClassAndLibraryCarryTheirIdentities) {
  const TYPEATTR attr = AttributesOf(*dispatch_.Get());
  EXPECT_TRUE(IsEqualIID(attr.guid, GuidOf(kInterfaceId)));
  EXPECT_EQ(attr.typekind, TKIND_DISPATCH);
  const WORD dual = TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  EXPECT_EQ(attr.wTypeFlags & dual, dual) << std::hex << attr.wTypeFlags;

  TLIBATTR* libraryAttr = nullptr;
  ASSERT_EQ(library_->GetLibAttr(&libraryAttr), S_OK);
  EXPECT_TRUE(IsEqualGUID(libraryAttr->guid, GuidOf(kLibraryId)));
  EXPECT_EQ(libraryAttr->lcid, 0x0409u);
  EXPECT_EQ(libraryAttr->wMajorVerNum * 100 + libraryAttr->wMinorVerNum, 100) << "version 1.0";
  EXPECT_EQ(libraryAttr->syskind, SYS_WIN32);
  library_->ReleaseTLibAttr(libraryAttr);

  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library_->GetTypeInfoOfGuid(GuidOf(kClassId), coclass.Put()), S_OK);
  const TYPEATTR classAttr = AttributesOf(*coclass.Get());
  EXPECT_EQ(classAttr.typekind, TKIND_COCLASS);
  EXPECT_TRUE(classAttr.wTypeFlags & TYPEFLAG_FCANCREATE);
  INT implFlags = 0;
  HREFTYPE implemented = 0;
  ComPtr<ITypeInfo> implementedInfo;
  ASSERT_EQ(coclass->GetImplTypeFlags(0, &implFlags), S_OK);
  ASSERT_EQ(coclass->GetRefTypeOfImplType(0, &implemented), S_OK);
  ASSERT_EQ(coclass->GetRefTypeInfo(implemented, implementedInfo.Put()), S_OK);
  EXPECT_TRUE(implFlags & IMPLTYPEFLAG_FDEFAULT);
  EXPECT_TRUE(IsEqualIID(AttributesOf(*implementedInfo.Get()).guid, GuidOf(kInterfaceId)));

  using Doc = std::pair<std::string, std::string>;
  const UINT interfaceIndex = 0;  // the library holds the interface, then the class
  EXPECT_EQ(Documentation(*library_.Get(), -1), Doc("PIMSYNC", kLibraryHelp));
  EXPECT_EQ(Documentation(*library_.Get(), interfaceIndex),
            Doc("IGroupwiseSynchronizer", kInterfaceHelp));
  EXPECT_EQ(Documentation(*library_.Get(), interfaceIndex + 1), Doc("ISYNCHAPPU", kClassHelp));
}

TEST_F(RegisteredServerTest, TheVtableHasTheSevenMethodsAfterIDispatchInOrder) {
  HREFTYPE vtableRef = 0;
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch_->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef), S_OK);
  ASSERT_EQ(dispatch_->GetRefTypeInfo(vtableRef, vtable.Put()), S_OK);

  using Names = std::vector<std::string>;
  using Types = std::vector<VARTYPE>;  // the last, Value, is a pointer to a long
  const Names one = {"Progress", "Value"};
  const Types oneTypes = {VT_DISPATCH, VT_PTR};
  const Names stream = {"Progress", "TheStream", "TheType", "TheOp", "STime", "Value"};
  const Types streamTypes = {VT_DISPATCH, VT_UNKNOWN, VT_I2, VT_I2, VT_BSTR, VT_PTR};
  const struct {
    std::string method;
    Names parameters;
    Types types;
  } methods[] = {
      {"Init",
       {"Progress", "SynchSetup", "AppSetup", "Value"},
       {VT_DISPATCH, VT_UNKNOWN, VT_UNKNOWN, VT_PTR}},
      {"Term", one, oneTypes},
      {"Open", one, oneTypes},
      {"Close", one, oneTypes},
      {"CheckSource", one, oneTypes},
      {"ReadSource", stream, streamTypes},
      {"WriteSource", stream, streamTypes},
  };
  ASSERT_EQ(AttributesOf(*vtable.Get()).cFuncs, std::size(methods));
  for (std::size_t i = 0; i < std::size(methods); ++i) {
    SCOPED_TRACE(methods[i].method);
    FUNCDESC* function = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(static_cast<UINT>(i), &function), S_OK);
    EXPECT_EQ(function->memid, static_cast<MEMBERID>(i + 1));
    // IUnknown's three and IDispatch's four slots come first.
    EXPECT_EQ(function->oVft, static_cast<SHORT>((7 + i) * sizeof(void*)));
    Types types;
    for (SHORT p = 0; p < function->cParams; ++p)
      types.push_back(function->lprgelemdescParam[p].tdesc.vt);
    EXPECT_EQ(types, methods[i].types);
    const USHORT retval = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
    EXPECT_EQ(function->lprgelemdescParam[function->cParams - 1].paramdesc.wParamFlags & retval,
              retval);
    BSTR names[8] = {};
    UINT count = 0;
    EXPECT_EQ(vtable->GetNames(function->memid, names, 8, &count), S_OK);
    Names got;
    for (UINT n = 0; n < count; ++n)
      got.push_back(Text(UniqueBstr(names[n]).Get()));
    Names want = {methods[i].method};
    want.insert(want.end(), methods[i].parameters.begin(), methods[i].parameters.end());
    EXPECT_EQ(got, want);
    vtable->ReleaseFuncDesc(function);
  }
}

}  // namespace
}  // namespace comserver::test
