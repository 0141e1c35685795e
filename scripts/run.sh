#!/usr/bin/env bash
# The main job: builds, then lets the host stand-in replay the sample log
# through BALTIC.dll and print the contest report. Arguments, when given, go to
# hostsim instead (e.g. `replay my.adi --html`, `exports`); relative paths of
# existing files are taken from the folder this script was started in.
# hostsim runs in build/run/, the host's working folder: the bad-QSO file,
# Qorv2.ini and Plugins/BALTIC.ini are written there.
set -euo pipefail
caller="$PWD"
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }

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
# Wait for Wine's own processes inside the virtual display, so none of them
# complains when the display goes away.
xvfb-run -a sh -c 'wine ../bin/hostsim.exe "$@"; rc=$?; wineserver -w; exit $rc' hostsim "${args[@]}"
