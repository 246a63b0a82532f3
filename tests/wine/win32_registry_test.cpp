// The registry backend against the real registry of the tests' Wine prefix. Each test works
// below a scratch key of its own in HKEY_CURRENT_USER, removed before and after it. Where the
// point is what other programs find in the registry, the test looks with the system's own
// functions rather than through the code under test.

#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <stdexcept>

#include "platform/code_page.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/win32_registry.h"
#include "tests/wine/wine_test_support.h"

namespace platform::win32::test {
namespace {

using namespace std::string_literals;
namespace access = registry_access;

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = std::string(kParent) + "\\" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    // A run that crashed may have left the key behind.
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_.c_str());
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, scratch_.c_str());
    // Only succeeds once the last test's key is gone, which is what we want.
    RegDeleteKeyA(HKEY_CURRENT_USER, kParent);
  }

  std::string Below(std::string_view path) const { return scratch_ + "\\" + std::string(path); }

  // The key, created with full access; raises (failing the test) when that is impossible.
  std::unique_ptr<RegistryKey> Create(const std::string& path) {
    auto key = registry_.OpenKey(RegistryRoot::kCurrentUser, path, access::kAllAccess, true);
    if (!key) throw std::runtime_error("cannot create " + path);
    return key;
  }

  static bool Exists(const std::string& path) {
    UniqueHKey key;
    return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
  }

  // Stores a value of any type the way another program would.
  void StoreRaw(const char* name, DWORD type, std::string_view bytes) {
    UniqueHKey key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, scratch_.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                              nullptr, key.Put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key.Get(), name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
  }

  // A value as another program reading Unicode finds it: its type and its stored bytes.
  struct Stored {
    DWORD type = REG_NONE;
    std::u16string wide;
  };
  Stored ReadWide(std::u16string_view name) {
    UniqueHKey key;
    Stored stored;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, scratch_.c_str(), 0, KEY_READ, key.Put()) != 0) {
      return stored;
    }
    const std::u16string valueName(name);
    DWORD size = 0;
    RegQueryValueExW(key.Get(), AsWide(valueName.c_str()), nullptr, &stored.type, nullptr, &size);
    stored.wide.resize(size / 2);
    RegQueryValueExW(key.Get(), AsWide(valueName.c_str()), nullptr, &stored.type,
                     reinterpret_cast<BYTE*>(stored.wide.data()), &size);
    stored.wide.resize(size / 2);
    return stored;
  }

  static constexpr const char* kParent = "Software\\GwsTest";
  Win32Registry registry_;
  std::string scratch_;
};

TEST_F(Win32RegistryTest, OpeningAMissingKeyWithoutCreateGivesNothingAndMakesNothing) {
  for (uint32_t mask : {access::kRead, access::kAllAccess}) {
    SCOPED_TRACE(mask);
    EXPECT_EQ(registry_.OpenKey(RegistryRoot::kCurrentUser, Below("missing\\deeper"), mask, false),
              nullptr);
    EXPECT_FALSE(Exists(scratch_));
  }
}

TEST_F(Win32RegistryTest, CreateMakesTheMissingParents) {
  const struct {
    const char* row;
    std::string path;
    std::string top;
  } cases[] = {
      {"plain path", Below("a\\b\\c"), Below("a")},
      {"separators at both ends", "\\" + Below("d\\e\\f") + "\\", Below("d")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    Create(c.path)->WriteDword("marker", 7);
    EXPECT_TRUE(Exists(c.top));
    // The same key, found again without create.
    auto found = registry_.OpenKey(RegistryRoot::kCurrentUser, c.path, access::kRead, false);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->ReadDword("marker"), 7u);
  }
}

