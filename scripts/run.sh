#!/usr/bin/env bash
# The main job: builds, then lets the host stand-in replay the sample log
# through BALTIC.dll and print the contest report. Arguments, when given, go to
# hostsim instead (e.g. `replay my.adi --html`, `exports`); relative paths of
# existing files are taken from the folder this script was started in.
# hostsim runs in build/run/, the host's working folder: the bad-QSO file and
# Plugins/BALTIC.ini are written there, and Qorv2.ini for the reset.
set -Eeuo pipefail
caller="$PWD"
cd "$(dirname "$0")/.."

die() {
  echo "run: $*" >&2
  exit 1
}
trap 'rc=$?; echo "run: \"$BASH_COMMAND\" failed with status $rc (scripts/run.sh line $LINENO)" >&2' ERR

# The build's progress stays out of the report but is kept, to show on failure.
mkdir -p build
log=build/build.log
if ! bash scripts/build.sh >"$log"; then
  if [ -s "$log" ]; then
    echo "run: the last lines of the build's output ($log):" >&2
    tail -n 20 "$log" >&2
  fi
  die "the build failed (see the messages above and $log); fix that and rerun"
fi

. scripts/wine_env.sh
export WINEPREFIX="$PWD/build/wineprefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "run: creating the Wine prefix in build/wineprefix (a minute or more, once)" >&2
  plog=build/wineprefix.log
  if ! sh scripts/wine_prefix.sh >"$plog" 2>&1 || [ ! -f "$WINEPREFIX/system.reg" ]; then
    tail -n 20 "$plog" >&2
    die "the Wine prefix could not be created in build/wineprefix (log: $plog); remove build/wineprefix, check that 'bash scripts/setup.sh' succeeds, and retry"
  fi
fi

args=()
if [ $# -eq 0 ]; then
  args=(replay "$PWD/samples/baltic-sample.adi")
else
  for a in "$@"; do
    [[ "$a" != /* && -e "$caller/$a" ]] && a="$caller/$a"
    args+=("$a")
  done
fi
mkdir -p build/run/Plugins
cd build/run
# An earlier hostsim left its version file here, which the current one
# would take for the host's own.
[ "$(cat Qorv2.ini 2>/dev/null)" = "$(printf 'Qorv=2.18\r')" ] && rm -f Qorv2.ini
# Wait for Wine's own processes inside the virtual display, so none of them
# complains when the display goes away.
rc=0
xvfb-run -a sh -c 'wine ../bin/hostsim.exe "$@"; rc=$?; wineserver -w; exit $rc' hostsim "${args[@]}" || rc=$?
case $rc in
  0) ;;
  126 | 127) die "Wine could not start hostsim.exe (status $rc); run 'bash scripts/setup.sh' and follow its message" ;;
  *) die "hostsim ended with status $rc (1: the log cannot be replayed, or no Cabrillo log written; 2: hostsim cannot run here, or a bad command line; its messages are above)" ;;
esac
