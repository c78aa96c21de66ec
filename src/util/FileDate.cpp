#include "util/FileDate.h"

#include <cstdint>

namespace vt {

namespace {
// Days since 30 December 1899 of a proleptic Gregorian date.
std::int64_t DaysSinceEpoch1899(int year, int month, int day) {
  // Howard Hinnant's days_from_civil, shifted to the 1899-12-30 origin.
  year -= month <= 2;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(year - era * 400);
  const unsigned doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const std::int64_t fromUnixEpoch = era * 146097 + static_cast<std::int64_t>(doe) - 719468;
  return fromUnixEpoch + 25569;  // 1970-01-01 is day 25569
}
}  // namespace

double DateOfFileTime(const FILETIME& utc) {
  if (utc.dwLowDateTime == 0 && utc.dwHighDateTime == 0) return -1.0;
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &st)) return -1.0;
  double day = static_cast<double>(DaysSinceEpoch1899(st.wYear, st.wMonth, st.wDay));
  double ms = ((st.wHour * 60.0 + st.wMinute) * 60.0 + st.wSecond) * 1000.0 + st.wMilliseconds;
  return day + ms / 86400000.0;
}

}  // namespace vt
