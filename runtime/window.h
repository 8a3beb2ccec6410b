// The window layer and small system helpers: the game's one window in
// windowed mode, its events, modal messages, the settings directory.
#pragma once

#include <cstdint>
#include <string_view>

#include "runtime/object_table.h"
#include "runtime/platform.h"

namespace quorin {

// Runtime bits of WindowOpen's flags; the rest are the system's style bits.
constexpr std::uint32_t kWindowCentred = 0x1;
constexpr std::uint32_t kWindowCentredOnParent = 0x2;
constexpr std::uint32_t kWindowTool = 0x4;
constexpr std::uint32_t kWindowPlain = 0x8;
constexpr std::uint32_t kWindowMaximised = 0x1000000;
constexpr std::uint32_t kWindowHidden = 0x10000000;
constexpr std::uint32_t kWindowMinimised = 0x20000000;
constexpr std::uint32_t kWindowStyleCaption = 0xC00000;
constexpr std::uint32_t kWindowStyleSizingBorder = 0x40000;
// Title bar, system menu, minimise box, centred: the game's window.
constexpr std::uint32_t kGameWindowFlags = 0xCA0001;
// x or y with this value and no centring: the system picks the place.
constexpr std::int32_t kWindowDefaultPosition = -65535;
constexpr std::size_t kMaxPathLength = 260;

struct WindowRecord {
  NativeWindow native = 0;
  std::uint32_t flags = 0;
};

struct WindowLayer {
  VideoDevice* device = nullptr;
  ObjectTable<WindowRecord> windows;
};

std::int32_t WindowSystemInit(WindowLayer& layer, VideoDevice& device);
// Client area exactly clientWidth x clientHeight. Replaces a window of the
// same id. The native window, or 0 on failure (and for negative ids).
NativeWindow WindowOpen(WindowLayer& layer, std::int32_t id, std::int32_t x, std::int32_t y,
                        std::int32_t clientWidth, std::int32_t clientHeight, std::string_view title,
                        std::uint32_t flags);
void WindowClose(WindowLayer& layer, std::int32_t id);
void WindowCloseAll(WindowLayer& layer);
NativeWindow WindowNativeHandle(const WindowLayer& layer, std::int32_t id);
// The main loop's minimise request: the native window (ScreenWindowHandle)
// goes to the task bar.
void WindowMinimise(WindowLayer& layer, NativeWindow window);
// Never waits: 0 when nothing is pending, 16 when the user asked to close a
// window (which stays open), else the code of the event just taken.
std::int32_t WindowPollEvent(WindowLayer& layer);
// The code of the button pressed (1 for OK).
std::int32_t MessageShow(WindowLayer& layer, std::string_view title, std::string_view text,
                         std::int32_t flags);
std::int32_t MessageShowPlain(WindowLayer& layer, std::string_view title, std::string_view text);
// Creates one directory (its parent must exist) from at most 260 characters of
// path, without trailing blanks and slashes. Nonzero when it was created.
std::int32_t DirectoryCreate(const char* path);

using SystemFunction = std::intptr_t (*)(std::intptr_t);
// The function's result; 0 for a null function.
std::intptr_t CallFunctionPointer(SystemFunction function, std::intptr_t argument);

}  // namespace quorin
