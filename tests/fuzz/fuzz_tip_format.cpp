// Fuzzes the picture conversion and the clock's time text: any pair of pictures must give a format
// that strftime renders without fault, to non-empty text when the format is not empty, and that the
// clock turns into a well-formed tip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "base/utf8_text.h"
#include "clock/remote_clock.h"
#include "clock/tip_time_format.h"

namespace {

// The locale lookup gives at most 127 characters; longer pictures are tried too.
const size_t MAX_PICTURE = 512;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Every "%" strftime will meet, reading byte by byte, begins a conversion all runtimes know.
bool OnlySharedConversions(const std::string& format) {
  const char* text = format.c_str();
  for (size_t i = 0; text[i]; ++i) {
    if (text[i] != '%') continue;
    if (!text[i + 1] || !std::strchr("aAbBcdHIjmMpSUwWxXyY%", text[i + 1])) return false;
    ++i;
  }
  return true;
}

std::string Render(const std::string& format, const std::tm& parts) {
  std::vector<char> buffer(256 + format.size() * 16);
  const size_t length = std::strftime(buffer.data(), buffer.size(), format.c_str(), &parts);
  return std::string(buffer.data(), length);
}

void CheckFormat(const std::string& format, std::time_t now) {
  Check(OnlySharedConversions(format));
  Check(MakeStrftimeSafe(format) == format);

  const std::tm parts = *std::localtime(&now);
  const std::string rendered = Render(format, parts);
  if (std::strlen(format.c_str()) > 0) Check(!rendered.empty());

  PlaceSettings place;
  place.from = 0;
  place.to = 23;
  place.workDays = EVERY_DAY;
  const RemoteReading reading = ReadRemoteClock(place, format, now);
  const bool active = parts.tm_hour * 60 + parts.tm_min <= 1410;
  Check(reading.active == active);
  const std::string head = active ? "Here! = " : "[Here! = ";
  const std::string tail = active ? "" : "]";
  Check(reading.tip.size() >= head.size() + tail.size());
  Check(reading.tip.compare(0, head.size(), head) == 0);
  Check(reading.tip.compare(reading.tip.size() - tail.size(), tail.size(), tail) == 0);
  // The time text is the rendered text, or as much of its start as 127 units hold.
  const std::string timeText = reading.tip.substr(head.size(), reading.tip.size() - head.size() - tail.size());
  Check(rendered.compare(0, timeText.size(), timeText) == 0);
  Check(Utf16Length(timeText) <= 127);
  if (rendered.size() <= 127) Check(timeText == rendered);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A fixed zone, so the clock and the direct rendering break the instant down alike.
  setenv("TZ", "UTC0", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first byte picks the instant (a minute of one week), the second where the pictures split.
  const std::time_t now = 1015318800 + static_cast<std::time_t>(data[0]) * 2371;  // from 5 March 2002
  const char* text = reinterpret_cast<const char*>(data + 2);
  const size_t length = size - 2;
  const size_t split = length == 0 ? 0 : data[1] % (length + 1);
  std::string timePicture(text, split);
  std::string longDatePicture(text + split, length - split);
  if (timePicture.size() > MAX_PICTURE) timePicture.resize(MAX_PICTURE);
  if (longDatePicture.size() > MAX_PICTURE) longDatePicture.resize(MAX_PICTURE);

  CheckFormat(ConvertPictures(timePicture, longDatePicture), now);

  // Pictures the conversion never saw, straight into the clock.
  PlaceSettings place;
  place.offset = static_cast<double>(static_cast<int8_t>(data[1])) / 4.0;
  const RemoteReading raw = ReadRemoteClock(place, std::string(text, length), now);
  Check(Utf16Length(raw.tip) <= std::strlen("[Here! = ]") + 127);
  return 0;
}
