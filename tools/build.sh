#!/usr/bin/env bash
# Builds one tree: native (default), windows, sanitize, tsan or fuzz. Prints the build folder.
#   tools/build.sh [native|windows|sanitize|tsan|fuzz]
# tsan builds only what its stage runs: the busy-work and protocol tests, the hidden services' and the
# panel's tests (with busy work on a real worker), quorvel-cli and the simulator.
# Its binaries (the test discovery at build time too) run with address randomisation off (setarch -R),
# which ThreadSanitizer needs on kernels with many bits of it.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-native}
case "$kind" in
  native)   dir=$top/build;          args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  windows)  dir=$top/build-win;      args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake") ;;
  sanitize) dir=$top/build-sanitize; args=(-DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++) ;;
  tsan)     dir=$top/build-tsan;     args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_TSAN=ON -DCMAKE_CXX_COMPILER=clang++) ;;
  fuzz)     dir=$top/build-fuzz;     args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: tools/build.sh [native|windows|sanitize|tsan|fuzz]" >&2; exit 2 ;;
esac
if [ "$kind" = native ]; then args+=(-DQUORVEL_WINDOWS_BUILD="$top/build-win"); fi
cmake -S "$top" -B "$dir" -G Ninja "${args[@]}" >/dev/null
if [ "$kind" = tsan ]; then
  setarch "$(uname -m)" -R ninja -C "$dir" framework_test protocol_test codepage_test panel_test quorvel-cli quorvel-boxsim >&2
else
  ninja -C "$dir" >&2
fi
echo "$dir"
