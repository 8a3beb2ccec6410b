#!/usr/bin/env bash
# Builds the game for the browser with Debian's Emscripten into build-web/site/
# (index.html, quorin.js, quorin.wasm, the icon; ready for any static server)
# and quorin-sim for Node into build-web/quorin-sim.js.
#
# SDL2, zlib, libpng, libogg and libvorbis are built from Debian's own source
# packages with emcc (Emscripten's port system would download them), each
# kept under build-web/deps/ until its Debian version changes.
#
#   tools/scripts/build-web.sh           build (again: only what changed)
#   tools/scripts/build-web.sh serve     build, then serve the site on 127.0.0.1:8000
#   tools/scripts/build-web.sh bench     build, and the busy-frame benchmark for tools/web/bench.js
#
# QUORIN_WEB_DIR puts the build elsewhere; QUORIN_WEB_JOBS sets the parallel jobs.
set -euo pipefail
here="$(cd "$(dirname "$0")/../.." && pwd)"
. "$here/tools/scripts/deps.sh"
. "$here/tools/scripts/debian-source.sh"
out="${QUORIN_WEB_DIR:-$here/build-web}"
jobs="${QUORIN_WEB_JOBS:-$(nproc 2>/dev/null || echo 2)}"
started=$SECONDS

quorin_install_deps "${QUORIN_BUILD_PACKAGES[@]}" emscripten nodejs
# emcc's JavaScript optimiser needs Debian's node modules.
export NODE_PATH=/usr/share/nodejs
# Quiet, and never a port download.
export EMCC_SKIP_SANITY_CHECK=1

prefix="$out/deps/prefix"
mkdir -p "$out/src" "$out/deps/stamps" "$prefix"
# CMake's try-run checks run the .js programs they build; node 20 needs the
# synchronous path to load a local .wasm.
cat >"$out/deps/node-run" <<'EOF'
#!/bin/sh
exec node --no-experimental-fetch "$@"
EOF
chmod +x "$out/deps/node-run"
# Every library and the game find each other only inside the prefix.
cmake_common=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
  -DCMAKE_FIND_ROOT_PATH="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="$out/deps/node-run"
  -DBUILD_SHARED_LIBS=OFF -DCMAKE_C_FLAGS=-O2)
export PKG_CONFIG_LIBDIR="$prefix/lib/pkgconfig"

build_zlib() {
  # Its CMake build names a file Debian's tarball leaves out; configure works.
  (cd "$1" && CFLAGS=-O2 emconfigure ./configure --static --prefix="$prefix" >/dev/null &&
    emmake make -j"$jobs" install >/dev/null && emmake make distclean >/dev/null 2>&1 || true)
  [ -f "$prefix/lib/libz.a" ]
}
build_cmake() {
  local src="$1" name="$2"; shift 2
  local dir="$out/deps/build/$name"
  rm -rf "$dir"
  emcmake cmake -S "$src" -B "$dir" "${cmake_common[@]}" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs" >/dev/null
  cmake --install "$dir" >/dev/null
}
build_libpng() {
  build_cmake "$1" libpng -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_EXECUTABLES=OFF -DPNG_TESTS=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$prefix"
}
build_libogg() { build_cmake "$1" libogg -DINSTALL_DOCS=OFF; }
build_libvorbis() { build_cmake "$1" libvorbis -DOgg_DIR="$prefix/lib/cmake/Ogg"; }
build_libsdl2() {
  build_cmake "$1" libsdl2 -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_TESTS=OFF
}

# Dependencies in link order of need: zlib before libpng, libogg before libvorbis.
for pkg in zlib libpng1.6 libogg libvorbis libsdl2; do
  version="$(quorin_debian_source_version "$pkg")"
  [ -n "$version" ] || { echo "No Debian source package $pkg" >&2; exit 1; }
  stamp="$out/deps/stamps/$pkg-${version//[:\/]/_}"
  [ -f "$stamp" ] && continue
  t=$SECONDS
  echo "== web: $pkg $version"
  src="$(quorin_debian_source "$pkg" "$out/src")"
  case "$pkg" in
    libpng1.6) build_libpng "$src" ;;
    *) "build_$pkg" "$src" ;;
  esac
  rm -f "$out/deps/stamps/$pkg-"*
  touch "$stamp"
  echo "== web: $pkg built in $((SECONDS - t)) s"
done

# The game and quorin-sim, against the libraries above only. WebAssembly's
# SIMD (every current browser has it) lets the compiler vectorise the pixel
# loops as it does natively: the busy frame's drawing takes 40% less.
game="$out/game"
echo "== web: configure ($((SECONDS - started)) s)"
EM_PKG_CONFIG_PATH="$prefix/lib/pkgconfig" emcmake cmake -S "$here" -B "$game" "${cmake_common[@]}" \
  -DCMAKE_C_FLAGS= -DCMAKE_CXX_FLAGS=-msimd128 -DQUORIN_TESTS=OFF -DSDL2_DIR="$prefix/lib/cmake/SDL2" >/dev/null
echo "== web: build ($((SECONDS - started)) s)"
cmake --build "$game" -j"$jobs" --target quorin quorin-sim

site="$out/site"
mkdir -p "$site"
cp "$here/runtime/web/index.html" "$game/quorin.js" "$game/quorin.wasm" "$site/"
cp "$game/icons/hicolor/64x64/apps/quorin.png" "$site/quorin.png"
cp "$game/quorin-sim.js" "$game/quorin-sim.wasm" "$out/"
echo "== web: site in $site ($(du -sk "$site" | cut -f1) KB), $out/quorin-sim.js ($((SECONDS - started)) s)"

# The busy-frame benchmark too, for tools/web/bench.js.
if [ "${1:-}" = bench ]; then
  cmake --build "$game" -j"$jobs" --target quorin_busy_frame
  echo "== web: $game/bench/quorin_busy_frame.js"
fi

if [ "${1:-}" = serve ]; then
  echo "== web: serving http://127.0.0.1:8000/ (Ctrl+C ends)"
  exec node "$here/tools/web/serve.js" "$site" 8000
fi
