#include "tools/gwsync/com_setup_host.h"

#include <array>

#include "platform/exception.h"
#include "platform/win32/ansi_code_page.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "platform/win32/wide_text.h"

namespace gwsync {
namespace {

using platform::win32::DescribeHResult;
using platform::win32::UniqueVariant;

// IEECDIALOG's dispatch identifiers.
constexpr DISPID kControlFile = 1;
constexpr DISPID kShowDialog = 2;
constexpr DISPID kAddPages = 3;
constexpr DISPID kRemovePages = 4;
constexpr DISPID kCommitPages = 5;
constexpr DISPID kInvisibleDialog = 6;
constexpr DISPID kIsPimInstalled = 8;

// Calls member `id` with the arguments in their natural order; its result.
UniqueVariant Invoke(IDispatch& component, DISPID id, const char* name, WORD flags,
                     std::vector<VARIANT> args = {}) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPID putId = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags == DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &putId;
    params.cNamedArgs = 1;
  }
  UniqueVariant result;
  platform::win32::ExcepInfo exception;
  UINT argumentError = 0;
  const HRESULT hr = component.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                      flags == DISPATCH_PROPERTYPUT ? nullptr : &result, &exception,
                                      &argumentError);
  if (FAILED(hr)) {
    exception.FillIn();
    const std::u16string text = platform::win32::BstrText(exception.bstrDescription);
    throw platform::Exception(
        std::string(name) + ": " +
        (text.empty() ? DescribeHResult(hr) : platform::win32::WideToAnsi(text)));
  }
  return result;
}

// The host's last wizard page: nothing to set, Finish.
INT_PTR CALLBACK LastPage(HWND page, UINT message, WPARAM, LPARAM lParam) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_SETACTIVE) {
    PostMessageW(GetParent(page), PSM_SETWIZBUTTONS, 0, PSWIZB_BACK | PSWIZB_FINISH);
    SetWindowLongPtrW(page, DWLP_MSGRESULT, 0);
    return TRUE;
  }
  return FALSE;
}

// An empty page of the wizard's size with one line of text, in memory.
class LastPageTemplate {
 public:
  LastPageTemplate() {
    DLGTEMPLATE header{};
    header.style = DS_SETFONT | WS_CHILD | WS_DISABLED | WS_CAPTION;
    header.cdit = 1;
    header.cx = 307;
    header.cy = 190;
    Append(&header, sizeof header);
    Words({0, 0});  // no menu, the standard class
    Text(kHostWizardCaption);
    Words({8});
    Text(L"MS Sans Serif");
    Align();
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
    item.x = 97;
    item.y = 46;
    item.cx = 203;
    item.cy = 40;
    item.id = 1000;
    Append(&item, sizeof item);
    Words({0xFFFF, 0x0082});  // static
    Text(L"The host has what it needs. Press Finish to store the profile.");
    Words({0});  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Append(const void* data, std::size_t size) {
    const auto* from = static_cast<const WORD*>(data);
    words_.insert(words_.end(), from, from + size / sizeof(WORD));
  }
  void Words(std::initializer_list<WORD> words) { words_.insert(words_.end(), words); }
  void Text(const wchar_t* text) {
    for (; *text != L'\0'; ++text)
      words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }
  void Align() {
    if (words_.size() % 2 != 0) words_.push_back(0);
  }

  std::vector<WORD> words_;
};

}  // namespace

SetupComponentHost::SetupComponentHost(std::string_view progId) {
  const std::u16string wide = platform::win32::AnsiToWide(progId);
  CLSID classId;
  HRESULT hr = CLSIDFromProgID(platform::win32::AsWide(wide.c_str()), &classId);
  if (SUCCEEDED(hr)) {
    hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                          component_.PutVoid());
  }
  if (FAILED(hr)) {
    throw platform::Exception(
        std::string(progId) +
        " cannot be created (regsvr32 registers its DLL): " + DescribeHResult(hr));
  }
}

void SetupComponentHost::SetControlFile(const std::u16string& path) {
  UniqueVariant value;
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = platform::win32::UniqueBstr::FromText(path).Detach();
  Invoke(*component_.Get(), kControlFile, "ControlFile", DISPATCH_PROPERTYPUT, {value});
}

void SetupComponentHost::ShowDialog() {
  Invoke(*component_.Get(), kShowDialog, "ShowDialog", DISPATCH_METHOD);
}

bool SetupComponentHost::InvisibleDialog() {
  const UniqueVariant result =
      Invoke(*component_.Get(), kInvisibleDialog, "InvisibleDialog", DISPATCH_METHOD);
  return V_VT(&result) == VT_BOOL && V_BOOL(&result) != VARIANT_FALSE;
}

std::vector<HPROPSHEETPAGE> SetupComponentHost::AddPages() {
  HPROPSHEETPAGE* handed = nullptr;
  VARIANT address;
  V_VT(&address) = VT_UI4;
  // The member takes the variable's address as an unsigned long.
  V_UI4(&address) = static_cast<ULONG>(reinterpret_cast<uintptr_t>(&handed));
  Invoke(*component_.Get(), kAddPages, "AddPages", DISPATCH_METHOD, {address});
  std::vector<HPROPSHEETPAGE> pages;
  for (HPROPSHEETPAGE* page = handed; page != nullptr && *page != nullptr; ++page)
    pages.push_back(*page);
  return pages;
}

void SetupComponentHost::CommitPages(const VARIANT& profileName) {
  Invoke(*component_.Get(), kCommitPages, "CommitPages", DISPATCH_METHOD, {profileName});
}

void SetupComponentHost::RemovePages() {
  Invoke(*component_.Get(), kRemovePages, "RemovePages", DISPATCH_METHOD);
}

uint32_t SetupComponentHost::IsPIMInstalled() {
  UniqueVariant result =
      Invoke(*component_.Get(), kIsPimInstalled, "IsPIMInstalled", DISPATCH_METHOD);
  UniqueVariant number;
  if (FAILED(VariantChangeType(&number, &result, 0, VT_UI4))) return 0;
  return V_UI4(&number);
}

bool RunHostWizard(const std::vector<HPROPSHEETPAGE>& pages) {
  const LastPageTemplate layout;
  PROPSHEETPAGEW last{};
  last.dwSize = sizeof last;
  last.dwFlags = PSP_DLGINDIRECT;
  last.pResource = layout.Get();
  last.pfnDlgProc = &LastPage;
  std::vector<HPROPSHEETPAGE> all = pages;
  HPROPSHEETPAGE lastPage = CreatePropertySheetPageW(&last);
  if (lastPage == nullptr) throw platform::Exception("Cannot create the wizard's last page");
  all.push_back(lastPage);

  PROPSHEETHEADERW header{};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_WIZARD;
  header.pszCaption = kHostWizardCaption;
  header.nPages = static_cast<UINT>(all.size());
  header.phpage = all.data();
  const INT_PTR result = PropertySheetW(&header);
  if (result < 0) throw platform::Exception("Cannot show the setup wizard");
  return result > 0;
}

}  // namespace gwsync
