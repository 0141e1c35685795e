#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under Wine, with a
# virtual display for the windows).
set -Eeuo pipefail
cd "$(dirname "$0")/.."

die() {
  echo "test: $*" >&2
  exit 1
}
trap 'rc=$?; echo "test: \"$BASH_COMMAND\" failed with status $rc (scripts/test.sh line $LINENO)" >&2' ERR

bash scripts/build.sh || die "the build failed (its message is above); no test ran"
cd build
# Where 32-bit programs run through qemu, Wine itself now and then dies of a
# segmentation fault that it cannot turn into an exception (seen in window
# tests): there a failed test gets up to two more runs, and the long end-to-end
# programs get more time.
repeat=()
timeout=600
for entry in /proc/sys/fs/binfmt_misc/*; do
  if grep -qs '^enabled' "$entry" && grep -qs 'qemu-i386' "$entry"; then
    repeat=(--repeat until-pass:3)
    timeout=900
  fi
done
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j2 --timeout "$timeout" "${repeat[@]}" ||
  die "some tests failed (listed above with their output); rerun one with: cd build && xvfb-run -a ctest --output-on-failure -R NAME"
