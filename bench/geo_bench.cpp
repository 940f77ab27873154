// SPDX-License-Identifier: GPL-3.0-or-later
#include <benchmark/benchmark.h>

#include "geo/distance.h"
#include "geo/locator.h"

namespace {

void BM_LocatorFromPosition(benchmark::State& state) {
    double latitude = 4808.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moltrevane::LocatorFromPosition(latitude, 1134.6));
        latitude += 0.001;
    }
}
BENCHMARK(BM_LocatorFromPosition);

void BM_PositionFromLocator(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(moltrevane::PositionFromLocator("JN58SD"));
}
BENCHMARK(BM_PositionFromLocator);

void BM_DistanceAndBearing(benchmark::State& state) {
    double lat2 = 52.52;
    for (auto _ : state) {
        benchmark::DoNotOptimize(moltrevane::DistanceKm(48.14, 11.54, lat2, 13.37));
        benchmark::DoNotOptimize(moltrevane::BearingDeg(48.14, 11.54, lat2, 13.37));
        lat2 += 1e-7;
    }
}
BENCHMARK(BM_DistanceAndBearing);

}  // namespace
