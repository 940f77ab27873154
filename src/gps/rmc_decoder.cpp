// SPDX-License-Identifier: GPL-3.0-or-later
#include "gps/nmea.h"

#include <charconv>
#include <cmath>

namespace moltrevane {
namespace {

constexpr double kPerMinute = 0.016666666666666666;
constexpr double kPerTenThousandthMinute = 1.6666666666666667e-6;
constexpr std::size_t kShownFieldLength = 12;
constexpr int kMaxFractionDigits = 9;
constexpr double kKmhPerKnot = 1.852;
constexpr double kFastestKnots = 2000;  // faster than any car or aircraft: a corrupt field

// Field k lies between the k-th and the (k+1)-th comma; a missing field is empty.
std::string_view Field(std::string_view sentence, int k) {
    const std::size_t start = CommaPosition(sentence, k) + 1;
    if (start > sentence.size()) return {};
    return sentence.substr(start, CommaPosition(sentence, k + 1) - start);
}

bool AllDigits(std::string_view text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int IntegerOf(std::string_view digits) {
    int value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// The minutes fraction is read with as many digits as it has; four digits keep the
// historic constant so their results stay bit-identical.
double FractionTerm(std::string_view digits) {
    if (digits.size() == 4) return IntegerOf(digits) * kPerTenThousandthMinute;
    return IntegerOf(digits) / std::pow(10.0, static_cast<double>(digits.size())) * kPerMinute;
}

struct Coordinate {
    bool valid = false;
    double degrees = 0.0;
    double raw = 0.0;
};

// ddmm.mmmm (degreeDigits 2) or dddmm.mmmm (3), with its hemisphere letter.
Coordinate ParseCoordinate(std::string_view field, std::string_view hemisphere, int degreeDigits,
                           char positive, char negative, double limit) {
    Coordinate result;
    const std::size_t wholeDigits = static_cast<std::size_t>(degreeDigits) + 2;
    if (hemisphere.size() != 1 || (hemisphere[0] != positive && hemisphere[0] != negative)) return result;
    if (field.size() < wholeDigits || !AllDigits(field.substr(0, wholeDigits))) return result;
    std::string_view fraction;
    if (field.size() > wholeDigits) {
        if (field[wholeDigits] != '.') return result;
        fraction = field.substr(wholeDigits + 1);
        if (fraction.size() > kMaxFractionDigits || !AllDigits(fraction)) return result;
    }
    const int minutes = IntegerOf(field.substr(degreeDigits, 2));
    if (minutes >= 60) return result;
    double degrees = IntegerOf(field.substr(0, degreeDigits));
    degrees += minutes * kPerMinute;
    degrees += FractionTerm(fraction);
    if (degrees > limit) return result;
    std::from_chars(field.data(), field.data() + field.size(), result.raw);
    const double sign = hemisphere[0] == negative ? -1.0 : 1.0;
    result.valid = true;
    result.degrees = sign * degrees;
    result.raw = sign * result.raw;
    return result;
}

// A plain decimal number, "054.7" or "12", up to `limit`; nothing for an empty field or any other text.
std::optional<double> DecimalField(std::string_view field, double limit) {
    const std::size_t point = field.find('.');
    const std::string_view whole = field.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : field.substr(point + 1);
    if (whole.empty() || whole.size() > 4 || !AllDigits(whole) || fraction.size() > kMaxFractionDigits || !AllDigits(fraction))
        return std::nullopt;
    double value = IntegerOf(whole) + (fraction.empty() ? 0.0 : IntegerOf(fraction) / std::pow(10.0, static_cast<double>(fraction.size())));
    if (value > limit) return std::nullopt;
    return value;
}

// The speed (knots) and course fields; a course is only kept beside a speed, which tells
// whether it means anything.
GroundMotion MotionOf(std::string_view knotsField, std::string_view courseField) {
    GroundMotion motion;
    const std::optional<double> knots = DecimalField(knotsField, kFastestKnots);
    if (!knots) return motion;
    motion.speedKmh = *knots * kKmhPerKnot;
    if (const std::optional<double> course = DecimalField(courseField, 360)) motion.courseDeg = *course == 360 ? 0 : *course;
    return motion;
}

// Days since 1970-01-01 of a civil date (Howard Hinnant's algorithm).
std::int64_t DaysSince1970(int year, int month, int day) {
    year -= month <= 2;
    const int era = year / 400, yearOfEra = year - era * 400;
    const int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return static_cast<std::int64_t>(era) * 146097 + dayOfEra - 719468;
}

// hhmmss and ddmmyy (years 2000 … 2099; a receiver's week roll-over is not mended here).
std::int64_t UtcSeconds(std::string_view time, std::string_view date) {
    if (time.size() < 6 || date.size() != 6 || !AllDigits(time.substr(0, 6)) || !AllDigits(date)) return 0;
    const int day = IntegerOf(date.substr(0, 2)), month = IntegerOf(date.substr(2, 2));
    const int hour = IntegerOf(time.substr(0, 2)), minute = IntegerOf(time.substr(2, 2)), second = IntegerOf(time.substr(4, 2));
    if (day < 1 || day > 31 || month < 1 || month > 12 || hour > 23 || minute > 59 || second > 60) return 0;
    return DaysSince1970(2000 + IntegerOf(date.substr(4, 2)), month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string TimeText(std::string_view field) {
    if (field.size() < 6 || !AllDigits(field.substr(0, 6))) return {};
    std::string text(field.substr(0, 2));
    text.append(":").append(field.substr(2, 2)).append(":").append(field.substr(4, 2));
    return text;
}

}  // namespace

std::size_t CommaPosition(std::string_view sentence, int n) {
    if (sentence.empty()) return 0;
    int seen = 0;
    for (std::size_t i = 0; i < sentence.size(); ++i)
        if (sentence[i] == ',' && ++seen == n) return i;
    return sentence.size();
}

RmcReading DecodeSentence(std::string_view sentence) {
    RmcReading reading;
    reading.timeText = TimeText(Field(sentence, 1));
    reading.utcSeconds = UtcSeconds(Field(sentence, 1), Field(sentence, 9));
    const std::string_view status = Field(sentence, 2);
    reading.status = status.empty() ? 0 : status[0];
    if (reading.status != 'A') return reading;

    const std::string_view latitudeField = Field(sentence, 3);
    const std::string_view northSouth = Field(sentence, 4);
    const std::string_view longitudeField = Field(sentence, 5);
    const std::string_view eastWest = Field(sentence, 6);
    const Coordinate latitude = ParseCoordinate(latitudeField, northSouth, 2, 'N', 'S', 90.0);
    const Coordinate longitude = ParseCoordinate(longitudeField, eastWest, 3, 'E', 'W', 180.0);
    if (!latitude.valid || !longitude.valid) {
        reading.status = 'V';
        return reading;
    }
    reading.latitudeText = latitudeField.substr(0, kShownFieldLength);
    reading.latitudeHemisphere = northSouth;
    reading.longitudeText = longitudeField.substr(0, kShownFieldLength);
    reading.longitudeHemisphere = eastWest;
    reading.rawLatitude = latitude.raw;
    reading.rawLongitude = longitude.raw;
    reading.latitude = latitude.degrees;
    reading.longitude = longitude.degrees;
    reading.motion = MotionOf(Field(sentence, 7), Field(sentence, 8));
    return reading;
}

}  // namespace moltrevane
