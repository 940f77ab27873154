// Serial-side throughput: FeedByte for every byte, TakeSentence + DecodeSentence once per
// second's worth of a typical receiver (about 500 bytes), over a 1 MB stream.
#include <benchmark/benchmark.h>

#include <string>

#include "gps/nmea.h"

namespace {

std::string RealisticStream(std::size_t bytes) {
    const std::string second =
        "$GNRMC,123519.00,A,4807.03812,N,01131.00012,E,0.021,,230394,,,A*6C\r\n"
        "$GNVTG,,T,,M,0.021,N,0.039,K,A*3E\r\n"
        "$GNGGA,123519.00,4807.03812,N,01131.00012,E,1,12,0.58,519.3,M,47.1,M,,*70\r\n"
        "$GNGSA,A,3,05,13,15,18,20,23,24,,,,,,1.05,0.58,0.87*1B\r\n"
        "$GPGSV,3,1,11,05,46,117,38,13,35,054,31,15,50,187,42,18,27,302,35*75\r\n"
        "$GPGSV,3,2,11,20,19,070,28,23,15,258,26,24,71,236,45,25,04,324,*7E\r\n"
        "$GLGSV,2,1,07,65,38,084,35,66,62,317,40,67,19,263,29,74,14,032,22*68\r\n"
        "$GNGLL,4807.03812,N,01131.00012,E,123519.00,A,A*7A\r\n";
    std::string stream;
    while (stream.size() < bytes) stream += second;
    return stream;
}

void BM_FeedTakeDecode(benchmark::State& state) {
    const std::string stream = RealisticStream(1 << 20);
    moltrevane::NmeaBuffer buffer;
    for (auto _ : state) {
        std::size_t sinceTake = 0;
        for (char c : stream) {
            moltrevane::FeedByte(buffer, static_cast<unsigned char>(c));
            if (++sinceTake == 500) {
                sinceTake = 0;
                benchmark::DoNotOptimize(moltrevane::DecodeSentence(moltrevane::TakeSentence(buffer)));
            }
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.counters["x115200baud"] = benchmark::Counter(static_cast<double>(stream.size()) / 11520.0,
                                                       benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FeedTakeDecode)->Unit(benchmark::kMillisecond);

}  // namespace
