#pragma once
// The calendar date and time of day of a moment in the user's time zone, for names of
// backups and time stamps of recorded values. Thread-safe on every system (the C
// library's localtime is not).
#include <ctime>

namespace q5::platform {

std::tm LocalTime(std::time_t when);

}  // namespace q5::platform
