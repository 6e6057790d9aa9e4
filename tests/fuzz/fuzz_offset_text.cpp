// Fuzzes the offset as text: the properties window's field (read, shown, range-checked), the
// decimal reading behind it, and the stored Offset text that loading and saving pass through.
// Any text must be read without fault; an accepted one is a number (never "not a number"); an
// offset in range must come back from its own field text; and a stored text, once loaded and
// saved, must load and save to the same text again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "clock/decimal_text.h"
#include "clock/memory_profile_store.h"
#include "clock/place_settings.h"
#include "ui/offset_text.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Two offsets agree to the 15 digits the field shows.
bool SameToFifteenDigits(double a, double b) {
  return FormatOffsetText(a) == FormatOffsetText(b);
}

void CheckFieldText(const std::string& text) {
  double value = -123.0;
  const bool accepted = ParseOffsetText(text, &value);
  if (!accepted) {
    Check(value == -123.0);
    return;
  }
  Check(!std::isnan(value));
  // The field reads what the stored text's reading reads, from the characters it looks at.
  const std::string head = text.substr(0, OFFSET_TEXT_MAX);
  const double decimal = DecimalToDouble(head.c_str());
  Check(decimal == value);
  Check(OffsetInRange(value) == (value >= -24.0 && value <= 24.0));
  if (!OffsetInRange(value)) return;

  // What the field shows for an accepted offset, it accepts again.
  const std::string shown = FormatOffsetText(value);
  Check(shown.size() <= OFFSET_TEXT_MAX);
  double again = -123.0;
  Check(ParseOffsetText(shown, &again));
  Check(OffsetInRange(again));
  Check(SameToFifteenDigits(value, again));
  Check(FormatOffsetText(again) == shown);
}

// Any bit pattern as an offset, as a refused entry or a hand edit could leave it in memory.
void CheckShownValue(double offset) {
  const std::string shown = FormatOffsetText(offset);
  Check(!shown.empty() && shown.size() < 64);
  if (!OffsetInRange(offset)) return;
  double again = -123.0;
  Check(ParseOffsetText(shown, &again));
  Check(SameToFifteenDigits(offset, again));
}

// The stored text: loading keeps it within ±24 and a number; one save fixes its form for good.
void CheckStoredText(const std::string& text) {
  MemoryProfileStore store;
  store.SetRaw("Settings", "Offset", StoredKind::TEXT, text + std::string(1, '\0'));
  PlaceSettings first;
  LoadSettings(store, 0, first);
  Check(!std::isnan(first.offset));
  Check(first.offset >= -24.0 && first.offset <= 24.0);
  const double decimal = DecimalToDouble(text.c_str());
  Check(first.offset == decimal || first.offset == 0.0);

  SaveSettings(store, 0, first);
  const StoredValue* saved = store.GetRaw("Settings", "Offset");
  Check(saved != nullptr && saved->kind == StoredKind::TEXT);
  const std::string savedText = saved->bytes;
  PlaceSettings second;
  LoadSettings(store, 0, second);
  Check(std::fabs(second.offset - first.offset) <= 0.00000051);
  SaveSettings(store, 0, second);
  Check(store.GetRaw("Settings", "Offset")->bytes == savedText);
  // The field shows the loaded offset in a form it accepts.
  double shown = -123.0;
  Check(ParseOffsetText(FormatOffsetText(second.offset), &shown));
  Check(shown == second.offset);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CheckFieldText(text);
  // The text as a C string too: what the edit control and the registry hand over ends at a zero.
  CheckFieldText(std::string(text.c_str()));
  CheckStoredText(std::string(text.c_str()));

  Check(!std::isnan(DecimalToDouble(text.c_str())));
  double scanned = -123.0;
  const std::size_t used = ScanDecimal(text.c_str(), &scanned);
  Check(used <= std::strlen(text.c_str()));
  Check(!std::isnan(scanned));
  if (used == 0) Check(scanned == 0.0);

  if (size >= sizeof(double)) {
    double offset = 0.0;
    std::memcpy(&offset, data, sizeof offset);
    CheckShownValue(offset);
  }
  return 0;
}
