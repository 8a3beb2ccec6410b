#include "app/world_file.h"

#include <span>

#include "runtime/file_io.h"

namespace quorin {

std::string LoadWorldFile(const std::string& path, std::shared_ptr<const LayoutImage>& out) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return "cannot read " + path;
  auto layout = std::make_shared<LayoutImage>();
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  if (!DecodeLayout(std::span<const unsigned char>(data, bytes.size()), *layout)) {
    return path + " is not a PNG image";
  }
  if (std::string reason = CheckLayout(*layout); !reason.empty()) return path + ": " + reason;
  out = std::move(layout);
  return {};
}

}  // namespace quorin
