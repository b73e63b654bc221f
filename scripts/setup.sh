#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Vyrtel.
# Idempotent: when everything is present it only checks and returns.
#
# The packages come in three lists, right below:
# - needed: the build and the x86-64 build's tests. One that cannot be
#   installed stops the setup, named, with exit code 1.
# - optional: test data. One that cannot be installed is named in one line
#   and the setup goes on.
# - i386: the 32-bit Wine, for the i386 build's Wine tests. Asked for in a
#   step of its own, and only where this host executes i386 code
#   (scripts/host-runs-i386.sh). When it cannot be installed, one line says
#   why and the setup goes on; the tests then run as on a host without
#   i386 (scripts/wine32-runs.sh tells them).
#
# A package index that fails to update is reported in one line, and the
# setup goes on with the indexes it has. A mirror caught mid-sync can leave
# the i386 security index behind the amd64 one: the i386 libraries on offer
# are then older than the amd64 ones installed, and a multi-arch library
# must have one version in both, so apt finds no way to install the 32-bit
# Wine. On such a dependency failure the i386 step is tried once more with
# the security suite held back to the main suite's versions for both
# architectures, through a preferences file handed to that one apt-get
# call, so the machine's apt configuration stays as it was (the next
# `apt-get upgrade` brings the security versions back).
#
# Why the 32-bit Wine could not be installed is kept in
# <build>/i386-wine-not-installed.txt for the test command to repeat.
# BUILD_DIR chooses the build folder (default: build).
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

needed=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
  wine wine64 fonts-wine fonts-liberation xvfb x11-xkb-utils xdotool imagemagick x11-utils
  valgrind python3 zip unzip wixl msitools
  wukrainian wamerican wbritish
)
optional=(manpages manpages-uk man-db groff-base)
i386=(wine32:i386)

note=${BUILD_DIR:-build}/i386-wine-not-installed.txt

say() { echo "setup: $*" >&2; }

# The packages of the arguments that are not installed, one a line.
missing_of() {
  local native present p
  native=$(dpkg --print-architecture)
  present=$(dpkg-query -W -f='${db:Status-Status} ${Package}:${Architecture}\n' "$@" 2>/dev/null |
    sed -n "s/^installed //p" | sed "s/:\($native\|all\)\$//")
  for p in "$@"; do
    grep -qxF "$p" <<<"$present" || echo "$p"
  done
}

# The line of apt's output that says what went wrong, and the first
# dependency it could not meet.
why() {
  local error unmet
  error=$(grep -m 1 '^E:' "$1" | sed 's/^E: *//; s/\.$//')
  unmet=$(sed -n '/unmet dependencies:/{n;p;q}' "$1" | sed 's/^ *//; s/  */ /g')
  echo "${error:-apt-get failed}${unmet:+ (first unmet: $unmet)}"
}

log=$(mktemp)
prefs=$(mktemp)
trap 'rm -f "$log" "$prefs"' EXIT

SUDO=()
if [ "$(id -u)" -ne 0 ]; then SUDO=(sudo); fi
export DEBIAN_FRONTEND=noninteractive

install() {
  "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "$@" >"$log" 2>&1
}

# Installs the packages in one go, or else one by one; prints each that
# failed as "package: why", one a line.
install_each() {
  install "$@" && return 0
  local p
  for p in "$@"; do
    install "$p" || echo "$p: $(why "$log")"
  done
}

mapfile -t missing_needed < <(missing_of "${needed[@]}")
mapfile -t missing_optional < <(missing_of "${optional[@]}")
missing_i386=()
if scripts/host-runs-i386.sh >/dev/null; then
  mapfile -t missing_i386 < <(missing_of "${i386[@]}")
fi
[ ${#missing_i386[@]} -eq 0 ] && rm -f "$note"
all=("${missing_needed[@]}" "${missing_optional[@]}" "${missing_i386[@]}")
[ ${#all[@]} -eq 0 ] && exit 0

say "installing ${all[*]}"
if [ ${#missing_i386[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${SUDO[@]}" dpkg --add-architecture i386
fi
if ! "${SUDO[@]}" apt-get update -qq >"$log" 2>&1; then
  say "the package indexes did not all update ($(grep -m 1 '^E:' "$log" | sed 's/^E: *//')); going on with the indexes at hand"
fi

if [ ${#missing_needed[@]} -gt 0 ]; then
  failed=$(install_each "${missing_needed[@]}")
  if [ -n "$failed" ]; then
    while IFS= read -r line; do say "cannot install ${line%%: *}, which the build needs: ${line#*: }"; done <<<"$failed"
    exit 1
  fi
fi

if [ ${#missing_optional[@]} -gt 0 ]; then
  failed=$(install_each "${missing_optional[@]}")
  while IFS= read -r line; do
    [ -n "$line" ] && say "could not install ${line%%: *} (test data; going on without it): ${line#*: }"
  done <<<"$failed"
fi

[ ${#missing_i386[@]} -eq 0 ] && exit 0
wine32="the 32-bit Wine (${missing_i386[*]})"
if install "${missing_i386[@]}"; then
  rm -f "$note"
  exit 0
fi
reason=$(why "$log")
codename=$( . /etc/os-release 2>/dev/null; echo "${VERSION_CODENAME:-}")
if [ -n "$codename" ] && grep -qE 'unmet dependencies|held broken packages|generated breaks' "$log"; then
  # The main suite and its updates above 1000, so that an amd64 library
  # installed from the security suite may go back to their version.
  {
    printf 'Package: *\nPin: release n=%s-security\nPin-Priority: -1\n\n' "$codename"
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 1001\n\n' "$codename" "$codename-updates"
    cat /etc/apt/preferences 2>/dev/null
  } >"$prefs"
  if install --allow-downgrades -o Dir::Etc::Preferences="$prefs" "${missing_i386[@]}"; then
    say "installed $wine32 on a second try, with the $codename-security packages held back to $codename's versions for both architectures (the first try failed: $reason); apt-get upgrade brings the security versions back"
    rm -f "$note"
    exit 0
  fi
  reason="$reason; tried again with $codename-security held back to $codename's versions: $(why "$log")"
fi
line="$wine32 could not be installed: $reason"
say "$line; the i386 build's Wine tests will not run (its files are checked, and the x86-64 build's Wine tests run)"
mkdir -p "$(dirname "$note")" && echo "$line" >"$note"
exit 0
