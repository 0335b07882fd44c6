#!/usr/bin/env bash
# The console in the lab: two PC interfaces with simulated boxes of different shapes behind them (one-port,
# two-port, bonded), and quorvel.exe under Wine searching them from inside the lab's PC namespace. The
# window opens on $DISPLAY when there is one, otherwise on a private Xvfb (then a screenshot's path is
# printed). It runs until the window is closed or Ctrl-C; the namespaces, Wine and Xvfb go with it.
#   tools/run.sh [--xvfb] [--screenshot PNG] [--exe PATH --title T]    (see tools/run_lab_gui.py --help)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"
native=$("$top/tools/build.sh" native)
windows=$("$top/tools/build.sh" windows)
exec python3 "$top/tools/run_lab_gui.py" --build "$native" --win-build "$windows" "$@"
