// The preference store on any bytes: parse, every typed read the game makes,
// writes, and the text written back, which must read back to the same entries.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/prefs.h"
#include "app/settings.h"
#include "runtime/text.h"

namespace {

bool SameEntries(const std::vector<quorin::PrefsEntry>& a, const std::vector<quorin::PrefsEntry>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (a[k].kind != b[k].kind || a[k].key != b[k].key || a[k].value != b[k].value) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorin;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PrefsStore store;
  store.mode = PrefsStore::Mode::ReadWrite;
  store.entries = PrefsParse(bytes, &store.utf8);

  for (const EngineKey& k : EngineKeys()) {
    if (k.floatField) {
      const float f = PrefsReadFloat(store, k.key, k.fallback);
      if (std::isnan(f)) std::abort();  // no text reads as NaN
    } else {
      PrefsReadInt(store, k.key, static_cast<std::int32_t>(k.fallback));
    }
  }
  for (std::string_view key : {"AudioVolume", "Windowed", "Smoothing", "HiScore", "MaxBounce"}) {
    const Text value = PrefsReadText(store, key, "0");
    TextToInt(value);
    PrefsWriteText(store, key, IntToText(TextToInt(value)));
  }

  // What is written reads back as the same entries. The one exception is a
  // local-code-page file whose first key begins with the bytes of the UTF-8
  // mark: written first, they read back as the mark.
  const std::string text = PrefsFormat(store.entries, store.utf8);
  if (!store.utf8 && text.starts_with("\xEF\xBB\xBF")) return 0;
  bool utf8 = false;
  const std::vector<PrefsEntry> again = PrefsParse(text, &utf8);
  if (utf8 != store.utf8) std::abort();
  const std::vector<PrefsEntry>& expected = store.entries;
  if (!SameEntries(again, expected)) std::abort();
  return 0;
}
