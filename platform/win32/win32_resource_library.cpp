#include "platform/win32/win32_resource_library.h"

#include "platform/win32/ole_owners.h"
#include "platform/win32/windows_api.h"

namespace platform::win32 {
namespace {

// Strings are read into a buffer of this many characters, terminator included, as the
// plug-ins have always read them; a longer string comes back cut to fit.
constexpr int kStringBuffer = 2048;
constexpr int kLargestResourceId = 0xFFFF;

// Missing or empty: a string table resource holds its strings in blocks of sixteen, each with
// its length, and a slot without a string has the length 0. The file format itself cannot tell
// an empty string from a missing one, and LoadStringA returns 0 for both. So the only question
// worth asking is whether the slot holds any text. FindResource of the block answers a coarser
// one (whether any of the sixteen ids has a string) and would make the neighbours of every
// string look present but empty; LoadStringW with a buffer size of 0 hands back a pointer into
// the resource and returns the slot's own length, which is the answer. The generator of our
// libraries (cmake/StringTableToRc.cmake) refuses empty strings, so the portable build, which
// could tell them apart, never meets one either.
bool HasStringText(HMODULE module, int id) {
  const wchar_t* text = nullptr;
  return LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0) > 0;
}

class Win32ResourceLibrary final : public ResourceLibrary {
 public:
  explicit Win32ResourceLibrary(UniqueModule module)
      : owned_(std::move(module)), module_(owned_.Get()) {}
  explicit Win32ResourceLibrary(HMODULE borrowed) : module_(borrowed) {}

  std::optional<std::string> LoadString(int id) override {
    // The system only looks at the low 16 bits: without this check 65538 would read string 2.
    if (id < 0 || id > kLargestResourceId || !HasStringText(module_, id)) {
      return std::nullopt;
    }
    char buffer[kStringBuffer];
    const int length = LoadStringA(module_, static_cast<UINT>(id), buffer, kStringBuffer);
    return std::string(buffer, length > 0 ? length : 0);
  }

  bool HasBitmap(int id) override {
    // MAKEINTRESOURCE of 0 is a null name, and of anything above 16 bits a pointer.
    if (id <= 0 || id > kLargestResourceId) return false;
    return FindResourceA(module_, MAKEINTRESOURCEA(id), RT_BITMAP) != nullptr;
  }

 private:
  UniqueModule owned_;  // empty for a module someone else loaded
  HMODULE module_;
};

}  // namespace

bool Win32ResourceLoader::LibraryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::unique_ptr<ResourceLibrary> Win32ResourceLoader::Load(const std::string& path) {
  UniqueModule module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!module) return nullptr;
  return std::make_unique<Win32ResourceLibrary>(std::move(module));
}

std::unique_ptr<ResourceLibrary> LoadedModuleResources(HMODULE module) {
  return std::make_unique<Win32ResourceLibrary>(module);
}

}  // namespace platform::win32
