// SPDX-License-Identifier: GPL-3.0-or-later
// Serial-side throughput on the bundled sample track: FeedByte for every byte, then
// TakeSentence + DecodeSentence once per second of the track, as the main cycle does.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "gps/nmea.h"

namespace {

// The track cut into seconds: each RMC sentence begins one.
std::vector<std::string> TrackSeconds() {
    std::ifstream in(MOLTREVANE_SOURCE_DIR "/data/sample-track.nmea", std::ios::binary);
    std::vector<std::string> seconds;
    for (std::string line; std::getline(in, line);) {
        if (seconds.empty() || line.compare(3, 3, "RMC") == 0) seconds.emplace_back();
        seconds.back() += line + "\r\n";
    }
    return seconds;
}

void BM_FeedTakeDecode(benchmark::State& state) {
    const std::vector<std::string> seconds = TrackSeconds();
    std::size_t bytes = 0;
    for (const std::string& second : seconds) bytes += second.size();
    moltrevane::NmeaBuffer buffer;
    std::size_t fixes = 0;
    for (auto _ : state) {
        for (const std::string& second : seconds) {
            for (char c : second) moltrevane::FeedByte(buffer, static_cast<unsigned char>(c));
            const moltrevane::RmcReading reading = moltrevane::DecodeSentence(moltrevane::TakeSentence(buffer));
            fixes += reading.status == 'A';
        }
    }
    // Measuring a path that finds no fix would flatter it.
    if (seconds.empty() || fixes < state.iterations() * seconds.size() / 2) state.SkipWithError("fewer than half the seconds decode to a fix");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["fixes/second"] = static_cast<double>(fixes) / static_cast<double>(state.iterations() * seconds.size());
}
BENCHMARK(BM_FeedTakeDecode)->Unit(benchmark::kMillisecond);

}  // namespace
