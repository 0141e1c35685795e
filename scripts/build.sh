#!/usr/bin/env bash
# Installs what is missing, then configures and builds into build/.
set -Eeuo pipefail
cd "$(dirname "$0")/.."

die() {
  echo "build: $*" >&2
  exit 1
}
trap 'rc=$?; echo "build: \"$BASH_COMMAND\" failed with status $rc (scripts/build.sh line $LINENO)" >&2' ERR

bash scripts/setup.sh || die "set-up failed (its message is above); fix that and rerun"
cmake --no-warn-unused-cli -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null ||
  die "cmake configure failed, see above; if build/ came from another machine or toolchain, remove build/CMakeCache.txt and retry"
cmake --build build -j"$(nproc)" ||
  die "compiling failed, see the first error above"
