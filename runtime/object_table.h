// Runtime objects (sprites, quads, images, windows) addressed by small
// integers the game chooses. The table grows when a larger identifier is
// used; creating under identifier -1 puts the object outside the table and
// hands out a handle (-2, -3, ...) that then serves as its identifier.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace quorin {

// The table refuses larger identifiers rather than allocating millions of slots.
constexpr std::int32_t kMaxObjectId = 1 << 20;
constexpr std::int32_t kAllocateHandle = -1;

template <class T>
class ObjectTable {
 public:
  explicit ObjectTable(std::int32_t growStep = 1) : growStep_(growStep < 1 ? 1 : growStep) {}

  T* Find(std::int32_t id) const {
    if (id >= 0) {
      return static_cast<std::size_t>(id) < slots_.size() ? slots_[static_cast<std::size_t>(id)].get()
                                                          : nullptr;
    }
    const auto it = handles_.find(id);
    return it == handles_.end() ? nullptr : it->second.get();
  }

  // Stores object under id (replacing and destroying an old one), or under a
  // new handle for kAllocateHandle. Returns the identifier used; nothing is
  // stored when the identifier is not usable.
  std::optional<std::int32_t> Put(std::int32_t id, std::unique_ptr<T> object) {
    if (id == kAllocateHandle) {
      if (nextHandle_ == INT32_MIN) return std::nullopt;
      const std::int32_t handle = nextHandle_--;
      handles_[handle] = std::move(object);
      return handle;
    }
    if (id < 0) {
      const auto it = handles_.find(id);
      if (it == handles_.end()) return std::nullopt;
      it->second = std::move(object);
      return id;
    }
    if (id >= kMaxObjectId) return std::nullopt;
    if (static_cast<std::size_t>(id) >= slots_.size()) {
      const std::size_t step = static_cast<std::size_t>(growStep_);
      slots_.resize((static_cast<std::size_t>(id) / step + 1) * step);
    }
    slots_[static_cast<std::size_t>(id)] = std::move(object);
    return id;
  }

  // Destroys the object under id; handles are released.
  void Remove(std::int32_t id) {
    if (id >= 0) {
      if (static_cast<std::size_t>(id) < slots_.size()) slots_[static_cast<std::size_t>(id)].reset();
    } else {
      handles_.erase(id);
    }
  }

  void Clear() {
    slots_.clear();
    handles_.clear();
  }

  std::size_t Capacity() const { return slots_.size(); }

  // f(id, object) for every stored object, identifiers ascending then handles.
  template <class F>
  void ForEach(F&& f) const {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      if (slots_[i]) f(static_cast<std::int32_t>(i), *slots_[i]);
    }
    for (const auto& [handle, object] : handles_) f(handle, *object);
  }

 private:
  std::int32_t growStep_;
  std::vector<std::unique_ptr<T>> slots_;
  std::map<std::int32_t, std::unique_ptr<T>> handles_;
  std::int32_t nextHandle_ = -2;
};

}  // namespace quorin
