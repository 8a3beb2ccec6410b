#include "runtime/window.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "runtime/host.h"

namespace quorin {

namespace {

constexpr std::uint32_t kRuntimeBits = kWindowCentred | kWindowCentredOnParent | kWindowTool | kWindowPlain |
                                       kWindowMaximised | kWindowHidden | kWindowMinimised;

WindowSpec SpecFromFlags(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                         std::string_view title, std::uint32_t flags) {
  WindowSpec wanted;
  wanted.x = x;
  wanted.y = y;
  wanted.clientWidth = w;
  wanted.clientHeight = h;
  wanted.title = std::string(title);
  const std::uint32_t style = flags & ~kRuntimeBits;
  wanted.titleBar = style == 0 || (flags & kWindowTool) || (style & kWindowStyleCaption) == kWindowStyleCaption;
  wanted.resizable = (style & kWindowStyleSizingBorder) != 0;
  // Centring on a parent is centring on the display here: the game's window has no parent.
  wanted.centred = (flags & (kWindowCentred | kWindowCentredOnParent)) != 0;
  wanted.defaultPosition = !wanted.centred && (x == kWindowDefaultPosition || y == kWindowDefaultPosition);
  wanted.hidden = (flags & kWindowHidden) != 0;
  wanted.maximised = (flags & kWindowMaximised) != 0;
  wanted.minimised = (flags & kWindowMinimised) != 0;
  return wanted;
}

}  // namespace

std::int32_t WindowSystemInit(WindowLayer& layer, VideoDevice& device) {
  layer.device = &device;
  return 1;
}

NativeWindow WindowOpen(WindowLayer& layer, std::int32_t id, std::int32_t x, std::int32_t y,
                        std::int32_t clientWidth, std::int32_t clientHeight, std::string_view title,
                        std::uint32_t flags) {
  if (!layer.device || id < 0 || id >= kMaxObjectId) return 0;
  WindowClose(layer, id);
  if (clientWidth <= 0 || clientHeight <= 0) return 0;
  const NativeWindow native =
      layer.device->OpenWindow(SpecFromFlags(x, y, clientWidth, clientHeight, title, flags));
  if (native == 0) return 0;
  auto record = std::make_unique<WindowRecord>();
  record->native = native;
  record->flags = flags;
  if (!layer.windows.Put(id, std::move(record))) {
    layer.device->CloseWindow(native);
    return 0;
  }
  return native;
}

void WindowClose(WindowLayer& layer, std::int32_t id) {
  const WindowRecord* record = layer.windows.Find(id);
  if (!record) return;
  if (layer.device) layer.device->CloseWindow(record->native);
  layer.windows.Remove(id);
}

void WindowCloseAll(WindowLayer& layer) {
  if (layer.device) {
    layer.windows.ForEach(
        [&](std::int32_t, WindowRecord& record) { layer.device->CloseWindow(record.native); });
  }
  layer.windows.Clear();
}

NativeWindow WindowNativeHandle(const WindowLayer& layer, std::int32_t id) {
  const WindowRecord* record = layer.windows.Find(id);
  return record ? record->native : 0;
}

void WindowMinimise(WindowLayer& layer, NativeWindow window) {
  if (layer.device && window != 0) layer.device->MinimiseWindow(window);
}

std::int32_t WindowPollEvent(WindowLayer& layer) {
  return layer.device ? layer.device->PollWindowEvent() : kWindowEventNone;
}

std::int32_t MessageShow(WindowLayer& layer, std::string_view title, std::string_view text,
                         std::int32_t flags) {
  return layer.device ? layer.device->ShowMessage(title, text, flags) : 0;
}

std::int32_t MessageShowPlain(WindowLayer& layer, std::string_view title, std::string_view text) {
  return MessageShow(layer, title, text, 0);
}

std::int32_t DirectoryCreate(const char* path) {
  if (!path) return 0;
  std::string name(path, strnlen(path, kMaxPathLength));
  while (!name.empty() && (name.back() == ' ' || name.back() == '/' || name.back() == '\\')) name.pop_back();
  if (name.empty()) return 0;
  name = HostPathSpelling(std::move(name));
  std::error_code error;
  return std::filesystem::create_directory(PathFromUtf8(name), error) && !error ? 1 : 0;
}

std::intptr_t CallFunctionPointer(SystemFunction function, std::intptr_t argument) {
  return function ? function(argument) : 0;
}

}  // namespace quorin