TEST_F(Win32RegistryTest, AKeyOpenedForReadingRefusesEveryChangeWithTheSystemText) {
  auto writable = Create(scratch_);
  writable->WriteString("name", "before");
  writable->WriteDword("count", 1);
  const std::string denied = SystemMessage(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  for (bool create : {false, true}) {
    SCOPED_TRACE(create ? "opened with create" : "opened");
    auto readOnly = registry_.OpenKey(RegistryRoot::kCurrentUser, scratch_, access::kRead, create);
    ASSERT_TRUE(readOnly);
    EXPECT_EQ(readOnly->ReadString("name"), "before");
    const struct {
      const char* row;
      const char* valueName;
      std::function<void()> change;
    } cases[] = {
        {"WriteString", "name", [&] { readOnly->WriteString("name", "after"); }},
        {"WriteDword", "count", [&] { readOnly->WriteDword("count", 2); }},
        {"DeleteValue", "name", [&] { readOnly->DeleteValue("name"); }},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.row);
      try {
        c.change();
        ADD_FAILURE() << "the change went through";
      } catch (const RegistryError& error) {
        const std::string text = error.what();
        EXPECT_NE(text.find(denied), std::string::npos) << text;
        EXPECT_NE(text.find(c.valueName), std::string::npos) << text;
        EXPECT_NE(text.find(scratch_), std::string::npos) << text;
      }
    }
  }
  EXPECT_EQ(writable->ReadString("name"), "before");
  EXPECT_EQ(writable->ReadDword("count"), 1u);
}

TEST_F(Win32RegistryTest, StringsAreStoredAsAnsiTextOtherProgramsRead) {
  if (GetACP() != 1252) GTEST_SKIP() << "system code page is " << GetACP() << ", not 1252";
  const struct {
    const char* row;
    std::string name;
    std::string text;
  } cases[] = {
      {"plain", "Value", "GroupWise"},
      {"high ANSI bytes", "Accents", "caf\xe9 \x80 \x93quoted\x94 \xff"},
      {"high ANSI bytes in the name", "Na\xefve", "x"},
      {"empty text", "Empty", ""},
      {"default value", "", "the default"},
      {"longer than any fixed buffer", "Long", std::string(5000, 'x') + "end"},
  };
  auto key = Create(scratch_);
  for (const auto& c : cases)
    key->WriteString(c.name, c.text);
  auto reader = registry_.OpenKey(RegistryRoot::kCurrentUser, scratch_, access::kRead, false);
  ASSERT_TRUE(reader);
  const Windows1252 ansi;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    const std::optional<std::string> read = reader->ReadString(c.name);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(Escaped(*read), Escaped(c.text));
    // A Unicode reader finds the characters, not the bytes, and the terminator stored with them.
    const Stored stored = ReadWide(ansi.ToWide(c.name));
    EXPECT_EQ(stored.type, static_cast<DWORD>(REG_SZ));
    EXPECT_TRUE(stored.wide == ansi.ToWide(c.text) + u'\0');
  }
}

TEST_F(Win32RegistryTest, DwordsKeepEveryBit) {
  auto key = Create(scratch_);
  for (uint32_t value : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x12345678u}) {
    SCOPED_TRACE(value);
    key->WriteDword("Number", value);
    EXPECT_EQ(key->ReadDword("Number"), value);
    EXPECT_EQ(ReadWide(u"Number").type, static_cast<DWORD>(REG_DWORD));
  }
}

