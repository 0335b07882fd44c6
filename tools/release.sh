#!/usr/bin/env bash
# Makes a release of the checked-out commit in dist/: the Windows zip
# (quorvel-<version>-windows-x64.zip: quorvel.exe, quorvel-cli.exe, README.txt, LICENSE.txt), the
# Windows installer of the same four files (quorvel-<version>-windows-x64.msi), the Debian package of
# the Linux tools (quorvel-tools_<version>_amd64.deb) and SHA256SUMS of the three.
# Every run builds in empty folders of its own (build-release-win, build-release-linux), and all
# dates are the commit's (SOURCE_DATE_EPOCH), so two runs on one commit give the same bytes.
#   tools/release.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/tools/install-deps.sh"

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  if ! SOURCE_DATE_EPOCH=$(git -C "$top" log -1 --format=%ct 2>/dev/null); then
    echo "release: not a git checkout; set SOURCE_DATE_EPOCH to the sources' date" >&2
    exit 2
  fi
  if [ -n "$(git -C "$top" status --porcelain --untracked-files=no)" ]; then
    echo "release: warning: uncommitted changes; this is not the release of commit $(git -C "$top" rev-parse --short HEAD)" >&2
  fi
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022

win=$top/build-release-win
linux=$top/build-release-linux
dist=$top/dist
rm -rf "$win" "$linux" "$dist"
mkdir -p "$dist"

echo "release: Windows programs" >&2
cmake -S "$top" -B "$win" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_RELEASE=ON \
      -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" >/dev/null
ninja -C "$win" quorvel quorvel-cli >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win/CMakeCache.txt")

echo "release: Linux tools and their package" >&2
cmake -S "$top" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_RELEASE=ON \
      -DQUORVEL_TESTS=OFF >/dev/null
ninja -C "$linux" >&2
(cd "$linux" && cpack -B "$linux/cpack" >&2)
cp "$linux/cpack/quorvel-tools_${version}_amd64.deb" "$dist/"

python3 "$top/tools/release_zip.py" "$dist/quorvel-${version}-windows-x64.zip" \
  "quorvel.exe=$win/app/quorvel.exe" \
  "quorvel-cli.exe=$win/tools/cli/quorvel-cli.exe" \
  "README.txt=$top/packaging/README.txt" \
  "LICENSE.txt=$top/LICENSE"

echo "release: Windows installer" >&2
python3 "$top/tools/release_msi.py" "$dist/quorvel-${version}-windows-x64.msi" "$version" \
  --commit "$(git -C "$top" rev-parse HEAD 2>/dev/null || true)" \
  "quorvel.exe=$win/app/quorvel.exe" \
  "quorvel-cli.exe=$win/tools/cli/quorvel-cli.exe" \
  "README.txt=$top/packaging/README.txt" \
  "LICENSE.txt=$top/LICENSE" \
  "quorvel.ico=$top/res/icons/quorvel.ico"

(cd "$dist" && sha256sum "quorvel-${version}-windows-x64.zip" "quorvel-${version}-windows-x64.msi" \
   "quorvel-tools_${version}_amd64.deb" > SHA256SUMS)
ls -l "$dist" >&2
