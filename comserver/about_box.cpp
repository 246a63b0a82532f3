#include "comserver/about_box.h"

#include <cstdio>
#include <vector>

#include "comserver/about_dialog.h"
#include "comserver/com_barrier.h"
#include "comserver/module_resources.h"
#include "framework/module_globals.h"
#include "platform/exception.h"
#include "platform/win32/ole_owners.h"
#include "platform/win32/system_message.h"
#include "platform/win32/win32_environment.h"

namespace comserver {
namespace {

using UniqueBitmap = platform::win32::UniqueHandle<HBITMAP, &DeleteObject>;

constexpr char kProductTitle[] = "Pairmate Z380 - Novell GroupWise Edition";
constexpr char kFailureCaption[] = "Frameworks AboutBox Exception";

std::string ModulePath(HMODULE module) {
  return platform::win32::Win32Environment(module).ModulePath();
}

// The FileVersion item of the module's version resource, in its first translation.
std::string FileVersion(HMODULE module) {
  const std::string path = ModulePath(module);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return {};
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translations = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &length) ||
      length < sizeof(Translation)) {
    return {};
  }
  char query[64];
  std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\FileVersion",
                translations->language, translations->codePage);
  char* text = nullptr;
  if (!VerQueryValueA(data.data(), query, reinterpret_cast<void**>(&text), &length) ||
      length == 0) {
    return {};
  }
  return std::string(text);
}

// The picture comes from the module's .DLR library. The framework holds that library for its
// strings but hands out no bitmaps, so the file is mapped again here for as long as the
// bitmap is being made; whether the module has the picture at all is the framework's answer.
UniqueBitmap LoadPicture(HMODULE module, int id) {
  const std::string libraryPath = framework::ModuleLibraryPath(ModulePath(module));
  if (!framework::ModuleHasBitmap(id)) {
    throw platform::Exception("Bitmap resource " + std::to_string(id) + " not found in [" +
                              libraryPath + "].");
  }
  platform::win32::UniqueModule library(
      LoadLibraryExA(libraryPath.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  UniqueBitmap picture;
  if (library) {
    picture = UniqueBitmap(static_cast<HBITMAP>(
        LoadImageA(library.Get(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
  }
  if (!picture) {
    throw platform::Exception(
        "Cannot load bitmap resource " + std::to_string(id) + " from [" + libraryPath +
        "]: " + platform::win32::DescribeHResult(HRESULT_FROM_WIN32(GetLastError())));
  }
  return picture;
}

}  // namespace

AboutForm MakeAboutForm(std::string info, std::string_view fileVersion) {
  return AboutForm{
      .title = kProductTitle,
      .versionLine = "File version " +
                     (fileVersion.empty() ? std::string("unknown") : std::string(fileVersion)),
      .info = std::move(info),
  };
}

void ShowAboutBox(HMODULE module, const SynchronizerModule& identity) noexcept {
  Barrier(
      [&] {
        EnsureModuleResources();
        WaitCursor wait;
        const AboutForm form =
            MakeAboutForm(framework::LoadModuleString(identity.aboutTextId), FileVersion(module));
        const UniqueBitmap picture = LoadPicture(module, identity.aboutBitmapId);
        RunAboutDialog(module, form, picture.Get(), wait);
      },
      [](HRESULT, const char* text) {
        MessageBoxA(nullptr, text, kFailureCaption, MB_SETFOREGROUND);
      });
}

}  // namespace comserver
