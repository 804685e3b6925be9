#include "platform/LocalTime.h"

namespace q5::platform {

std::tm LocalTime(std::time_t when) {
  std::tm tm{};
#ifdef _WIN32
  localtime_s(&tm, &when);
#else
  localtime_r(&when, &tm);
#endif
  return tm;
}

}  // namespace q5::platform
