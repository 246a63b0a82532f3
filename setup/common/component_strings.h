#pragma once

// The texts of a setup component's own string table (the STRINGTABLE of emailsetup.dll and its
// siblings; in the portable build the same table, see sim/host/setup_strings.h). Message boxes
// take 8-bit text in the ANSI code page; everything that reaches a block field or a Unicode
// control takes the wide form.

#include <initializer_list>
#include <string>

#include "platform/code_page.h"
#include "platform/resource_library.h"

namespace setup {

class ComponentStrings {
 public:
  // Both must outlive this object.
  ComponentStrings(platform::ResourceLibrary& library, const platform::CodePage& ansi)
      : library_(&library), ansi_(&ansi) {}

  // Empty when the table has no such string, as LoadString leaves its buffer.
  std::string Ansi(int id) const;
  std::u16string Text(int id) const;
  // Several strings one after the other, as the pages and messages join them.
  std::string AnsiJoined(std::initializer_list<int> ids) const;
  std::u16string TextJoined(std::initializer_list<int> ids) const;

 private:
  platform::ResourceLibrary* library_;
  const platform::CodePage* ansi_;
};

}  // namespace setup
