#!/usr/bin/env bash
# Fuzzes the ZIP reader natively (clang with libFuzzer, AddressSanitizer and UBSan, host zlib).
#   tests/lang/fuzz/run-fuzz.sh [SECONDS]     default 60; work files under build/fuzz-lang
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../../.." && pwd)
OUT=$ROOT/build/fuzz-lang
SECONDS_TO_RUN=${1:-60}
mkdir -p "$OUT/corpus" "$OUT/seeds"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$ROOT/src" "$ROOT/tests/lang/fuzz/ZipReaderFuzz.cpp" "$ROOT/src/lang/ZipReader.cpp" -lz -o "$OUT/zip_fuzz"
clang++ -std=c++20 -O1 -I"$ROOT/tests" "$ROOT/tests/lang/fuzz/MakeSeeds.cpp" "$ROOT/tests/support/ZipWriter.cpp" \
  -lz -o "$OUT/make_seeds"
"$OUT/make_seeds" "$OUT/seeds"
# A declared size is never trusted beyond what the archive can hold: 64 MB per allocation is ample.
cd "$OUT"
exec ./zip_fuzz -max_total_time="$SECONDS_TO_RUN" -malloc_limit_mb=64 -rss_limit_mb=1024 -max_len=70000 \
  -print_final_stats=1 corpus seeds
