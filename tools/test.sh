#!/usr/bin/env bash
# Runs every test: unit, lab (namespaces, simulated boxes), Wine and a short fuzz run, then the
# unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer. Needs root for the lab.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"

"$top/tools/build.sh" windows >/dev/null
native=$("$top/tools/build.sh" native)
sanitize=$("$top/tools/build.sh" sanitize)
fuzz=$("$top/tools/build.sh" fuzz)

status=0
echo "== unit, lab and Wine tests"
ctest --test-dir "$native" --output-on-failure -j2 || status=1
echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ctest --test-dir "$sanitize" --output-on-failure -j2 -L unit || status=1
echo "== fuzzing"
ctest --test-dir "$fuzz" --output-on-failure -L fuzz || status=1
exit $status
