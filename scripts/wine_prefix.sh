#!/bin/sh
# Makes the Wine prefix named by WINEPREFIX ready: created (once), and with
# Wine's windows left unmanaged. Tests and the main job run under Xvfb with
# no window manager, where Wine would otherwise wait about two seconds for
# one every time a window closes. A prefix that already has both is left
# as it is: its setting is written last, so it shows a whole prefix (under
# emulation, a second wineboot takes minutes).
set -e
prefix=${WINEPREFIX:-$HOME/.wine}
if [ -f "$prefix/system.reg" ] && grep -qs '^"Managed"="N"' "$prefix/user.reg"; then
  exit 0
fi
wineboot -i
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
wineserver -w
