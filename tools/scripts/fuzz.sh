#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz, apart from the GCC
# builds) and runs each for SECONDS (default 8) from its committed seeds. New
# inputs go to a scratch corpus, never into fuzz/corpus. Any finding stops it
# with the crashing input left in build-fuzz/findings/.
#   tools/scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-8}"; shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_prefs fuzz_settings fuzz_png fuzz_wave fuzz_ogg fuzz_layout fuzz_script)
build="$here/build-fuzz"
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORIN_FUZZ=ON \
  -DQUORIN_TESTS=OFF -DQUORIN_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target quorin_fuzzers
mkdir -p "$build/findings"
for t in "${targets[@]}"; do
  scratch="$build/corpus/$t"
  mkdir -p "$scratch"
  echo "== fuzz $t for ${seconds}s"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$build/fuzz/$t" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$t-" "$scratch" "$here/fuzz/corpus/$t" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' || true
  # Slow units are only noted (a busy machine makes any unit slow).
  if ls "$build/findings/$t-"{crash,leak,timeout,oom}-* >/dev/null 2>&1; then
    echo "fuzz $t: finding in $build/findings" >&2
    exit 1
  fi
done
