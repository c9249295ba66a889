#!/usr/bin/env bash
# Sets up, builds from scratch and runs every test: the normal build, then the whole suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and the upload thread's tests under
# ThreadSanitizer, then a short run of every fuzz target. Warnings are errors here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
jobs=$(nproc)

cmake -S "$root" -B "$root/build-test" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQB_WERROR=ON
cmake --build "$root/build-test" -j "$jobs"
ctest --test-dir "$root/build-test" --output-on-failure -j "$jobs"

cmake -S "$root" -B "$root/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQB_SANITIZE=ON \
  -DQB_WERROR=ON
cmake --build "$root/build-asan" -j "$jobs"
ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

cmake -S "$root" -B "$root/build-tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQB_TSAN=ON \
  -DQB_WERROR=ON -DQB_BUILD_BENCH=OFF
cmake --build "$root/build-tsan" -j "$jobs" --target qb_online_tests
ctest --test-dir "$root/build-tsan" --output-on-failure -j "$jobs" -R '^(Upload|VersionToken)\.'

# Last, every fuzz target for a short run from its seeds, where Clang is there to build them.
if command -v clang++ >/dev/null; then
  "$root/scripts/fuzz.sh" 20000
else
  echo "fuzz targets skipped: no clang++ on this machine"
fi
