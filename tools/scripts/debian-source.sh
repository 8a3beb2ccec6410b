# Sourced by the Windows and web build scripts: unpacks Debian's own source
# package of a library, so the cross builds use the same code as the native one.
#
#   quorin_debian_source NAME DEST   unpacks source package NAME under DEST and
#                                    prints the unpacked folder; an unpacked
#                                    folder already there is reused.
#   quorin_debian_source_version NAME  prints the version apt would fetch.
#
# Source packages are enabled by a deb-src list made from the machine's own
# Debian list (same URIs and suites), written once.
quorin_enable_debian_sources() {
  local list=/etc/apt/sources.list.d/quorin-deb-src.sources
  [ -f "$list" ] && return 0
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  local src=""
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    src="$(sed -n 's/^Types:.*\bdeb\b.*/Types: deb-src/;p' /etc/apt/sources.list.d/debian.sources)"
  elif [ -f /etc/apt/sources.list ]; then
    # One-line format: keep each deb line's URI, suite and components.
    src="$(awk '$1 == "deb" { $1 = ""; sub(/^ /, ""); print }' /etc/apt/sources.list |
      sed 's/^\[[^]]*\] //' |
      awk '{ printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents:", $1, $2; for (i = 3; i <= NF; i++) printf " %s", $i; printf "\n\n" }')"
  fi
  if [ -z "$src" ]; then
    echo "No Debian package list found to make a source list from." >&2
    return 1
  fi
  printf '%s\n' "$src" | "${sudo[@]}" tee "$list" >/dev/null
  "${sudo[@]}" apt-get update -qq
}

quorin_debian_source_version() {
  quorin_enable_debian_sources >&2 || return 1
  apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/ { print $2; exit }'
}

quorin_debian_source() {
  local name="$1" dest="$2"
  quorin_enable_debian_sources >&2 || return 1
  mkdir -p "$dest"
  local version upstream dir
  version="$(quorin_debian_source_version "$name")" || return 1
  [ -n "$version" ] || { echo "No source package $name" >&2; return 1; }
  upstream="${version#*:}"; upstream="${upstream%-*}"
  dir="$(find "$dest" -maxdepth 1 -mindepth 1 -type d -name "*-${upstream%%+*}*" | head -n1)"
  if [ -z "$dir" ]; then
    # apt-get source unpacks as root into the current folder; no build deps needed.
    # The newest version may sit in an archive that carries no sources (the
    # security one, on some mirrors): then fetch the version named above.
    (cd "$dest" && { apt-get source -qq --only-source "$name" >/dev/null 2>&1 ||
      apt-get source -qq --only-source "$name=$version" >/dev/null 2>&1; }) || {
      echo "apt-get source $name failed" >&2; return 1; }
    dir="$(find "$dest" -maxdepth 1 -mindepth 1 -type d -name "*-${upstream%%+*}*" | head -n1)"
  fi
  [ -n "$dir" ] || { echo "Unpacked source of $name not found under $dest" >&2; return 1; }
  echo "$dir"
}
