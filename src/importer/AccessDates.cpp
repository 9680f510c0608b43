#include "AccessDates.h"

#include <QLocale>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace ponencias {

namespace {

// Days from 1970-01-01 to a civil date (proleptic Gregorian calendar).
void CivilFromDays(int64_t z, int64_t& year, unsigned& month, unsigned& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = int64_t(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = y + (month <= 2 ? 1 : 0);
}

// "YYYY-MM-DD HH:MM:SS" for a day counted from 1970-01-01 and a second of that day.
std::string DateTimeText(int64_t daysSince1970, int64_t seconds) {
    int64_t year = 0;
    unsigned month = 0;
    unsigned day = 0;
    CivilFromDays(daysSince1970, year, month, day);
    char text[128];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld",
                  static_cast<long long>(year), month, day, static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

// The digits of `count` ASCII characters as a number; false when one is not a digit.
bool AsciiNumber(const unsigned char* text, int count, int64_t& number) {
    number = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        number = number * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

QString AccessDateText(double value) {
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6) {
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    }
    int64_t days = int64_t(std::trunc(value));
    int64_t seconds = std::llround(std::fabs(value - double(days)) * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += 1;
    }
    // 1899-12-30 is 25569 days before 1970-01-01.
    return QString::fromStdString(DateTimeText(days - 25569, seconds));
}

// The value is 42 bytes of text: 19 digits counting the days since 0001-01-01, ":", 12 digits
// counting the seconds since midnight and 7 the ten-millionths of a second, then ":7" (the
// digits after the point) and a NUL.
std::string ExtendedDateTimeText(const unsigned char* bytes, size_t size) {
    int64_t days = 0;
    int64_t seconds = 0;
    int64_t fraction = 0;
    constexpr int64_t kLastDay = 3652058;  // 9999-12-31
    if (size < kExtendedDateTimeSize || bytes[19] != ':' || !AsciiNumber(bytes, 19, days) ||
        !AsciiNumber(bytes + 20, 12, seconds) || !AsciiNumber(bytes + 32, 7, fraction) ||
        days > kLastDay || seconds >= 86400) {
        return std::string();
    }
    char digits[32];
    std::snprintf(digits, sizeof digits, ".%07lld", static_cast<long long>(fraction));
    // 0001-01-01 is 719162 days before 1970-01-01.
    return DateTimeText(days - 719162, seconds) + digits;
}

}  // namespace ponencias
