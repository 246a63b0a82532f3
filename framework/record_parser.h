#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "framework/versit_property.h"

namespace framework {

// Cuts a record text from the host into property texts and parses each into a new property.
// Returns the failure's message, if any; the properties parsed before a failure remain, except
// that a record whose binary value announces more bytes than it holds yields no property.
std::optional<std::string> ParseRecord(std::string_view text, TvProperties& properties);

// The position in `text` of the CR LF that ends the logical line starting at its front. A CR
// LF right after "=0A=" belongs to a value that goes on, so the search passes over it.
std::size_t FindLineEnd(std::string_view text);

}  // namespace framework