// Values other programs (or older versions) may have left, read the way the plug-ins read them.
TEST_F(Win32RegistryTest, ValuesAreReadOnlyAsTheirOwnType) {
  const struct {
    const char* name;
    DWORD type;
    std::string bytes;
    std::optional<std::string> text;
    std::optional<uint32_t> dword;
  } cases[] = {
      {"binary of a DWORD's size", REG_BINARY, "\x01\x02\x03\x04", {}, {}},
      {"dword", REG_DWORD, "\x01\x02\x03\x04", {}, 0x04030201u},
      {"string of a DWORD's size", REG_SZ, "123\0"s, "123", {}},
      {"string without terminator", REG_SZ, "abc", "abc", {}},
      {"string with two terminators", REG_SZ, "abc\0\0"s, "abc", {}},
      {"expandable string, unexpanded", REG_EXPAND_SZ, "%SystemRoot%\\x\0"s, "%SystemRoot%\\x", {}},
      {"multi-string", REG_MULTI_SZ, "a\0b\0\0"s, {}, {}},
      {"qword", REG_QWORD, "\x01\x02\x03\x04\x05\x06\x07\x08", {}, {}},
      {"big-endian dword", REG_DWORD_BIG_ENDIAN, "\x01\x02\x03\x04", {}, {}},
  };
  for (const auto& c : cases)
    StoreRaw(c.name, c.type, c.bytes);
  auto key = registry_.OpenKey(RegistryRoot::kCurrentUser, scratch_, access::kRead, false);
  ASSERT_TRUE(key);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(key->ReadString(c.name), c.text);
    EXPECT_EQ(key->ReadDword(c.name), c.dword);
  }
  EXPECT_EQ(key->ReadString("absent"), std::nullopt);
  EXPECT_EQ(key->ReadDword("absent"), std::nullopt);
}

TEST_F(Win32RegistryTest, DeleteValueSaysWhetherThereWasOne) {
  auto key = Create(scratch_);
  for (const char* name : {"named", ""}) {
    SCOPED_TRACE(name);
    key->WriteString(name, "x");
    EXPECT_TRUE(key->DeleteValue(name));
    EXPECT_EQ(ReadWide(Windows1252().ToWide(name)).type, static_cast<DWORD>(REG_NONE));
    EXPECT_FALSE(key->DeleteValue(name));
  }
}

TEST_F(Win32RegistryTest, DeleteKeyTreeRemovesTheKeyAndEverythingBelowIt) {
  // More subkeys than one pass of an enumeration that skips as it deletes would catch.
  for (int i = 0; i < 12; ++i) {
    // Appended, not "Tree\\child" + ...: gcc 12 at -O3 warns (-Wrestrict) about a literal put in
    // front of a string, falsely.
    const std::string path =
        std::string("Tree\\child").append(std::to_string(i)).append("\\grandchild");
    Create(Below(path))->WriteString("v", "x");
  }
  Create(Below("Tree"))->WriteDword("v", 1);
  // A sibling whose name starts like the tree's must stay.
  Create(Below("Tree2\\kept"));

  EXPECT_TRUE(registry_.DeleteKeyTree(RegistryRoot::kCurrentUser, Below("Tree")));
  EXPECT_FALSE(Exists(Below("Tree")));
  EXPECT_TRUE(Exists(Below("Tree2\\kept")));
  EXPECT_FALSE(registry_.DeleteKeyTree(RegistryRoot::kCurrentUser, Below("Tree")));
  EXPECT_FALSE(registry_.DeleteKeyTree(RegistryRoot::kCurrentUser, Below("never\\there")));
}

TEST_F(Win32RegistryTest, DeleteKeyTreeRefusesAWholeRoot) {
  Create(scratch_);
  for (const char* path : {"", "\\"}) {
    SCOPED_TRACE(path);
    EXPECT_THROW(registry_.DeleteKeyTree(RegistryRoot::kCurrentUser, path), RegistryError);
    EXPECT_TRUE(Exists(scratch_));
  }
}

// Users without administrator rights read the machine's settings with the read mask; the
// platform object hands out the same registry.
TEST(Win32PlatformRegistryTest, ReadsAKeyOfTheMachineWithTheReadMask) {
  Win32Platform platform;
  auto key = platform.Reg().OpenKey(RegistryRoot::kLocalMachine,
                                    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion",
                                    access::kRead, false);
  ASSERT_TRUE(key);
  const std::optional<std::string> version = key->ReadString("CurrentVersion");
  ASSERT_TRUE(version.has_value());
  EXPECT_TRUE(std::regex_match(*version, std::regex(R"(\d+\.\d+)"))) << *version;
}

}  // namespace
}  // namespace platform::win32::test
