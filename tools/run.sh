#!/usr/bin/env bash
# The lab: two PC interfaces with simulated boxes of different shapes behind them (one-port,
# two-port, bonded), and the program searching them from inside the lab's PC namespace.
# Everything runs in private network namespaces that are removed again on exit.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
build=$("$top/tools/build.sh" native)
exec python3 "$top/tools/lab/lab.py" --nets 2 --boxsim "$build/tools/boxsim/quorvel-boxsim" \
  --sim "0:$top/tools/lab/demo/net0.json" --sim "1:$top/tools/lab/demo/net1.json" -- \
  sh -c '"$1" search && echo && "$1" search --json' lab-demo "$build/tools/cli/quorvel-cli"
