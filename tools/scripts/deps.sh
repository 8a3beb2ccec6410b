# Sourced by ./play and ./check: installs the Debian packages the build needs,
# only when something is missing.
quorin_install_deps() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if ! command -v apt-get >/dev/null 2>&1; then
    echo "Missing packages: ${missing[*]}. Install them with your package manager." >&2
    return 1
  fi
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo[@]}" apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

QUORIN_BUILD_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libpng-dev zlib1g-dev libvorbis-dev libogg-dev)
QUORIN_TEST_PACKAGES=(libgtest-dev libbenchmark-dev xvfb xdotool x11-utils desktop-file-utils)
# The fuzz targets (clang with its libFuzzer runtime) and the soak's memory figure.
QUORIN_HARDEN_PACKAGES=(clang libclang-rt-14-dev time)
# The Windows build (MinGW-w64 with posix threads) and Wine to run it.
QUORIN_WINDOWS_PACKAGES=(cmake pkg-config g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine wine64)
