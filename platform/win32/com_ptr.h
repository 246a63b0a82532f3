#pragma once

// An owning COM interface pointer: the one place in the backend that calls AddRef and Release.

#include <unknwn.h>
#include "platform/win32/windows_api.h"

#include <type_traits>
#include <utility>

namespace platform::win32 {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  ComPtr(const ComPtr& other) : pointer_(other.pointer_) { AddRefIfSet(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  // From a derived interface or implementation class to one of its bases.
  template <typename U>
  requires std::is_convertible_v<U*, T*> ComPtr(const ComPtr<U>& other) : pointer_(other.Get()) {
    AddRefIfSet();
  }
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Takes over a reference the caller already owns (a creation function's out parameter).
  static ComPtr Attach(T* owned) {
    ComPtr result;
    result.pointer_ = owned;
    return result;
  }
  // Adds a reference of its own to a borrowed pointer (an [in] parameter).
  static ComPtr Borrow(T* borrowed) {
    ComPtr result = Attach(borrowed);
    result.AddRefIfSet();
    return result;
  }

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // Hands the reference to the caller, for an [out] parameter or a return value.
  T* Detach() { return std::exchange(pointer_, nullptr); }
  void Reset() {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }
  // For a function that stores a new reference through T**; the old one is released first.
  T** Put() {
    Reset();
    return &pointer_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  // Null when the object does not implement U.
  template <typename U>
  ComPtr<U> TryQuery() const {
    ComPtr<U> result;
    if (pointer_) pointer_->QueryInterface(__uuidof(U), result.PutVoid());
    return result;
  }

  friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.pointer_ == b.pointer_; }

 private:
  void AddRefIfSet() {
    if (pointer_) pointer_->AddRef();
  }

  T* pointer_ = nullptr;
};

}  // namespace platform::win32
