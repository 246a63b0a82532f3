#include "comserver/module_state.h"

#include <atomic>

namespace comserver {
namespace {

HMODULE moduleHandle = nullptr;
std::atomic<long> liveObjects{0};
std::atomic<long> factoryLocks{0};

}  // namespace

void SetModuleHandle(HMODULE module) {
  moduleHandle = module;
}

HMODULE ModuleHandle() {
  return moduleHandle;
}

bool CanUnloadModule() {
  return liveObjects.load() == 0 && factoryLocks.load() == 0;
}

void LockModule() {
  ++factoryLocks;
}

void UnlockModule() {
  // A client that unlocks more often than it locked must not keep the module loaded forever.
  long locks = factoryLocks.load();
  while (locks > 0 && !factoryLocks.compare_exchange_weak(locks, locks - 1)) {
  }
}

ObjectCountScope::ObjectCountScope() {
  ++liveObjects;
}

ObjectCountScope::~ObjectCountScope() {
  --liveObjects;
}

}  // namespace comserver
