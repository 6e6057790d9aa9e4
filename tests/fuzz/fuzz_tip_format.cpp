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

#include "clock/remote_clock.h"
#include "clock/tip_time_format.h"

namespace {

// The locale lookup gives at most 127 characters; longer pictures are tried too.
const size_t MAX_PICTURE = 512;

std::size_t ShiftJisCharacterLength(const char* text, std::size_t) {
  const auto c = static_cast<unsigned char>(text[0]);
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC) ? 2 : 1;
}

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
  const std::string timeText = rendered.substr(0, 127);
  const bool active = parts.tm_hour * 60 + parts.tm_min <= 1410;
  Check(reading.active == active);
  Check(reading.tip == (active ? "Here! = " + timeText : "[Here! = " + timeText + "]"));
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
  CheckFormat(ConvertPictures(timePicture, longDatePicture, ShiftJisCharacterLength), now);

  // Pictures the conversion never saw, straight into the clock.
  PlaceSettings place;
  place.offset = static_cast<double>(static_cast<int8_t>(data[1])) / 4.0;
  const RemoteReading raw = ReadRemoteClock(place, std::string(text, length), now);
  Check(raw.tip.size() <= std::strlen("[Here! = ]") + 127);
  return 0;
}
