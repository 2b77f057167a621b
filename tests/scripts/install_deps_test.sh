#!/usr/bin/env bash
# The stand-ins' bodies are written in single quotes on purpose: they expand when they run.
# shellcheck disable=SC2016
# Runs scripts/install-deps.sh in a sandbox whose PATH holds only a few real
# tools and stand-ins for id, dpkg-query, sudo, apt-get, sleep and clang that
# record how they were called: nothing is installed. Checks, case by case,
# what the script tells the user and how it calls apt-get.
#   install_deps_test.sh path/to/install-deps.sh
set -uo pipefail
script=$(realpath "$1")
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT
failures=0

# A sandbox: bin/ with the stand-ins, config read by each of them (sudo
# empties the environment, so they cannot rely on it), calls.log they write.
make_sandbox() {
  box=$(mktemp -d "$top/case.XXXX")
  mkdir "$box/bin"
  for tool in bash env grep sed head cat tee mktemp rm; do
    ln -s "$(command -v "$tool")" "$box/bin/$tool"
  done
  : > "$box/config"
  : > "$box/calls.log"
  stub id '[ "$1" = -u ] && echo "$FAKE_UID"'
  stub dpkg-query 'pkg=${!#}
case " $FAKE_INSTALLED " in *" $pkg "* | " all ") printf "install ok installed" ;; *) exit 1 ;; esac'
  stub sudo 'log "sudo $*"
if [ "${FAKE_SUDO_STATUS:-0}" -ne 0 ]; then echo "sudo: a password is required" >&2; exit 1; fi
exec env -i PATH="$PATH" "$@"'
  stub apt-get 'log "apt-get $* [DEBIAN_FRONTEND=${DEBIAN_FRONTEND:-unset}]"
case " $* " in
  *" update "*)
    n=$(cat "$box/updates" 2>/dev/null || echo 0); echo $((n + 1)) > "$box/updates"
    if [ "$n" -lt "${FAKE_LISTS_LOCKED:-0}" ]; then
      echo "E: Could not get lock /var/lib/apt/lists/lock. It is held by process 4242 (apt-get)" >&2
      exit 100
    fi
    echo "Hit:1 http://deb.debian.org/debian bookworm InRelease" ;;
  *" install "*)
    echo "Unpacking ..."
    exit "${FAKE_INSTALL_STATUS:-0}" ;;
esac'
  stub sleep 'log "sleep $*"'
  stub clang 'echo "Debian clang version 14.0.6"'
}

# stub NAME BODY: a stand-in that reads the sandbox's config first.
stub() {
  cat > "$box/bin/$1" <<EOF
#!$box/bin/bash
box=$box
log() { echo "\$*" >> "\$box/calls.log"; }
. "\$box/config"
$2
EOF
  chmod +x "$box/bin/$1"
}

set_config() { echo "$1" >> "$box/config"; }
without() { rm -f "$box/bin/$1"; }

# Runs the script with the task given, as a user whose environment holds only
# the sandbox's PATH (and APT_LOCK_WAIT when a case sets it).
run() {
  status=0
  env -i PATH="$box/bin" HOME="$box" ${LOCK_WAIT:+APT_LOCK_WAIT=$LOCK_WAIT} \
    "$box/bin/bash" "$script" "$1" > "$box/out" 2>&1 || status=$?
  out=$(cat "$box/out")
}

fail() {
  echo "FAIL [$case]: $*"
  echo "  output:"; sed 's/^/    /' "$box/out"
  echo "  calls:"; sed 's/^/    /' "$box/calls.log"
  failures=$((failures + 1))
}
expect_status() { [ "$status" -eq "$1" ] || fail "exit status $status, not $1"; }
expect_out() { grep -qF -- "$1" "$box/out" || fail "the output does not say: $1"; }
expect_call() { grep -qxF -- "$1" "$box/calls.log" || fail "no call: $1"; }
expect_no_call() { ! grep -qE -- "$1" "$box/calls.log" || fail "a call matches: $1"; }
expect_calls() { [ "$(grep -cE -- "$1" "$box/calls.log")" -eq "$2" ] || fail "not $2 calls match: $1"; }

