#!/usr/bin/env bash
# The main job: builds, then lets the host stand-in replay the sample log
# through BALTIC.dll and print the contest report. Extra arguments go to hostsim.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh >/dev/null
export WINEPREFIX="$PWD/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -d "$WINEPREFIX" ] || { wineboot -i >/dev/null 2>&1; wineserver -w; }
xvfb-run -a wine build/bin/hostsim.exe "${@:-exports}"
