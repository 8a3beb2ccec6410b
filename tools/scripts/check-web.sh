#!/usr/bin/env bash
# ./check's web phase: builds the site and the Node quorin-sim
# (tools/scripts/build-web.sh), then
#  - plays the winning run with the Node quorin-sim and with the native one
#    (./check has built build/ before): the same trace byte for byte, the
#    same output and the same pictures;
#  - drives the site in Debian's Chromium, headless, on 127.0.0.1
#    (tools/web/browser_test.js, with playwright-core installed from
#    tools/web/package-lock.json into the build folder; no browser download).
# QUORIN_NATIVE_DIR names another native build folder.
set -Eeuo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
. "$here/tools/scripts/deps.sh"
# A failing step says where: much of the output here goes to /dev/null.
trap 'echo "== web: failed (exit $?) at line $LINENO: $BASH_COMMAND" >&2' ERR
out="${QUORIN_WEB_DIR:-$here/build-web}"
native="${QUORIN_NATIVE_DIR:-$here/build}"
started=$SECONDS
# Node may come with its own npm (not Debian's package): take Debian's only when none is there.
quorin_install_deps chromium
command -v npm >/dev/null 2>&1 || quorin_install_deps npm

"$here/tools/scripts/build-web.sh"

work="$out/check"
rm -rf "$work"
mkdir -p "$work/native" "$work/node"
# The winning run's pictures of tests/e2e/winning_run_test.cpp, and the
# first title picture (after iteration 1 shows what iteration 0 drew).
shots=(6 11216 4031 28474)
args=(run --frames 29000 --input "$here/tests/data/winning_run.txt" --trace trace.txt --shot 1:title.png)
for k in "${shots[@]}"; do args+=(--shot "$k:$k.png"); done
echo "== web: the winning run, native and in Node ($((SECONDS - started)) s)"
(cd "$work/native" && "$native/quorin-sim" "${args[@]}" >stdout.txt)
(cd "$work/node" && node "$out/quorin-sim.js" "${args[@]}" >stdout.txt)
cmp "$work/native/trace.txt" "$work/node/trace.txt"
cmp "$work/native/stdout.txt" "$work/node/stdout.txt"
cmp "$work/native/Quorin.cfg" "$work/node/Quorin.cfg"
for picture in title "${shots[@]}"; do
  node "$here/tools/web/png.js" "$work/native/$picture.png" "$work/node/$picture.png"
done
echo "ok: the Node quorin-sim gives the native trace ($(wc -l <"$work/native/trace.txt") lines), output, user file and pictures"

# playwright-core, exactly as locked, without its browser download.
npm_dir="$out/npm"
if ! cmp -s "$here/tools/web/package-lock.json" "$npm_dir/package-lock.json"; then
  rm -rf "$npm_dir"
  mkdir -p "$npm_dir"
  cp "$here/tools/web/package.json" "$here/tools/web/package-lock.json" "$npm_dir/"
  (cd "$npm_dir" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
# The page's short game: the winning run's first 100 iterations, then no
# new input, until the hero, keys still held, meets a monster with no power
# and the game ends on the title with a HiScore earned (with today's run:
# game over at 344, "NEW HIGH SCORE!" at 573, the title at 857, 30
# points). The native run must end there too; its pictures and user file
# are what the page must match.
short=(6 573)
mkdir -p "$work/short"
awk '$1 ~ /^#/ || $1 + 0 <= 100' "$here/tests/data/winning_run.txt" >"$work/short-game.txt"
args=(run --frames 900 --input "$work/short-game.txt")
for k in "${short[@]}"; do args+=(--shot "$k:$k.png"); done
(cd "$work/short" && "$native/quorin-sim" "${args[@]}" >stdout.txt)
grep -q ' state=0 ' "$work/short/stdout.txt"
echo "== web: the site in Chromium ($((SECONDS - started)) s)"
cp "$work/native/title.png" "$work/short/"
NODE_PATH="$npm_dir/node_modules" node "$here/tools/web/browser_test.js" "$out/site" "$work/short" \
  "$work/short-game.txt" "$(IFS=,; echo "${short[*]}")" 900
echo "== web: passed ($((SECONDS - started)) s)"
