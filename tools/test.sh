#!/usr/bin/env bash
# Runs every test: unit, lab (namespaces, simulated boxes), Wine and a short fuzz run, then the
# unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, the busy work, the protocol, the
# hidden services and the panel (their work on a real worker) and the lab searches under ThreadSanitizer, and last the release check (two
# release builds of the commit from clean clones, byte for byte, and the package installed and removed).
# Needs root for the lab and the package.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"

"$top/tools/build.sh" windows >/dev/null
native=$("$top/tools/build.sh" native)
sanitize=$("$top/tools/build.sh" sanitize)
fuzz=$("$top/tools/build.sh" fuzz)
tsan=$("$top/tools/build.sh" tsan)

status=0
echo "== unit, lab and Wine tests"
ctest --test-dir "$native" --output-on-failure -j2 -LE release || status=1
echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --test-dir "$sanitize" --output-on-failure -j2 -L unit || status=1
echo "== ThreadSanitizer: busy work, the protocol, the hidden services and the panel with their work on a real"
echo "   worker while the test plays the user-interface thread, and the lab searches with quorvel-cli and the simulator"
for binary in framework_test protocol_test; do
  setarch "$(uname -m)" -R "$tsan/tests/unit/$binary" --gtest_brief=1 || status=1
done
for binary in codepage_test panel_test; do
  QUORVEL_HEADLESS_THREADED=1 setarch "$(uname -m)" -R "$tsan/tests/unit/$binary" --gtest_brief=1 || status=1
done
setarch "$(uname -m)" -R ctest --test-dir "$tsan" --output-on-failure -R '^lab\.search$' || status=1
echo "== fuzzing"
ctest --test-dir "$fuzz" --output-on-failure -L fuzz || status=1
echo "== release: two builds of the commit from clean clones, the zip, the checksums and the package"
ctest --test-dir "$native" --output-on-failure -L release || status=1
exit $status
