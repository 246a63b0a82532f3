#pragma once

// Owners of the system resources the backend touches: BSTRs, VARIANTs, EXCEPINFO strings,
// SAFEARRAYs and their locked data, HGLOBALs, registry keys, loaded modules and the COM
// apartment. SysFreeString, VariantClear, SafeArrayDestroy, GlobalFree, RegCloseKey,
// FreeLibrary and CoUninitialize appear nowhere else.

#include <oaidl.h>
#include <oleauto.h>
#include "platform/win32/windows_api.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace platform::win32 {

// The text of a BSTR the caller does not own; a null BSTR is the empty text.
std::u16string BstrText(BSTR bstr);

class UniqueBstr {
 public:
  UniqueBstr() = default;
  explicit UniqueBstr(BSTR owned) : bstr_(owned) {}
  UniqueBstr(UniqueBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& other) noexcept;
  ~UniqueBstr() { Reset(); }

  // Copies the text, embedded NULs included. Throws std::bad_alloc when out of memory.
  static UniqueBstr FromText(std::u16string_view text);

  BSTR Get() const { return bstr_; }
  BSTR Detach() { return std::exchange(bstr_, nullptr); }
  void Reset();
  BSTR* Put() {
    Reset();
    return &bstr_;
  }

 private:
  BSTR bstr_ = nullptr;
};

// A VARIANT that clears itself. It is a VARIANT, so an array of them can be handed to the
// system as an array of VARIANTARG.
class UniqueVariant : public VARIANT {
 public:
  UniqueVariant() { VariantInit(this); }
  UniqueVariant(UniqueVariant&& other) noexcept;
  UniqueVariant& operator=(UniqueVariant&& other) noexcept;
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;
  ~UniqueVariant() { Clear(); }

  void Clear();
  // Hands the value to the caller, who then owns it; this one becomes VT_EMPTY.
  VARIANT Detach();
  // Replaces the value in destination, releasing what was there; this one becomes VT_EMPTY.
  void MoveTo(VARIANT& destination);
  // A deep copy of source, following VT_BYREF to the value it refers to.
  HRESULT CopyByValue(const VARIANT& source);
};
static_assert(sizeof(UniqueVariant) == sizeof(VARIANT));

// An EXCEPINFO whose strings are freed with it.
class ExcepInfo : public EXCEPINFO {
 public:
  ExcepInfo() : EXCEPINFO{} {}
  ExcepInfo(const ExcepInfo&) = delete;
  ExcepInfo& operator=(const ExcepInfo&) = delete;
  ~ExcepInfo();
  // A callee may leave the strings to be filled on demand; this fills them in if so.
  void FillIn();
};

class UniqueSafeArray {
 public:
  UniqueSafeArray() = default;
  explicit UniqueSafeArray(SAFEARRAY* owned) : array_(owned) {}
  UniqueSafeArray(UniqueSafeArray&& other) noexcept
      : array_(std::exchange(other.array_, nullptr)) {}
  UniqueSafeArray& operator=(UniqueSafeArray&& other) noexcept;
  ~UniqueSafeArray() { Reset(); }

  SAFEARRAY* Get() const { return array_; }
  SAFEARRAY* Detach() { return std::exchange(array_, nullptr); }
  void Reset();

 private:
  SAFEARRAY* array_ = nullptr;
};

// Locks a one-dimensional array's elements. Throws platform::Exception when the array has
// another number of dimensions or cannot be locked.
void LockSafeArray(SAFEARRAY* array, void** data, std::size_t* count);

// The locked elements of a one-dimensional SAFEARRAY; unlocked when it goes out of scope.
template <typename Element>
class SafeArrayData {
 public:
  explicit SafeArrayData(SAFEARRAY* array) : array_(array) {
    LockSafeArray(array, &data_, &count_);
  }
  SafeArrayData(const SafeArrayData&) = delete;
  SafeArrayData& operator=(const SafeArrayData&) = delete;
  ~SafeArrayData() { SafeArrayUnaccessData(array_); }

  std::span<Element> Elements() const { return {static_cast<Element*>(data_), count_}; }

 private:
  SAFEARRAY* array_;
  void* data_ = nullptr;
  std::size_t count_ = 0;
};

class UniqueHGlobal {
 public:
  UniqueHGlobal() = default;
  explicit UniqueHGlobal(HGLOBAL owned) : global_(owned) {}
  UniqueHGlobal(UniqueHGlobal&& other) noexcept : global_(std::exchange(other.global_, nullptr)) {}
  UniqueHGlobal& operator=(UniqueHGlobal&& other) noexcept;
  ~UniqueHGlobal() { Reset(); }

  HGLOBAL Get() const { return global_; }
  HGLOBAL Detach() { return std::exchange(global_, nullptr); }
  void Reset();

 private:
  HGLOBAL global_ = nullptr;
};

// GlobalLock for the lifetime of the object. Throws platform::Exception when the lock fails.
class GlobalLockScope {
 public:
  explicit GlobalLockScope(HGLOBAL global);
  GlobalLockScope(const GlobalLockScope&) = delete;
  GlobalLockScope& operator=(const GlobalLockScope&) = delete;
  ~GlobalLockScope() { GlobalUnlock(global_); }

  std::span<std::byte> Bytes() const { return {static_cast<std::byte*>(data_), size_}; }

 private:
  HGLOBAL global_;
  void* data_;
  std::size_t size_;
};

// A handle released by one function of the system. Handles the system owns (the predefined
// registry roots, a module's own handle) are never given to one.
template <typename Handle, auto Close>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle owned) : handle_(owned) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.Detach();
    }
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  Handle Detach() { return std::exchange(handle_, nullptr); }
  void Reset() {
    if (Handle old = std::exchange(handle_, nullptr)) Close(old);
  }
  // For a function that stores a new handle through Handle*; the old one is released first.
  Handle* Put() {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = nullptr;
};

using UniqueHKey = UniqueHandle<HKEY, &RegCloseKey>;
using UniqueModule = UniqueHandle<HMODULE, &FreeLibrary>;

// Enters a single-threaded apartment for the lifetime of the object, for programs (tests, the
// command-line host) that own their thread. Plug-ins run in their host's apartment instead.
class ComApartment {
 public:
  ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

 private:
  bool entered_ = false;
};

}  // namespace platform::win32
