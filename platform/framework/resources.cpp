#include "platform/framework/resources.h"

#include <cctype>

#include "platform/framework/exception.h"

// Defined by the generated resource source of a program that has resources.
extern "C" const MorvaneResourceEntry* morvane_resource_table(std::size_t* count) __attribute__((weak));

namespace {

bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::optional<std::span<const unsigned char>> FindResource(std::string_view type, std::string_view name) {
  if (!morvane_resource_table) return std::nullopt;
  std::size_t count = 0;
  const MorvaneResourceEntry* table = morvane_resource_table(&count);
  for (std::size_t i = 0; i < count; ++i) {
    if (sameText(table[i].type, type) && sameText(table[i].name, name)) {
      return std::span<const unsigned char>(table[i].data, table[i].size);
    }
  }
  return std::nullopt;
}

AnsiString NativePath(const AnsiString& fileName) {
  AnsiString path = fileName;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::unique_ptr<TStream> OpenResourceOrFile(std::string_view type, const AnsiString& fileName) {
  if (const auto blob = FindResource(type, fileName)) {
    return std::make_unique<TMemoryStream>(blob->data(), blob->size());
  }
  try {
    return std::make_unique<TFileStream>(NativePath(fileName), fmOpenRead | fmShareDenyWrite);
  } catch (const EFOpenError&) {
    return nullptr;
  }
}
