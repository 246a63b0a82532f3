// The portable registry: what tests and tools rely on it to do like the real one.

#include <gtest/gtest.h>

#include "platform/portable/memory_registry.h"

namespace platform {
namespace {

TEST(MemoryRegistry, MatchesKeysAndValuesWithoutRegardToCase) {
  MemoryRegistry registry;
  registry.SetString(RegistryRoot::kCurrentUser, "Software\\Vendor", "Name", "x");
  auto key = registry.OpenKey(RegistryRoot::kCurrentUser, "SOFTWARE\\vendor\\",
                              registry_access::kRead, false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->ReadString("NAME"), "x");
  EXPECT_EQ(key->ReadDword("Name"), std::nullopt);  // a value of another type is not read
  EXPECT_EQ(registry.OpenKey(RegistryRoot::kLocalMachine, "Software\\Vendor",
                             registry_access::kRead, false),
            nullptr);
}

TEST(MemoryRegistry, CreatingAKeyCreatesItsParents) {
  MemoryRegistry registry;
  ASSERT_NE(
      registry.OpenKey(RegistryRoot::kCurrentUser, "A\\B\\C", registry_access::kAllAccess, true),
      nullptr);
  EXPECT_NE(registry.Find(RegistryRoot::kCurrentUser, "A"), nullptr);
  EXPECT_NE(registry.Find(RegistryRoot::kCurrentUser, "A\\B"), nullptr);
}

TEST(MemoryRegistry, DeletingAKeyTreeTakesOnlyThatTree) {
  MemoryRegistry registry;
  registry.SetDword(RegistryRoot::kClassesRoot, "CLSID\\{X}\\InprocServer32", "n", 1);
  registry.SetDword(RegistryRoot::kClassesRoot, "CLSID\\{X}2", "n", 2);
  EXPECT_TRUE(registry.DeleteKeyTree(RegistryRoot::kClassesRoot, "CLSID\\{X}"));
  EXPECT_EQ(registry.Find(RegistryRoot::kClassesRoot, "CLSID\\{X}\\InprocServer32"), nullptr);
  EXPECT_EQ(registry.Find(RegistryRoot::kClassesRoot, "CLSID\\{X}"), nullptr);
  EXPECT_NE(registry.Find(RegistryRoot::kClassesRoot, "CLSID\\{X}2"), nullptr);
  EXPECT_FALSE(registry.DeleteKeyTree(RegistryRoot::kClassesRoot, "CLSID\\{X}"));
}

TEST(MemoryRegistry, KeysOpenedForReadingRefuseWrites) {
  MemoryRegistry registry;
  registry.SetString(RegistryRoot::kCurrentUser, "K", "v", "old");
  auto readOnly = registry.OpenKey(RegistryRoot::kCurrentUser, "K", registry_access::kRead, false);
  EXPECT_THROW(readOnly->WriteString("v", "new"), RegistryError);
  EXPECT_THROW(readOnly->DeleteValue("v"), RegistryError);
  EXPECT_EQ(readOnly->ReadString("v"), "old");
  const int before = registry.changes;
  auto writable = registry.OpenKey(RegistryRoot::kCurrentUser, "K", registry_access::kWrite, false);
  writable->WriteString("v", "new");
  EXPECT_GT(registry.changes, before);
  EXPECT_EQ(readOnly->ReadString("v"), "new");
}

TEST(MemoryRegistry, AddKeyTakesAFullPathWithItsRoot) {
  MemoryRegistry registry;
  registry.AddKey("HKEY_LOCAL_MACHINE\\SOFTWARE\\X");
  EXPECT_NE(registry.Find(RegistryRoot::kLocalMachine, "SOFTWARE\\X"), nullptr);
  EXPECT_THROW(registry.AddKey("HKEY_NOWHERE\\X"), RegistryError);
}

}  // namespace
}  // namespace platform
