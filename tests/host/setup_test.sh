#!/usr/bin/env bash
# scripts/setup.sh's decisions, against stand-ins for apt-get, dpkg,
# dpkg-query and sudo (fake_package_tools.sh). The PATH it runs under holds
# the stand-ins and a few plain tools only, so no real package tool can be
# reached. Each case: what the machine is like, then what setup installs,
# what it says and how it ends.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
setup=${1:-$here/../../scripts/setup.sh}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/bin"
for tool in apt-get dpkg dpkg-query sudo; do ln -s "$here/fake_package_tools.sh" "$work/bin/$tool"; done
for tool in bash env grep sed awk cat cp rm mkdir mktemp dirname basename id touch head; do
  ln -s "$(command -v "$tool")" "$work/bin/$tool"
done
codename=$( . /etc/os-release 2>/dev/null; echo "${VERSION_CODENAME:-}")

failures=0
fail() { echo "FAIL [$case]: $*"; failures=$((failures + 1)); }

# machine NAME runs_i386=yes|no: a fresh copy of the repository's scripts
# and a machine with everything installed; the case then takes away what
# it needs to.
machine() {
  case=$1
  root=$work/$case
  mkdir -p "$root/repo/scripts" "$root/apt"
  cp "$setup" "$root/repo/scripts/setup.sh"
  printf '#!/usr/bin/env bash\n%s\n' "$([ "$2" = yes ] && echo 'exit 0' || echo 'echo "no i386 here"; exit 1')" \
    >"$root/repo/scripts/host-runs-i386.sh"
  chmod +x "$root/repo/scripts/setup.sh" "$root/repo/scripts/host-runs-i386.sh"
  export FAKE_APT=$root/apt
  sed -n '/^needed=(/,/^)/p; /^optional=/p; /^i386=/p' "$setup" | tr -d '()' |
    sed 's/^[a-z0-9]*=//' | tr ' ' '\n' | grep -v '^$' >"$FAKE_APT/installed"
  echo i386 >"$FAKE_APT/arches"
}
lacks() { for p in "$@"; do grep -vxF "$p" "$FAKE_APT/installed" >"$FAKE_APT/x"; mv "$FAKE_APT/x" "$FAKE_APT/installed"; done; }
offers_not() { printf '%s\n' "$@" >>"$FAKE_APT/unavailable"; }

run_setup() {
  said=$(cd / && env -i PATH="$work/bin" FAKE_APT="$FAKE_APT" HOME="$root" \
    bash "$root/repo/scripts/setup.sh" 2>&1)
  code=$?
}
expect_code() { [ "$code" -eq "$1" ] || fail "exit code $code, not $1; said: $said"; }
expect_said() { grep -qF -- "$1" <<<"$said" || fail "did not say '$1'; said: $said"; }
expect_lines() { [ "$(grep -c '' <<<"$said")" -eq "$1" ] || fail "said $(grep -c '' <<<"$said") lines, not $1: $said"; }
expect_silent() { [ -z "$said" ] || fail "said something: $said"; }
installed() { grep -qxF "$1" "$FAKE_APT/installed"; }
expect_installed() { for p in "$@"; do installed "$p" || fail "$p not installed"; done; }
expect_not_installed() { for p in "$@"; do installed "$p" && fail "$p installed"; done; }
calls() { cat "$FAKE_APT/calls" 2>/dev/null | grep -c -- "$1"; }
expect_calls() { [ "$(calls "$1")" -eq "$2" ] || fail "$(calls "$1") calls matching '$1', not $2: $(cat "$FAKE_APT/calls")"; }
note() { echo "$root/repo/build/i386-wine-not-installed.txt"; }

machine everything_present yes
run_setup
expect_code 0; expect_silent; expect_calls apt-get 0

machine host_without_i386_needs_no_32_bit_wine no
lacks wine32:i386
run_setup
expect_code 0; expect_silent; expect_calls . 0

machine fresh_host_gets_the_i386_architecture_and_everything yes
lacks xdotool wukrainian manpages-uk wine32:i386
: >"$FAKE_APT/arches"
run_setup
expect_code 0; expect_lines 1; expect_said "installing xdotool wukrainian manpages-uk wine32:i386"
expect_installed xdotool wukrainian manpages-uk wine32:i386
expect_calls "dpkg --add-architecture i386" 1; expect_calls "apt-get update" 1
expect_calls "install.*wine32:i386" 1; expect_calls "install.*xdotool.*wukrainian" 1
[ -e "$(note)" ] && fail "a note left behind although wine32 installed"

machine failed_update_goes_on_and_unmeetable_32_bit_wine_is_reported yes
lacks xdotool wine32:i386
touch "$FAKE_APT/update_fails"
echo wine32:i386 >"$FAKE_APT/broken"
run_setup
expect_code 0; expect_lines 3
expect_said "the package indexes did not all update (Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz"
expect_said "going on with the indexes at hand"
expect_said "the 32-bit Wine (wine32:i386) could not be installed: Unable to correct problems, you have held broken packages (first unmet: libwine:i386 : Depends: libgstreamer-plugins-base1.0-0:i386 (>= 1.0.0) but it is not going to be installed)"
expect_said "the i386 build's Wine tests will not run"
expect_installed xdotool; expect_not_installed wine32:i386
if [ -n "$codename" ]; then
  expect_calls "install.*--allow-downgrades.*Dir::Etc::Preferences=.*wine32:i386" 1
  expect_said "tried again with $codename-security held back"
fi
grep -qF "could not be installed" "$(note)" 2>/dev/null || fail "no note of why for the test command"

machine skewed_32_bit_wine_installs_with_the_security_suite_held_back yes
lacks wine32:i386
echo wine32:i386 >"$FAKE_APT/skewed"
run_setup
if [ -n "$codename" ]; then
  expect_code 0; expect_lines 2
  expect_said "installed the 32-bit Wine (wine32:i386) on a second try, with the $codename-security packages held back to $codename's versions for both architectures"
  expect_installed wine32:i386
  prefs=$(grep -o 'Dir::Etc::Preferences=[^ ]*' "$FAKE_APT/calls" | cut -d= -f2)
  [ -e "$prefs" ] && fail "the preferences file $prefs was left behind"
  grep -qx "Pin: release n=$codename-updates" "$FAKE_APT"/prefs.* || fail "the updates suite is not kept with the main one"
  [ -e "$(note)" ] && fail "a note left behind although wine32 installed"
fi

machine a_32_bit_wine_no_index_offers_is_not_tried_again yes
lacks wine32:i386
offers_not wine32:i386
run_setup
expect_code 0; expect_calls "install" 1
expect_said "the 32-bit Wine (wine32:i386) could not be installed: Unable to locate package wine32:i386; the i386 build's Wine tests will not run"

machine a_needed_package_that_cannot_be_installed_stops_setup_named yes
lacks cmake wukrainian xdotool
offers_not wukrainian
run_setup
expect_code 1
expect_said "cannot install wukrainian, which the build needs: Unable to locate package wukrainian"
expect_installed cmake xdotool; expect_not_installed wukrainian

machine missing_test_data_is_reported_and_setup_goes_on yes
lacks manpages manpages-uk xdotool
offers_not manpages-uk
run_setup
expect_code 0; expect_lines 2
expect_said "could not install manpages-uk (test data; going on without it): Unable to locate package manpages-uk"
expect_installed manpages xdotool

[ "$failures" -eq 0 ] || { echo "$failures failed"; exit 1; }
echo "every case of setup's decisions passed"
