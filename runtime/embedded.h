// Files compiled into the program from assets/ (see assets/CMakeLists.txt).
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace quorin {

struct EmbeddedFile {
  std::string_view name;  // path below assets/, with '/' separators
  std::span<const unsigned char> bytes;
};

// Every embedded file, sorted by name. Defined by the generated asset table.
std::span<const EmbeddedFile> EmbeddedFiles();

// The file of that name, or null when the build embedded none.
inline const EmbeddedFile* FindEmbeddedFile(std::string_view name) {
  for (const EmbeddedFile& file : EmbeddedFiles()) {
    if (file.name == name) return &file;
  }
  return nullptr;
}

}  // namespace quorin
