#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (build-fuzz/, with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for SECONDS (default 60) from the committed corpus.
# New inputs go to build-fuzz/corpus/, crashes to build-fuzz/crashes/; exits non-zero on a crash.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
seconds="${1:-60}"

# clang and its fuzzer runtime, only for this script.
install_packages clang-14 libclang-rt-14-dev
export CCACHE_BASEDIR="$ZORVEL_ROOT"
launcher=()
if command -v ccache >/dev/null 2>&1; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
say "Configuring build-fuzz"
cmake -S "$ZORVEL_ROOT" -B "$ZORVEL_ROOT/build-fuzz" -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZORVEL_FUZZ=ON -DZORVEL_GUI=OFF -DZORVEL_TESTS=OFF "${launcher[@]}"
say "Building the fuzz targets"
cmake --build "$ZORVEL_ROOT/build-fuzz" -j "$ZORVEL_JOBS" --target fuzz_record_reader fuzz_loaders fuzz_startup fuzz_csv_import \
  fuzz_health_export

status=0
for target in record_reader loaders startup csv_import health_export; do
  work="$ZORVEL_ROOT/build-fuzz/corpus/$target"
  crashes="$ZORVEL_ROOT/build-fuzz/crashes/$target"
  mkdir -p "$work" "$crashes"
  say "Fuzzing $target for $seconds s"
  if ! "$ZORVEL_ROOT/build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "$ZORVEL_ROOT/fuzz/corpus/$target"; then
    echo "fuzz_$target found a fault: see $crashes" >&2
    status=1
  fi
done
exit $status
