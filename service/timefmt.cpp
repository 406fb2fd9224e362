// Local-time formatting for the pages.

#include "service/timefmt.h"

#include <ctime>

namespace casavo::service {

int64_t UnixNow() {
  return static_cast<int64_t>(std::time(nullptr));
}

std::string FormatLocalTime(int64_t unixSeconds, const char* format) {
  const auto t = static_cast<std::time_t>(unixSeconds);
  std::tm local{};
  localtime_r(&t, &local);
  char buffer[64];
  const size_t size = std::strftime(buffer, sizeof buffer, format, &local);
  return std::string(buffer, size);
}

}  // namespace casavo::service
