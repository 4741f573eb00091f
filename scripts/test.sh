#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds everything and runs every test: first the normal build
# (with the window and its tests) in build/, then the core suite once more built with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/.
# Exits non-zero when anything fails.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

install_packages
status=0

configure_and_build build -DZORVEL_GUI=ON
say "Running the tests of build/"
ctest --test-dir "$ZORVEL_ROOT/build" --output-on-failure -j "$ZORVEL_JOBS" || status=1

configure_and_build build-sanitize -DZORVEL_GUI=OFF -DZORVEL_SANITIZE=ON
say "Running the tests of build-sanitize/ (address and undefined-behaviour sanitizers)"
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --test-dir "$ZORVEL_ROOT/build-sanitize" --output-on-failure -j "$ZORVEL_JOBS" || status=1

if [ "$status" -eq 0 ]; then
  say "All tests passed"
else
  say "Some tests FAILED (see above)"
fi
exit "$status"
