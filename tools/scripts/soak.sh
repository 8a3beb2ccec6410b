#!/usr/bin/env bash
# The soak: quorin-sim run through FRAMES frames (default 10000) of a random
# input script from quorin-soakgen (fixed seed), in a scratch folder with
# JoyCursor = 0 so that only the scripted mouse moves the pointer. Prints the
# sim's summary and the peak resident memory in kB.
#   tools/scripts/soak.sh BUILD_DIR [FRAMES] [SEED]
set -euo pipefail
build="$(cd "$1" && pwd)"
frames="${2:-10000}"
seed="${3:-20261208}"
# A small quarantine in a sanitizer build, so that its fill does not pass
# for growth when a short and a long run are compared.
export ASAN_OPTIONS="quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/quorin-soakgen" "$seed" "$frames" >"$work/input.txt"
printf 'JoyCursor = 0\r\n' >"$work/engine.ini"
(cd "$work" && /usr/bin/time -f 'peak_rss_kb=%M' -o "$work/time.txt" \
  "$build/quorin-sim" run --frames "$frames" --input "$work/input.txt" >"$work/out.txt")
cat "$work/out.txt" "$work/time.txt"
grep -q "^frames=$frames " "$work/out.txt" || { echo "soak: the game ended before $frames frames" >&2; exit 1; }
