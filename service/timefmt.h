// strftime of the local time of a Unix time.

#pragma once

#include <cstdint>
#include <string>

namespace casavo::service {

int64_t UnixNow();

// strftime of the local time of a Unix time.
std::string FormatLocalTime(int64_t unixSeconds, const char* format);

}  // namespace casavo::service
