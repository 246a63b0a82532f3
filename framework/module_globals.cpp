#include "framework/module_globals.h"

#include <memory>
#include <optional>

#include "framework/text_util.h"

namespace framework {
namespace {

// The module's two libraries, owned here from start-up to shutdown.
std::unique_ptr<platform::ResourceLibrary> frameworkLibrary;
std::unique_ptr<platform::ResourceLibrary> moduleLibrary;

// Strings are read into a buffer of this many characters, terminator included.
constexpr std::size_t kStringBuffer = 2048;

std::size_t FileNameStart(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/:");
  return separator == std::string_view::npos ? 0 : separator + 1;
}

std::string LoadFrom(platform::ResourceLibrary* library, int id) {
  if (!library) return {};
  std::string text = library->LoadString(id).value_or(std::string());
  if (text.size() >= kStringBuffer) text.resize(kStringBuffer - 1);
  return text;
}

// The text of the announcement when the module library cannot be had; nothing when it loaded.
std::optional<std::string> TryLoadModuleLibrary(platform::Environment& env,
                                                platform::ResourceLoader& loader) {
  std::string modulePath;
  try {
    modulePath = env.ModulePath();
  } catch (const std::exception& failure) {
    return std::string(failure.what());  // "GetModuleFilename() returned 0." when it is not known
  }
  const std::string path = ModuleLibraryPath(modulePath);
  if (!loader.LibraryExists(path)) {
    return FormatText("DLR library module [%s] does not exist.", {path});
  }
  try {
    moduleLibrary = loader.Load(path);
    if (moduleLibrary) return std::nullopt;
    return FormatText("DLR library module [%s] could not be loaded.", {path});
  } catch (const std::exception& failure) {
    return FormatText("DLR library module [%s] could not be loaded: %s", {path, failure.what()});
  }
}

void LoadModuleLibrary(platform::Environment& env, platform::ResourceLoader& loader,
                       platform::UserInterface& ui) {
  const std::optional<std::string> failure = TryLoadModuleLibrary(env, loader);
  if (!failure) return;
  ui.Beep(platform::mb::kIconExclamation);
  ui.MessageBox(0, *failure, "FWRES Exception in LoadDLR", platform::mb::kSetForeground);
}

}  // namespace

std::string PIMName;

std::string ModuleFolder(std::string_view modulePath) {
  return std::string(modulePath.substr(0, FileNameStart(modulePath)));
}

std::string ModuleLibraryPath(std::string_view modulePath) {
  const std::string_view trimmed = TrimControl(modulePath);
  const std::size_t nameStart = FileNameStart(trimmed);
  const std::string_view folder = trimmed.substr(0, nameStart);
  std::string name(trimmed.substr(nameStart));
  if (StartsWithIgnoringCase(name, "UTL")) name.erase(0, 3);
  const std::size_t dot = name.rfind('.');
  // Every occurrence of the extension's text, as the name has always been formed.
  if (dot != std::string::npos) name = ReplaceAll(name, name.substr(dot), ".DLR");
  return std::string(folder) + name;
}

void LoadModuleResources(platform::Environment& env, platform::ResourceLoader& loader,
                         platform::UserInterface& ui) {
  FreeModuleResources();
  try {
    const std::string modulePath = env.ModulePath();
    const std::string path = ModuleFolder(modulePath) + std::string(kFrameworkLibraryName);
    if (loader.LibraryExists(path)) frameworkLibrary = loader.Load(path);
  } catch (const std::exception&) {
    // Without the module's path there is no framework library; the module library's
    // announcement below says why.
  }
  LoadModuleLibrary(env, loader, ui);
}

void FreeModuleResources() {
  moduleLibrary.reset();
  frameworkLibrary.reset();
  PIMName.clear();
}

std::string LoadFrameworkString(int id) {
  return LoadFrom(frameworkLibrary.get(), id);
}

std::string LoadModuleString(int id) {
  return LoadFrom(moduleLibrary.get(), id);
}

bool ModuleHasBitmap(int id) {
  return moduleLibrary && moduleLibrary->HasBitmap(id);
}

}  // namespace framework
