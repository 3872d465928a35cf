#!/usr/bin/env bash
# Fuzzes the metafile drawer (libwmf's player with our QPainter device) with
# libFuzzer for a while, in process and under AddressSanitizer. Not part of the
# build or CI. Needs clang and its runtime (Debian: clang, libclang-rt-14-dev).
#
#   tools/fuzz-metafiles.sh [seconds [seed folder]]
#
# Findings (crash-*, timeout-*, oom-*) land in build-fuzz/findings; a finding
# worth keeping becomes a test in tests/runtime/metafile_drawing_test.cpp,
# written from its bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
seeds=${2:-}
build=build-fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKV_FUZZ=ON -DKV_BENCH=OFF \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer" >/dev/null
cmake --build "$build" --target kv_wmfdraw_fuzz

mkdir -p "$build/corpus" "$build/findings"
[ -n "$seeds" ] && cp -n "$seeds"/* "$build/corpus/" 2>/dev/null || true
# A hang is a metafile that takes longer than 3 s, a leak of memory one that
# holds more than 1 GB: both are what the editor's limits stop. Single
# allocations may be larger: libwmf reserves buffers as its header says,
# which costs address space, not memory.
ASAN_OPTIONS=detect_leaks=0 "$build/bin/kv_wmfdraw_fuzz" "$build/corpus" \
  -dict=tools/fuzz/metafile.dict -max_len=4096 -timeout=3 -rss_limit_mb=1024 -malloc_limit_mb=16384 \
  -max_total_time="$seconds" -fork="${FUZZ_JOBS:-2}" -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -artifact_prefix="$build/findings/"
ls -la "$build/findings"
