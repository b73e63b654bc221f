#!/usr/bin/env bash
# Stands in for apt-get, dpkg, dpkg-query and sudo (by the name it is
# called under) in the test of scripts/setup.sh. The machine it pretends to
# be lives in $FAKE_APT:
#   installed      packages installed, one a line (as setup names them)
#   arches         foreign architectures, one a line
#   update_fails   present: apt-get update fails on one index
#   unavailable    packages no index offers
#   broken         packages whose dependencies cannot be met
#   skewed         packages whose dependencies can be met only with the
#                  security suite held back below the main suite, which
#                  may then downgrade (--allow-downgrades)
#   calls          every call, one a line; prefs.N the preferences file
#                  handed to call N, as it was during the call
set -uo pipefail
state=${FAKE_APT:?}
touch "$state/installed" "$state/arches" "$state/unavailable" "$state/broken" "$state/skewed"
listed() { grep -qxF "$1" "$state/$2"; }

case $(basename "$0") in
  sudo)
    exec "$@" ;;
  dpkg-query)
    # dpkg-query -W -f='${db:Status-Status} ${Package}:${Architecture}\n' PACKAGE...
    code=0
    for package in "${@:3}"; do
      if listed "$package" installed; then
        case $package in *:*) echo "installed $package" ;; *) echo "installed $package:amd64" ;; esac
      else
        echo "dpkg-query: no packages found matching $package" >&2
        code=1
      fi
    done
    exit $code ;;
  dpkg)
    case $1 in --print-*) ;; *) echo "dpkg $*" >>"$state/calls" ;; esac
    case $1 in
      --print-architecture) echo amd64 ;;
      --print-foreign-architectures) cat "$state/arches" ;;
      --add-architecture) listed "$2" arches || echo "$2" >>"$state/arches" ;;
      *) echo "fake dpkg: unexpected $*" >&2; exit 2 ;;
    esac
    exit 0 ;;
  apt-get) ;;
  *) echo "fake package tools: called as $0" >&2; exit 2 ;;
esac

echo "apt-get $*" >>"$state/calls"
call=$(grep -c '' "$state/calls")
command="" prefs="" downgrades=no packages=()
while [ $# -gt 0 ]; do
  case $1 in
    -o) case $2 in Dir::Etc::Preferences=*) prefs=${2#*=} ;; esac; shift ;;
    --allow-downgrades) downgrades=yes ;;
    -*) ;;
    *) if [ -z "$command" ]; then command=$1; else packages+=("$1"); fi ;;
  esac
  shift
done
[ -n "$prefs" ] && cp "$prefs" "$state/prefs.$call"

if [ "$command" = update ]; then
  if [ -e "$state/update_fails" ]; then
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?" >&2
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead." >&2
    exit 100
  fi
  exit 0
fi
[ "$command" = install ] || { echo "fake apt-get: unexpected command $command" >&2; exit 2; }

# Whether the preferences hold the security suite back (never chosen) and
# put the main suite at 1000 or more, so an installed newer version may go.
held_back() {
  [ -n "$prefs" ] && [ "$downgrades" = yes ] || return 1
  awk '/^Pin: release n=[a-z]+-security$/ { s = 1; next }
       /^Pin: release n=[a-z]+$/ { m = 1; next }
       /^Pin-Priority:/ { if (s && $2 < 0) hs = 1; if (m && $2 >= 1000) hm = 1 }
       /^$/ { s = m = 0 }
       END { exit !(hs && hm) }' "$prefs"
}
for p in "${packages[@]}"; do
  if listed "$p" unavailable; then echo "E: Unable to locate package $p" >&2; exit 100; fi
done
for p in "${packages[@]}"; do
  if listed "$p" broken || { listed "$p" skewed && ! held_back; }; then
    cat >&2 <<EOF
Some packages could not be installed.
The following packages have unmet dependencies:
 libwine:i386 : Depends: libgstreamer-plugins-base1.0-0:i386 (>= 1.0.0) but it is not going to be installed
E: Unable to correct problems, you have held broken packages.
EOF
    exit 100
  fi
done
printf '%s\n' "${packages[@]}" >>"$state/installed"
