// The process's own time zone, set for a test and given back after it.
#ifndef FARHOUR_TESTS_NATIVE_IN_TIME_ZONE_H
#define FARHOUR_TESTS_NATIVE_IN_TIME_ZONE_H

#include <cstdlib>
#include <ctime>
#include <string>

// Runs each test in a time zone of its own choosing and gives the process its zone back after.
class InTimeZone {
 public:
  explicit InTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
      hadZone_ = true;
      oldZone_ = old;
    }
    setenv("TZ", zone, 1);
    tzset();
  }
  ~InTimeZone() {
    if (hadZone_) {
      setenv("TZ", oldZone_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  InTimeZone(const InTimeZone&) = delete;
  InTimeZone& operator=(const InTimeZone&) = delete;

 private:
  bool hadZone_ = false;
  std::string oldZone_;
};

#endif
