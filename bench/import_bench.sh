#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# moltrevane-import on large and hostile lists it writes itself: wall time and peak memory.
#   import_bench.sh MOLTREVANE_IMPORT
# 25,000 stations as RepeaterBook JSON (about 10 MB), 1,000,000 rows of CSV, then a 100 MB
# line, a 2 GB file and JSON nested 100,000 deep, which must fail quickly in little memory, as
# must XML nested 3,000,000 deep, a JSON station of a hundred values of 1 MB each and XML
# attributes of 24, 100 and 200 MB that hold `>` (expat holds a tag whole and reads it again
# with every piece: the time must not grow with the attribute). Every peak stays under 64 MB.
set -euo pipefail
import=$(realpath "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/moltrevane-import-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"

awk 'BEGIN {
    printf "{\"count\":25000,\"results\":[\n"
    for (i = 0; i < 25000; i++) {
        printf "%s{\"State ID\":\"%02d\",\"Rptr ID\":\"%d\",\"Frequency\":\"%.4f\",\"Input Freq\":\"%.4f\",", (i ? ",\n" : ""),
            i % 60, i, 144 + (i % 320) * 0.0125, 143.4 + (i % 320) * 0.0125
        printf "\"PL\":\"88.5\",\"TSQ\":\"\",\"Nearest City\":\"Town %d\",\"Landmark\":\"Hill %d\",\"Region\":null,", i, i
        printf "\"State\":\"Somewhere\",\"Country\":\"Nowhere\",\"Lat\":\"%.4f\",\"Long\":\"%.4f\",\"Precise\":1,", 25 + (i % 2000) / 100, -120 + (i / 2000) * 4
        printf "\"Callsign\":\"X%05dB\",\"Use\":\"OPEN\",\"Operational Status\":\"On-air\",", i
        printf "\"FM Analog\":\"Yes\",\"FM Bandwidth\":\"25 kHz\",\"DMR\":\"No\",\"DMR Color Code\":\"\",\"DMR ID\":\"\",\"D-Star\":\"No\","
        printf "\"NXDN\":\"No\",\"APCO P-25\":\"No\",\"P-25 NAC\":\"\",\"M17\":\"No\",\"Tetra\":\"No\","
        printf "\"System Fusion\":\"No\",\"Notes\":\"Invented\"}"
    }
    printf "\n]}\n" }' > stations.json
awk 'BEGIN {
    print "call,latitude,longitude,output,input,mode,city,tone"
    for (i = 0; i < 1000000; i++)
        printf "X%07d,%.4f,%.4f,%.4f,%.4f,FM,Town %d,88.5\n", i, 35 + (i % 3000) / 100, -10 + (i / 3000) * 0.12,
            145 + (i % 80) * 0.0125, 144.4 + (i % 80) * 0.0125, i
}' > stations.csv
{ printf 'call,loc\n'; head -c 100000000 /dev/zero | tr '\0' x; printf '\n'; } > line.csv
truncate -s 2G sparse.csv
head -c 100000 /dev/zero | tr '\0' '[' > deep.json
{ printf '<?xml version="1.0"?>\n'; yes '<a>' | head -n 3000000 | tr -d '\n' || true; } > deep.xml
{ printf '[{"callsign":"DB0AA"'
  for i in $(seq 100); do printf ',"k%d":"' "$i"; head -c 999999 /dev/zero | tr '\0' x; printf '"'; done
  printf '}]'; } > values.json
attribute() { { printf '<?xml version="1.0"?>\n<r a="'; yes 'xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx>' | head -c "$2" || true; } > "$1"; }
attribute attr24.xml 24000000
attribute attr100.xml 100000000
attribute attr200.xml 200000000
# A 2 GB list that is text throughout: read to its end.
{ printf 'call,latitude,longitude\n'; yes 'X1,50.0,10.0,padding padding padding padding padding padding padding' | head -c 2000000000 || true; } > big.csv

run() {
    local name=$1
    shift
    /usr/bin/time -f "%e %M" -o time.txt "$import" --output "$work/d.sqlite" "$@" > out.txt 2>&1 || true
    read -r seconds kb < <(tail -1 time.txt)
    printf '%-14s %8.1f MB %7.2f s %6d MB peak  %s\n' "$name" "$(($(stat -c %s "$1") / 1000))e-3" "$seconds" $((kb / 1024)) \
        "$(head -c 110 out.txt | head -1)"
}
printf '%-14s %11s %9s %12s  %s\n' list size time memory "first line of the report"
run stations.json stations.json
run stations.csv stations.csv
run line.csv line.csv
run sparse.csv sparse.csv
run deep.json deep.json
run deep.xml deep.xml
run values.json values.json
run attr24.xml attr24.xml
run attr100.xml attr100.xml
run attr200.xml attr200.xml
run big.csv big.csv
