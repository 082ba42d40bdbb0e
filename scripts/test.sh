#!/bin/sh
# The test command: installs what the tests need, starts a real Firebird server,
# builds with warnings as errors and runs the whole suite, then again under
# AddressSanitizer and UndefinedBehaviorSanitizer. Run it as root.
set -eu
cd "$(dirname "$0")/.."
JOBS=$(nproc)

scripts/setup-packages.sh
scripts/start-test-server.sh

# The local engine gets a root of its own, so it works beside the server.
scripts/embedded-root.sh "$(pwd)/build/fbroot"
export TRACORA_EMBEDDED_ROOT="$(pwd)/build/fbroot"
export TRACORA_TEST_SERVER=localhost
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRACORA_WERROR=ON
cmake --build build/test -j "$JOBS"
ctest --test-dir build/test --output-on-failure -j "$JOBS" --timeout 300

if [ "${TRACORA_SKIP_SANITIZERS:-}" != 1 ]; then
  cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRACORA_WERROR=ON \
    -DTRACORA_SANITIZE=ON
  cmake --build build/sanitize -j "$JOBS"
  # Leaks inside Qt's and the client library's own caches are not ours to fix.
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$JOBS" --timeout 600
fi
