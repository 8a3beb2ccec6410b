#!/usr/bin/env bash
# Cross-builds Quorin for 64-bit Windows with Debian's MinGW-w64 and packs
# build-windows/Quorin-<version>-windows-x64.zip.
#
#   tools/scripts/build-windows.sh [--tests] [TARGET...]
#
# Debian has no Windows builds of SDL2, libpng, libogg, libvorbis or
# googletest, so each is built here, static, from Debian's own source package
# and kept under build-windows/deps/ until its version changes. zlib comes
# built from Debian's libz-mingw-w64-dev. With --tests the test suite is built
# too; TARGETs narrow the game build (the default builds the game and
# quorin-sim and packs the zip).
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
. "$here/tools/scripts/deps.sh"
. "$here/tools/scripts/debian-source.sh"

out="${QUORIN_WINDOWS_BUILD:-$here/build-windows}"
jobs="${QUORIN_WINDOWS_JOBS:-2}"
tests=0
targets=()
for arg in "$@"; do
  case "$arg" in
    --tests) tests=1 ;;
    *) targets+=("$arg") ;;
  esac
done

quorin_install_deps "${QUORIN_WINDOWS_PACKAGES[@]}"

toolchain="$here/cmake/mingw-w64.cmake"
prefix="$out/deps/prefix"
mkdir -p "$prefix/licences" "$prefix/stamps" "$out/deps/src"
export QUORIN_WINDOWS_PREFIX="$prefix"
# Build-time tools run under Wine: a prefix of our own, no prompts, no noise.
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# build_dep NAME SOURCE-PACKAGE KEY LICENCE-FILE [CMAKE-ARGS...]
# Builds and installs one library unless the same KEY is already installed.
build_dep() {
  local name="$1" package="$2" key="$3" licence="$4"; shift 4
  local stamp="$prefix/stamps/$name"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; then return 0; fi
  local started=$SECONDS src
  src="$(quorin_debian_source "$package" "$out/deps/src")"
  echo "== windows: building $name from Debian's $package ($key)"
  rm -rf "$out/deps/build/$name"
  cmake -S "$src" -B "$out/deps/build/$name" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -Wno-dev "$@" >"$out/deps/build-$name.log" 2>&1 ||
    { tail -n 30 "$out/deps/build-$name.log" >&2; return 1; }
  { nice -n 5 cmake --build "$out/deps/build/$name" -j"$jobs" &&
    cmake --install "$out/deps/build/$name"; } >>"$out/deps/build-$name.log" 2>&1 ||
    { tail -n 30 "$out/deps/build-$name.log" >&2; return 1; }
  cp "$src/$licence" "$prefix/licences/$name.txt"
  echo "$key" >"$stamp"
  echo "== windows: $name built in $(( SECONDS - started )) s"
}

# The key of each library: its source version, the toolchain file, and the
# keys of what it is built on.
toolkey="$(sha256sum "$toolchain" | cut -c1-12)"
v_sdl="$(quorin_debian_source_version libsdl2)"
v_png="$(quorin_debian_source_version libpng1.6)"
v_ogg="$(quorin_debian_source_version libogg)"
v_vorbis="$(quorin_debian_source_version libvorbis)"
v_gtest="$(quorin_debian_source_version googletest)"
v_zlib="$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"

build_dep ogg libogg "$v_ogg $toolkey" COPYING -DINSTALL_DOCS=OFF -DBUILD_TESTING=OFF
build_dep vorbis libvorbis "$v_vorbis ogg $v_ogg $toolkey" COPYING -DBUILD_TESTING=OFF
build_dep png libpng1.6 "$v_png zlib $v_zlib $toolkey" LICENSE \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF
build_dep sdl2 libsdl2 "$v_sdl $toolkey" LICENSE.txt \
  -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL2_DISABLE_UNINSTALL=ON
if [ "$tests" = 1 ]; then
  build_dep gtest googletest "$v_gtest $toolkey" LICENSE -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON
fi
cp /usr/share/doc/libz-mingw-w64-dev/copyright "$prefix/licences/zlib.txt"

# The game, quorin-sim and (with --tests) the test suite.
game="$out/game"
started=$SECONDS
gtest=()
[ "$tests" = 1 ] && gtest=(-DGTest_DIR="$prefix/lib/cmake/GTest")
cmake -S "$here" -B "$game" -G "Unix Makefiles" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$prefix" -DQUORIN_WINDOWS_PREFIX="$prefix" \
  -DQUORIN_BENCH=OFF -DQUORIN_TESTS="$([ "$tests" = 1 ] && echo ON || echo OFF)" "${gtest[@]}" >/dev/null
if [ ${#targets[@]} -eq 0 ]; then
  targets=(quorin quorin-sim)
  [ "$tests" = 1 ] && targets+=(quorin_tests)
fi
nice -n 5 cmake --build "$game" -j"$jobs" --target "${targets[@]}"
echo "== windows: game built in $(( SECONDS - started )) s"

# The zip: the two programs, a README for Windows players and the licences.
version="$(sed -n 's/^project(Quorin VERSION \([0-9.]*\).*/\1/p' "$here/CMakeLists.txt")"
name="Quorin-$version-windows-x64"
stage="$out/zip/$name"
rm -rf "$out/zip"
mkdir -p "$stage/licences"
cp "$game/quorin.exe" "$stage/"
cp "$(find "$game" -name quorin-sim.exe -print -quit)" "$stage/"
x86_64-w64-mingw32-strip "$stage"/*.exe
sed 's/$/\r/' "$here/app/main/windows-readme.txt" >"$stage/README.txt"
sed 's/$/\r/' "$here/app/main/copyright" >"$stage/licences/Quorin.txt"
for f in "$prefix"/licences/*.txt; do
  case "$(basename "$f")" in gtest.txt) continue ;; esac  # tests only, not shipped
  sed 's/$/\r/' "$f" >"$stage/licences/$(basename "$f")"
done
sed 's/$/\r/' /usr/share/doc/mingw-w64-common/copyright >"$stage/licences/mingw-w64-runtime.txt"
sed 's/$/\r/' /usr/share/doc/gcc-mingw-w64-base/copyright >"$stage/licences/gcc-runtime.txt"
rm -f "$out/$name.zip"
(cd "$out/zip" && cmake -E tar cf "$out/$name.zip" --format=zip "$name")
echo "== windows: $out/$name.zip ($(stat -c %s "$out/$name.zip") bytes)"
