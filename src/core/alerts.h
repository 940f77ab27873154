// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the driver is told without looking at the screen: a new nearest station, a new square,
// a fix lost and back. Each second's readings go in; the watch finds what changed, the pacer
// lets one announcement through at a time, never two within ten seconds, the newest first, and
// the announcement is made of the second it is given in, so that it names what the list shows.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/measured_station.h"

namespace moltrevane {

enum class AlertMode { Off, Tone, Speech };

// What can be told; the tone has a sound of its own for each.
enum class AlertKind { FixLost, FixBack, Square, Nearest };

struct Announcement {
    std::vector<AlertKind> kinds;  // in the order they are told
    std::string text;              // as speech says it
    bool operator==(const Announcement&) const = default;
};

// Gives an announcement beside the window; never waits.
class Announcer {
public:
    virtual ~Announcer() = default;
    // Starts the announcement; false when it cannot be given (its program is missing).
    virtual bool Start(AlertMode mode, const Announcement& announcement) = 0;
    // An announcement is still being given.
    virtual bool Busy() = 0;
    // Speech can be given at all: the settings say so plainly when it cannot.
    virtual bool SpeechAvailable() const = 0;
};

// Which changes the driver wants told: each kind on or off, a square by its first 4 or 6
// characters. Kept in Moltrevane.ini.
struct AlertChoices {
    bool nearest = true;
    int squareLength = 6;  // 4 or 6; 0: squares are not told
    bool fix = true;
    bool operator==(const AlertChoices&) const = default;
};

struct DrivingSecond {
    std::int64_t seconds = 0;  // of a steady clock
    bool gpsMode = false;      // only a receiver's fix can be lost
    bool fix = false;          // this second brought a position
    std::string square;        // the own six characters; empty without a position
    std::vector<MeasuredStation> listed;  // in the list's order, nearest first
    std::optional<double> headingDeg;     // the car's course while it moves
};

// The first of the nearest, by distance: the list's first row, as the rows are kept in order.
const MeasuredStation* NearestOf(const std::vector<MeasuredStation>& listed);

// A new nearest station: a kilometre nearer than the old, or the old gone from the list; two
// stations at nearly the same distance would otherwise take turns every second.
class NearestWatch {
public:
    // The new nearest, which is watched from now on; nothing when there is none.
    const MeasuredStation* NewNearest(const std::vector<MeasuredStation>& listed);
    void Watch(const std::string& call) { call_ = call; }

private:
    std::optional<std::string> call_;
};

class AlertWatch {
public:
    // What changed this second, of the kinds chosen, in the order they are told.
    std::vector<AlertKind> Observe(const DrivingSecond& second, const AlertChoices& chosen);
    // The changes as this second has them: the nearest is the list's first now and the square
    // the car's now; nothing when none of them holds any more (the fix came back before its
    // loss was told, the list emptied).
    std::optional<Announcement> Tell(const std::vector<AlertKind>& kinds, const DrivingSecond& second,
                                     const AlertChoices& chosen);

private:
    bool SquareChanged(const std::string& square, int length);
    std::optional<AlertKind> FixChanged(const DrivingSecond& second);

    NearestWatch nearest_;
    std::string square_;
    std::optional<std::int64_t> lastFix_;
    bool lostSaid_ = false;
};

inline constexpr std::int64_t kAlertSpacingSeconds = 10;
inline constexpr std::int64_t kFixLostSeconds = 10;

class AlertPacer {
public:
    // The newest changes take the place of those still waiting; no change leaves them waiting.
    void Offer(std::vector<AlertKind> kinds);
    // The changes to tell now: none while an announcement is still being given, or within ten
    // seconds of the last start.
    std::optional<std::vector<AlertKind>> Due(std::int64_t seconds, bool busy);

private:
    std::optional<std::vector<AlertKind>> waiting_;
    std::optional<std::int64_t> lastStart_;
};

}  // namespace moltrevane
