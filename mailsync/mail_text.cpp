#include "mailsync/mail_text.h"

#include "framework/text_util.h"

namespace mailsync {
namespace {

bool EndsAddressPart(char c, char bracket) {
  return c == ' ' || c == bracket;
}

}  // namespace

std::string ExtractEmailAddress(std::string_view text) {
  const std::size_t at = text.find('@');
  if (at == std::string_view::npos || at == 0 || at + 1 == text.size()) return std::string(text);
  std::size_t start = at;
  while (start > 0 && !EndsAddressPart(text[start - 1], '<'))
    --start;
  std::size_t end = at + 1;
  while (end < text.size() && !EndsAddressPart(text[end], '>'))
    ++end;
  return framework::FormatText("%s@%s",
                               {text.substr(start, at - start), text.substr(at + 1, end - at - 1)});
}

std::string SanitizeSubject(std::string_view subject) {
  std::string out;
  out.reserve(subject.size());
  for (const char c : subject) {
    switch (c) {
      case '"':
      case '\'':
      case ':':
        break;
      case '*':
        out += '^';
        break;
      case '.':
      case '|':
      case '?':
      case '\\':
      case '/':
      case '<':
      case '>':
        out += '_';
        break;
      default:
        out += static_cast<unsigned char>(c) < 0x20 ? '_' : c;
    }
  }
  const std::size_t first = out.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

std::string ExtensionOf(std::string_view fileName) {
  const std::size_t dot = fileName.rfind('.');
  return dot == std::string_view::npos ? std::string() : std::string(fileName.substr(dot));
}

std::string FileNamePart(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\/");
  return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::u16string FileNamePart(std::u16string_view path) {
  const std::size_t separator = path.find_last_of(u"\\/");
  return std::u16string(separator == std::u16string_view::npos ? path : path.substr(separator + 1));
}

bool HasExtension(const std::vector<std::string>& extensions, std::string_view extension) {
  for (const std::string& listed : extensions) {
    if (framework::SameTextIgnoringCase(listed, extension)) return true;
  }
  return false;
}

std::vector<std::string> ParseCommaText(std::string_view text) {
  std::vector<std::string> items;
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
      ++i;
  };
  skipBlanks();
  while (i < text.size()) {
    std::string item;
    if (text[i] == '"') {
      for (++i; i < text.size(); ++i) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            item += '"';
            ++i;
          } else {
            ++i;
            break;
          }
        } else {
          item += text[i];
        }
      }
    } else {
      while (i < text.size() && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ')
        item += text[i++];
    }
    items.push_back(std::move(item));
    skipBlanks();
    if (i < text.size() && text[i] == ',') {
      ++i;
      skipBlanks();
      if (i == text.size()) items.emplace_back();  // a trailing comma ends an empty item
    }
  }
  return items;
}

}  // namespace mailsync
