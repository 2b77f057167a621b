#!/usr/bin/env bash
# Configures the project as `make run` and `make test` do, on a machine where
# GoogleTest is missing (CMake is told not to find it): `make run` must not
# warn about what only the tests need, and `make test` must still warn and
# get a failing test that says what to install.
#   make_run_test.sh SOURCE_DIR
set -uo pipefail
src=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL [$target]: $*"; sed 's/^/    /' "$work/$target.log"; failures=$((failures + 1)); }

# The configure command that `make TARGET` runs, as make would run it.
configure() {
  target=$1
  local line
  line=$(make -s -n -C "$src" "$target" BUILD="$work/$target" \
           CMAKE_FLAGS=-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON | grep '^cmake -S ')
  [ -n "$line" ] || { echo "FAIL [$target]: make $target runs no configure"; failures=$((failures + 1)); return 1; }
  (cd "$src" && eval "$line") > "$work/$target.log" 2>&1 || fail "configuring failed"
}

if configure run; then
  ! grep -q 'CMake Warning' "$work/run.log" || fail "warns though only the program is built"
fi

if configure test; then
  grep -q 'CMake Warning' "$work/test.log" || fail "does not warn that the tests cannot be built"
  ctest --output-on-failure --test-dir "$work/test" -R '^GoogleTestInstalled$' > "$work/test.log" 2>&1 &&
    fail "GoogleTestInstalled passes"
  grep -q 'Run scripts/install-deps.sh test' "$work/test.log" || fail "GoogleTestInstalled does not say what to install"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "all cases pass"
