#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under Wine, with a
# virtual display for the windows). Ends with a summary: every entry that
# needed a retry, and the ten slowest entries with their times.
set -Eeuo pipefail
cd "$(dirname "$0")/.."

die() {
  echo "test: $*" >&2
  exit 1
}
trap 'rc=$?; echo "test: \"$BASH_COMMAND\" failed with status $rc (scripts/test.sh line $LINENO)" >&2' ERR

started=$(date +%s)
bash scripts/build.sh || die "the build failed (its message is above); no test ran"
built=$(date +%s)
cd build

# Where 32-bit programs run through qemu, Wine itself now and then dies of a
# segmentation fault that it cannot turn into an exception (seen in window
# tests): there a failed test gets up to two more runs, named in the summary.
emulated=0
for entry in /proc/sys/fs/binfmt_misc/*; do
  if grep -qs '^enabled' "$entry" && grep -qs 'qemu-i386' "$entry"; then
    emulated=1
  fi
done
repeat=()
timeout=600
if [ "$emulated" -eq 1 ]; then
  repeat=(--repeat until-pass:3)
  timeout=900
fi

# The tests' Wine prefix, made once per build tree before any test runs.
. ../scripts/wine_env.sh
export WINEPREFIX="$PWD/wineprefix"
if ! sh ../scripts/wine_prefix.sh >wineprefix.log 2>&1; then
  tail -n 20 wineprefix.log >&2
  die "the Wine prefix could not be made in build/wineprefix (log: build/wineprefix.log); remove build/wineprefix and retry"
fi

# One virtual display and one Wine server for the whole run: the server and
# Wine's own processes start once instead of once per test program. Both end
# with the run, whatever way it ends (the install check ends its own prefix's
# server itself).
log=ctest.log
rc=0
# Wine's own processes (its services, the desktop window's) start here, with
# no test's output: ctest waits until a test's output closes, which a Wine
# process started by that test would hold open until the run ends.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  trap "wineserver -k 2>/dev/null; wineserver -w" EXIT
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
  ctest --output-on-failure -j2 --timeout "$@"
' ctest "$timeout" "${repeat[@]}" 2>&1 | tee "$log" || rc=$?

# The summary. ctest prints a "Start N: name" line for every run of an entry
# and a "Test #N: name ... Passed 1.23 sec" line after it.
finished=$(date +%s)
awk -v build=$((built - started)) -v whole=$((finished - started)) -v emulated="$emulated" '
  /^ *Start +[0-9]+: / { runs[$3]++ }
  / Test +#[0-9]+: / {
    for (i = 1; i <= NF; i++) if ($i == "sec") { name = $0; sub(/.*Test +#[0-9]+: /, "", name); sub(/ .*/, "", name); secs[name] += $(i - 1) }
  }
  END {
    retried = ""
    for (n in runs) if (runs[n] > 1) retried = retried sprintf(" %s (%d runs, %.0f s)", n, runs[n], secs[n])
    print "test: retried:" (retried == "" ? " none" : retried)
    cmd = "sort -rn | head -n 10"
    print "test: the slowest entries (seconds, all runs together):"
    for (n in secs) printf "%9.1f  %s\n", secs[n], n | cmd
    close(cmd)
    printf "test: the whole run took %d s (build and set-up %d s), Wine %s\n", whole, build, emulated ? "under an emulator" : "native"
  }' "$log"

[ "$rc" -eq 0 ] ||
  die "some tests failed (listed above with their output); rerun one with: cd build && xvfb-run -a ctest --output-on-failure -R NAME"
