#!/usr/bin/env bash
# The Windows build tested under Wine, as a Windows player would meet it:
# builds it with its tests (build-windows.sh), runs quorin_tests.exe, checks
# that quorin-sim.exe plays the winning run to the native build's trace and
# pictures byte for byte, and runs quorin.exe from the zip in an X server of
# its own: its window, its first title picture against the native game's,
# Escape, and the user file under an APPDATA with non-ASCII letters.
#
#   tools/scripts/check-windows.sh [NATIVE_BUILD]
#
# NATIVE_BUILD (default build/) holds the native quorin and quorin-sim, as
# ./check builds them. Exits non-zero on any failure.
set -Eeuo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
native="$(cd "${1:-$here/build}" && pwd)"
out="${QUORIN_WINDOWS_BUILD:-$here/build-windows}"
. "$here/tools/scripts/deps.sh"
# A failing step says where: much of the output here goes to /dev/null.
trap 'echo "== windows: failed (exit $?) at line $LINENO: $BASH_COMMAND" >&2' ERR
# Wine is wanted before the build starts: the prefix comes first.
quorin_install_deps "${QUORIN_WINDOWS_PACKAGES[@]}" xvfb xdotool x11-utils
started=$SECONDS
say() { echo "== windows: $* ($(( SECONDS - started )) s)"; }

# A fresh Wine prefix of our own each run: no prompts, no noise, no X.
export WINEPREFIX="$out/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
wineserver -k >/dev/null 2>&1 || true
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# Wine's server runs once for the whole phase, detached from our pipes (a
# server started by the first program would hold them for seconds after
# every run).
setsid wineserver -p </dev/null >/dev/null 2>&1
xserver=""
cleanup() {
  [ -n "$xserver" ] && kill "$xserver" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT
timeout 300 wine wineboot -i </dev/null >/dev/null 2>&1
say "fresh Wine prefix"

"$here/tools/scripts/build-windows.sh" --tests
game="$out/game"
version="$(sed -n 's/^project(Quorin VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")"
shipped="$out/zip/Quorin-$version-windows-x64"
say "built"

# The suite: everything that needs no X server.
timeout 1800 wine "$game/tests/quorin_tests.exe" --gtest_brief=1 </dev/null
say "quorin_tests.exe passed"

# The winning run: same trace, same pictures.
work="$out/check"
rm -rf "$work"
mkdir -p "$work/linux" "$work/windows"
cp "$here/tests/data/winning_run.txt" "$work/"
shots="--shot 6:first.png --shot 11216:ball.png --shot 28474:saved.png"
sim="$native/quorin-sim"
(cd "$work/linux" && "$sim" run --frames 29000 --input ../winning_run.txt --trace trace.txt $shots >/dev/null)
(cd "$work/windows" && timeout 1200 wine "$shipped/quorin-sim.exe" run --frames 29000 --input ../winning_run.txt \
  --trace trace.txt $shots </dev/null >/dev/null)
for f in trace.txt first.png ball.png saved.png; do
  cmp "$work/linux/$f" "$work/windows/$f" || { echo "quorin-sim.exe: $f differs from Linux's" >&2; exit 1; }
done
say "quorin-sim.exe played the winning run to the Linux trace and pictures"

# The real game in an X server of our own.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xserver=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
display=":$(cat "$work/display")"
x() { DISPLAY="$display" "$@"; }

# The id of the visible window titled Quorin, once the same one is seen twice
# in a row (a renderer may replace the first window); empty after a minute.
find_window() {
  local seen="" found
  for _ in $(seq 600); do
    found="$(x xdotool search --onlyvisible --name '^Quorin$' 2>/dev/null | head -n1)" || true
    [ -n "$found" ] && [ "$found" = "$seen" ] && { echo "$found"; return 0; }
    seen="$found"
    sleep 0.1
  done
}
tap() { x xdotool keydown "$1"; sleep 0.3; x xdotool keyup "$1"; }
# Waits up to N tenths of a second (default a minute) for a file to appear;
# false when none does.
wait_file() { for _ in $(seq "${2:-600}"); do compgen -G "$1" >/dev/null && return 0; sleep 0.1; done; return 1; }
# screenshot DIR WINDOW: focuses the window, lets it draw, presses F12, until
# a screenshot lands in DIR. The game steps only while its window has the
# focus, and under load Wine's window may lose it again after it opens.
screenshot() {
  for _ in $(seq 20); do
    x xdotool windowfocus --sync "$2" >/dev/null 2>&1 || true
    sleep 1  # a few frames of the title
    tap F12
    wait_file "$1/*.png" 30 && return 0
  done
  return 1
}

# play_once DIR SHOTS COMMAND...: starts the game in DIR, checks its window,
# takes a screenshot of the first title picture (into SHOTS), quits with
# Escape; the exit code must be 0.
play_once() {
  local dir="$1" shots="$2"; shift 2
  mkdir -p "$dir"
  # The renderer each system picks: OpenGL on Linux, Direct3D under Wine.
  (cd "$dir" && DISPLAY="$display" exec env -u SDL_VIDEODRIVER "$@" </dev/null >"$dir/output.txt" 2>&1) &
  local pid=$! id
  id="$(find_window)"
  if [ -z "$id" ]; then
    echo "$*: no window titled Quorin" >&2; cat "$dir/output.txt" >&2; kill "$pid"; return 1
  fi
  local geometry
  geometry="$(x xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')"
  [ "$geometry" = "768x576" ] || { echo "window is $geometry, not 768x576" >&2; kill "$pid"; return 1; }
  screenshot "$shots" "$id" || { echo "no screenshot" >&2; kill "$pid"; return 1; }
  sleep 0.5
  tap Escape
  local code=0
  wait "$pid" || code=$?
  [ "$code" = 0 ] || { echo "exit code $code after Escape" >&2; return 1; }
}

play_once "$work/linux-game" "$work/linux-game/screenshots" timeout 300 "$native/quorin"
play_once "$work/windows-game" "$work/windows-game/screenshots" timeout 300 wine "$shipped/quorin.exe"
expected="AudioVolume = 3"
grep -q "^$expected" "$work/windows-game/Quorin.cfg" || { echo "quorin.exe wrote no Quorin.cfg" >&2; exit 1; }
cmp "$work/linux-game/Quorin.cfg" "$work/windows-game/Quorin.cfg"
cmp "$work"/linux-game/screenshots/*.png "$work"/windows-game/screenshots/*.png ||
  { echo "quorin.exe's first title picture differs from Linux's" >&2; exit 1; }
say "quorin.exe: window, first title picture, Escape and Quorin.cfg as on Linux"

# The per-user file under an APPDATA whose name is not ASCII (Greek is in no
# Western code page, so only wide paths reach it). Wine gives every program
# it starts from Linux its own APPDATA: a Windows shell sets ours.
appdata="$work/Äpp Dätä Ωμέγα"
mkdir -p "$appdata" "$work/appdata-game"
printf 'StoreUserDataLocally = 0\r\n' >"$work/appdata-game/engine.ini"
windows_path() { echo "Z:${1//\//\\}"; }
LC_ALL=C.UTF-8 play_once "$work/appdata-game" "$appdata/Brightvault/screenshots" timeout 300 wine cmd /c \
  "set APPDATA=$(windows_path "$appdata")&& $(windows_path "$shipped/quorin.exe")"
[ -f "$appdata/Brightvault/Quorin.cfg" ] || { echo "no Brightvault/Quorin.cfg under $appdata" >&2; exit 1; }
say "quorin.exe kept its user file under a non-ASCII APPDATA"
say "all Windows checks passed"
