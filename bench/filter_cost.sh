#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the station filters add to "Search Stn.", in instructions counted by callgrind (wall time
# on a shared machine varies more than the difference measured).
#   filter_cost.sh DIRECTORY_BENCH
# Filters: all shown; beacons and ATV hidden (8 % of the rows); transponders hidden (none exist,
# so every row is classified and none dropped); "KW" hidden (2 % of the rows, every frequency
# read). Files without and with the recommended index.
set -euo pipefail
bench=$1
# The directories of this run, made once, natively, and shared by its runs under callgrind.
MOLTREVANE_BENCH_FOLDER=$(mktemp -d)
export MOLTREVANE_BENCH_FOLDER
trap 'rm -rf "$MOLTREVANE_BENCH_FOLDER"' EXIT
"$bench" --benchmark_filter='BM_SearchStationPress/(3000|100000)/0/' --benchmark_min_time=0 > /dev/null 2>&1
count() {
    local out
    out=$(valgrind --tool=callgrind --callgrind-out-file=/dev/null --toggle-collect='moltrevane::SearchNearest*' \
        --toggle-collect='moltrevane::StationDirectory::LookupRows*' \
        "$bench" --benchmark_filter="BM_SearchStationPress/$1\$" --benchmark_min_time=0 2>&1)
    if grep -q ERROR <<< "$out"; then echo "$1: $(grep ERROR <<< "$out")" >&2; exit 1; fi
    sed -n 's/.*Collected : //p' <<< "$out"
}
printf '%-9s %-6s %12s %12s %7s %12s %7s %12s %7s\n' stations index "all shown" "8 % hidden" "+" "none hidden" "+" \
    "KW hidden" "+"
for stations in 3000 100000; do
    for index in 0 1; do
        all=$(count "$stations/0/$index")
        some=$(count "$stations/1/$index")
        none=$(count "$stations/2/$index")
        band=$(count "$stations/3/$index")
        awk -v s="$stations" -v i="$index" -v a="$all" -v b="$some" -v c="$none" -v d="$band" 'BEGIN {
            printf "%-9s %-6s %12d %12d %6.1f%% %12d %6.1f%% %12d %6.1f%%\n", s, (i ? "yes" : "no"), a,
                b, 100 * (b / a - 1), c, 100 * (c / a - 1), d, 100 * (d / a - 1) }'
    done
done
