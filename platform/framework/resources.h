#pragma once
// The program's resource table: named blobs compiled into the executable by
// the build (morvane_resources in CMake). Loaders look here first, then on disk.
#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "platform/framework/ansi_string.h"
#include "platform/framework/streams.h"

struct MorvaneResourceEntry {
  const char* type;
  const char* name;
  const unsigned char* data;
  std::size_t size;
};

// The resource of this type and name (both compared without regard to case),
// or nothing when the program holds none.
std::optional<std::span<const unsigned char>> FindResource(std::string_view type, std::string_view name);

// A file name with either separator, as this platform opens it.
AnsiString NativePath(const AnsiString& fileName);

// The resource of this type named fileName as a memory stream, else the file
// opened for reading with writers denied; nullptr when neither opens.
std::unique_ptr<TStream> OpenResourceOrFile(std::string_view type, const AnsiString& fileName);