# Every run-task package but two is installed.
some_missing() {
  set_config "FAKE_INSTALLED='$(sed -n '/^run_packages=(/,/^)/p' "$script" | grep -v '^ *#' |
    sed 's/run_packages=(//; s/)//' | tr '\n' ' ' | sed 's/\bcmake\b//; s/\bxdg-utils\b//')'"
}
update_call='apt-get -o DPkg::Lock::Timeout=600 update -q [DEBIAN_FRONTEND=noninteractive]'
install_call='apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends cmake xdg-utils [DEBIAN_FRONTEND=noninteractive]'

case="root, everything installed"
make_sandbox; set_config FAKE_UID=0; set_config FAKE_INSTALLED=all
run run
expect_status 0
expect_no_call '^(apt-get|sudo)'
[ -z "$out" ] || fail "says something though nothing is missing"

case="root, two packages missing: waits for dpkg's lock, shows apt's progress"
make_sandbox; set_config FAKE_UID=0; some_missing
run run
expect_status 0
expect_out "missing, now installing: cmake xdg-utils"
expect_call "$update_call"
expect_call "$install_call"
expect_out "Hit:1"
expect_out "Unpacking"
expect_no_call '^sudo'
expect_no_call '-qq'

case="a user with sudo: apt-get keeps the frontend setting through sudo"
make_sandbox; set_config FAKE_UID=1000; some_missing
run run
expect_status 0
expect_out "through sudo"
expect_call "sudo env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 update -q"
expect_call "$update_call"
expect_call "$install_call"

case="a user without sudo: told what to do"
make_sandbox; set_config FAKE_UID=1000; some_missing; without sudo
run run
expect_status 1
expect_out "sudo is not installed"
expect_out "cmake xdg-utils"
expect_out "as root:  apt-get update && apt-get install --no-install-recommends cmake xdg-utils"
expect_out "then run this again ($script run)"
expect_no_call '^apt-get'

case="a user whom sudo refuses: told what to do"
make_sandbox; set_config FAKE_UID=1000; some_missing; set_config FAKE_SUDO_STATUS=1
run run
expect_status 1
expect_out "sudo could not run apt-get"
expect_out "as root:  apt-get update && apt-get install --no-install-recommends cmake xdg-utils"
expect_no_call '^apt-get'

case="the package lists locked by another update for a while: waits for it"
make_sandbox; set_config FAKE_UID=0; some_missing; set_config FAKE_LISTS_LOCKED=2
run run
expect_status 0
expect_out "another package manager is updating the package lists: waiting for it (0 of 600 s)"
expect_out "(5 of 600 s)"
expect_calls '^apt-get .* update ' 3
expect_calls '^sleep 5$' 2
expect_call "$install_call"

case="the package lists locked for longer than APT_LOCK_WAIT: gives up and says why"
make_sandbox; set_config FAKE_UID=0; some_missing; set_config FAKE_LISTS_LOCKED=100
LOCK_WAIT=10 run run
expect_status 100
expect_calls '^apt-get -o DPkg::Lock::Timeout=10 update ' 3
expect_out "apt-get update failed (exit status 100)"
expect_out "APT_LOCK_WAIT (now 10 s)"
expect_no_call '^apt-get .* install '

case="the install fails (dpkg's lock held past the wait): says why"
make_sandbox; set_config FAKE_UID=0; some_missing; set_config FAKE_INSTALL_STATUS=100
run run
expect_status 100
expect_out "apt-get install failed (exit status 100)"
expect_out "as root:  apt-get update && apt-get install --no-install-recommends cmake xdg-utils"

case="the test task adds the sanitizer runtimes of the installed clang"
make_sandbox; set_config FAKE_UID=0
set_config "FAKE_INSTALLED='$(sed -n '/^run_packages=(/,/^bench_packages/p' "$script" | grep -v '^ *#' |
  sed 's/[a-z_]*=(//; s/)//' | tr '\n' ' ')'"
run test
expect_status 0
expect_call 'apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends libclang-rt-14-dev [DEBIAN_FRONTEND=noninteractive]'

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "all cases pass"
