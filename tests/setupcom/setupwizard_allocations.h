#pragma once

// Which blocks of COM's task allocator are alive, seen through a malloc spy
// (CoRegisterMallocSpy): SafeArrayCreate takes its descriptor and elements from that allocator,
// so a test can tell whether an array a component handed out has been destroyed without
// touching the array.

#include <objidl.h>
#include "platform/win32/windows_api.h"

#include <cstddef>
#include <map>
#include <mutex>

#include "platform/win32/com_ptr.h"

namespace setup::com::test {

class TaskAllocations {
 public:
  // Watches every allocation from now on, until this object goes.
  TaskAllocations();
  ~TaskAllocations();
  TaskAllocations(const TaskAllocations&) = delete;
  TaskAllocations& operator=(const TaskAllocations&) = delete;

  bool Watching() const { return registered_; }
  // Whether `address` lies in a block allocated while watching and not freed since.
  bool Alive(const void* address) const;

 private:
  class Spy;
  platform::win32::ComPtr<Spy> spy_;
  bool registered_ = false;
};

}  // namespace setup::com::test
