#include "tests/setupcom/setupwizard_allocations.h"

#include <atomic>

namespace setup::com::test {

// The allocator calls its spy around each operation, on whichever thread allocates: the size
// asked for arrives before the block, so it waits per thread.
class TaskAllocations::Spy final : public IMallocSpy {
 public:
  bool Alive(const void* address) const {
    const std::lock_guard lock(mutex_);
    const auto* byte = static_cast<const std::byte*>(address);
    auto block = blocks_.upper_bound(byte);
    if (block == blocks_.begin()) return false;
    --block;
    return byte < block->first + block->second;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IMallocSpy) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IMallocSpy*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override {
    const std::lock_guard lock(mutex_);
    pending_[GetCurrentThreadId()] = size;
    return size;
  }
  void* STDMETHODCALLTYPE PostAlloc(void* block) override {
    const std::lock_guard lock(mutex_);
    const SIZE_T size = pending_[GetCurrentThreadId()];
    if (block != nullptr) blocks_[static_cast<const std::byte*>(block)] = size;
    return block;
  }
  void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override {
    const std::lock_guard lock(mutex_);
    blocks_.erase(static_cast<const std::byte*>(block));
    return block;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** passOn, BOOL) override {
    const std::lock_guard lock(mutex_);
    blocks_.erase(static_cast<const std::byte*>(block));
    pending_[GetCurrentThreadId()] = size;
    *passOn = block;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return PostAlloc(block); }
  void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  ~Spy() = default;

  std::atomic<ULONG> references_{1};
  mutable std::mutex mutex_;
  std::map<DWORD, SIZE_T> pending_;
  std::map<const std::byte*, SIZE_T> blocks_;
};

TaskAllocations::TaskAllocations() : spy_(platform::win32::ComPtr<Spy>::Attach(new Spy)) {
  registered_ = SUCCEEDED(CoRegisterMallocSpy(spy_.Get()));
}

TaskAllocations::~TaskAllocations() {
  // Blocks allocated while watching may outlive this object; the allocator then lets the spy
  // go once the last of them is freed, and the reference it holds keeps the spy alive till then.
  if (registered_) CoRevokeMallocSpy();
}

bool TaskAllocations::Alive(const void* address) const {
  return spy_->Alive(address);
}

}  // namespace setup::com::test
