#include "platform/portable/portable_environment.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>

#include "platform/exception.h"

namespace platform {

void PortableEnvironment::ShellOpen(const std::string& file, const std::string& directory) {
  shellOpens.push_back({file, directory});
  if (shellOpenFails) throw Exception("ShellExecute failed for " + file);
}

std::string PortableEnvironment::ModulePath() {
  if (modulePath.empty()) throw Exception("GetModuleFilename() returned 0.");
  return modulePath;
}

AutomationDate PortableEnvironment::Now() {
  if (fixedNow) return *fixedNow;
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
  std::tm local{};
#if defined(_WIN32)
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return EncodeAutomationDate(CivilDateTime{
      local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
      local.tm_sec > 59 ? 59 : local.tm_sec, static_cast<int>(ms.count())});
}

std::string PortableEnvironment::TempDirectory() {
  std::string folder =
      tempDirectory.empty() ? std::filesystem::temp_directory_path().string() : tempDirectory;
  if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') {
    folder += static_cast<char>(std::filesystem::path::preferred_separator);
  }
  return folder;
}

std::string PortableEnvironment::CreateTempFile(const std::string& prefix) {
  const std::string folder = TempDirectory();
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = folder + prefix + std::to_string(random() % 1000000) + ".tmp";
    if (std::filesystem::exists(path)) continue;
    std::ofstream file(path, std::ios::binary);
    if (file) return path;
  }
  throw Exception("Unable to create a temporary file in " + folder);
}

std::string PortableEnvironment::NewGuidText() {
  if (guidFails) throw Exception("No identifier could be made");
  if (!guidsToMake.empty()) {
    std::string next = std::move(guidsToMake.front());
    guidsToMake.erase(guidsToMake.begin());
    return next;
  }
  std::random_device random;
  std::array<uint8_t, 16> bytes;
  for (uint8_t& byte : bytes)
    byte = static_cast<uint8_t>(random());
  bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4: random
  bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);  // the standard variant
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 0x0F];
  }
  return text + "}";
}

std::string PortableEnvironment::FormatShortDate(AutomationDate date) {
  return IsoDateText(date);
}

std::string PortableEnvironment::FormatDateTime(AutomationDate date) {
  return IsoDateTimeText(date);
}

}  // namespace platform
