#!/usr/bin/env bash
# Builds one tree: native (default), windows, sanitize or fuzz. Prints the build folder.
#   tools/build.sh [native|windows|sanitize|fuzz]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:-native}
case "$kind" in
  native)   dir=$top/build;          args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
  windows)  dir=$top/build-win;      args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake") ;;
  sanitize) dir=$top/build-sanitize; args=(-DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++) ;;
  fuzz)     dir=$top/build-fuzz;     args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++) ;;
  *) echo "usage: tools/build.sh [native|windows|sanitize|fuzz]" >&2; exit 2 ;;
esac
if [ "$kind" = native ]; then args+=(-DQUORVEL_WINDOWS_BUILD="$top/build-win"); fi
cmake -S "$top" -B "$dir" -G Ninja "${args[@]}" >/dev/null
ninja -C "$dir" >&2
echo "$dir"
