#include "comserver/type_library.h"

#include <vector>

#include "platform/exception.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_environment.h"

namespace comserver {
namespace {

using platform::win32::DescribeHResult;

void Check(HRESULT hr, const char* attempt) {
  if (FAILED(hr)) throw platform::Exception(std::string(attempt) + ": " + DescribeHResult(hr));
}

// TYPEATTR is lent by the type info and must be handed back to it.
class TypeAttr {
 public:
  explicit TypeAttr(ITypeInfo& info) : info_(info) {
    Check(info.GetTypeAttr(&attr_), "Cannot read a type's attributes");
  }
  ~TypeAttr() { info_.ReleaseTypeAttr(attr_); }
  TypeAttr(const TypeAttr&) = delete;
  TypeAttr& operator=(const TypeAttr&) = delete;
  const TYPEATTR* operator->() const { return attr_; }

 private:
  ITypeInfo& info_;
  TYPEATTR* attr_ = nullptr;
};

}  // namespace

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  const int length = StringFromGUID2(guid, text, 40);
  return std::wstring(text, length > 0 ? length - 1 : 0);
}

ComPtr<ITypeLib> LoadModuleTypeLibrary(HMODULE module) {
  ComPtr<ITypeLib> library;
  Check(LoadTypeLibEx(platform::win32::WideModulePath(module).c_str(), REGKIND_NONE, library.Put()),
        "Cannot load the module's type library");
  return library;
}

LibraryFacts ReadLibraryFacts(ITypeLib& library, REFCLSID classId) {
  TLIBATTR* attr = nullptr;
  Check(library.GetLibAttr(&attr), "Cannot read the type library's attributes");
  LibraryFacts facts{attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, {}};
  library.ReleaseTLibAttr(attr);

  ComPtr<ITypeInfo> coclass;
  Check(library.GetTypeInfoOfGuid(classId, coclass.Put()),
        "The type library does not describe the class");
  platform::win32::UniqueBstr help;
  Check(coclass->GetDocumentation(MEMBERID_NIL, nullptr, help.Put(), nullptr, nullptr),
        "Cannot read the class's help text");
  facts.classDescription = help.Get() != nullptr ? help.Get() : L"";
  return facts;
}

DualInterface FindDualInterface(ITypeLib& library, REFIID interfaceId) {
  DualInterface dual;
  Check(library.GetTypeInfoOfGuid(interfaceId, dual.dispatch.Put()),
        "The type library does not describe the interface");
  {
    TypeAttr attr(*dual.dispatch.Get());
    if (attr->typekind != TKIND_DISPATCH || (attr->wTypeFlags & TYPEFLAG_FDUAL) == 0) {
      throw platform::Exception("The interface of the type library is not dual");
    }
  }
  // Index -1 of a dual interface's dispatch half is its vtable half.
  HREFTYPE vtableRef = 0;
  Check(dual.dispatch->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtableRef),
        "Cannot find the interface's vtable description");
  Check(dual.dispatch->GetRefTypeInfo(vtableRef, dual.vtable.Put()),
        "Cannot load the interface's vtable description");
  return dual;
}

}  // namespace comserver
