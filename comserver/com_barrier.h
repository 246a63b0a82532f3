#pragma once

// Where C++ exceptions stop on their way out of the module. Every COM method and export runs
// its body through Barrier exactly once; nothing else in the module catches everything.

#include "platform/win32/windows_api.h"

#include <exception>
#include <new>

namespace comserver {

// Runs body and returns its result. An exception becomes onFailure(hr, text): E_OUTOFMEMORY
// for an allocation failure, E_FAIL with the message for any other std::exception, and
// E_UNEXPECTED for anything else. onFailure must not throw.
template <typename Body, typename OnFailure>
auto Barrier(Body&& body, OnFailure&& onFailure) noexcept -> decltype(body()) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return onFailure(E_OUTOFMEMORY, "Out of memory");
  } catch (const std::exception& failure) {
    return onFailure(E_FAIL, failure.what());
  } catch (...) {
    return onFailure(E_UNEXPECTED, "Unknown exception");
  }
}

// For entry points whose failure is just the HRESULT.
template <typename Body>
HRESULT HResultBarrier(Body&& body) noexcept {
  return Barrier(body, [](HRESULT hr, const char*) { return hr; });
}

}  // namespace comserver
