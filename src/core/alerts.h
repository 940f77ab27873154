#pragma once
// What the driver is told without looking at the screen: a new nearest station, a new square,
// a fix lost and back. Each second's readings go in; what is to be said comes out, and the
// pacer lets one announcement through at a time, never two within ten seconds, the newest first.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "directory/station.h"

namespace moltrevane {

enum class AlertMode { Off, Tone, Speech };

// Gives an announcement beside the window; never waits.
class Announcer {
public:
    virtual ~Announcer() = default;
    // Starts the announcement; false when it cannot be given (its program is missing).
    virtual bool Start(AlertMode mode, const std::string& text) = 0;
    // An announcement is still being given.
    virtual bool Busy() = 0;
    // Speech can be given at all: the settings say so plainly when it cannot.
    virtual bool SpeechAvailable() const = 0;
};

// A station of the list as this second measures it.
struct MeasuredStation {
    Station station;
    double km = 0;
    double bearingDeg = 0;
};

struct DrivingSecond {
    std::int64_t seconds = 0;  // of a steady clock
    bool gpsMode = false;      // only a receiver's fix can be lost
    bool fix = false;          // this second brought a position
    std::string square;        // the own six characters; empty without a position
    std::vector<MeasuredStation> listed;
};

// Spoken texts: "Nearest D B zero R P T, 145.625 minus 0.6, 12 kilometres north-east".
std::string SpokenNearest(const MeasuredStation& station);
std::string SpokenSquare(std::string_view locator);  // "Now in J O 6 2 Q M"

class AlertWatch {
public:
    // What this second has to say, every event of it in one announcement; nothing when quiet.
    std::optional<std::string> Observe(const DrivingSecond& second);

private:
    std::optional<std::string> NearestEvent(const std::vector<MeasuredStation>& listed);
    std::optional<std::string> SquareEvent(const std::string& square);
    std::optional<std::string> FixEvent(const DrivingSecond& second);

    std::optional<std::string> nearestCall_;
    std::string square_;
    std::optional<std::int64_t> lastFix_;
    bool lostSaid_ = false;
};

inline constexpr std::int64_t kAlertSpacingSeconds = 10;
inline constexpr std::int64_t kFixLostSeconds = 10;

class AlertPacer {
public:
    void Offer(std::string announcement) { waiting_ = std::move(announcement); }  // the newest wins
    // The announcement to start now: none while one is still being given, or within ten
    // seconds of the last start.
    std::optional<std::string> Due(std::int64_t seconds, bool busy);

private:
    std::optional<std::string> waiting_;
    std::optional<std::int64_t> lastStart_;
};

}  // namespace moltrevane
