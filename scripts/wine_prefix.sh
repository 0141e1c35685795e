#!/bin/sh
# Makes the Wine prefix named by WINEPREFIX ready for unattended runs:
# created (once), with Wine's windows left unmanaged and no debugger started
# on a crash. Tests and the main job run under Xvfb with no window manager,
# where Wine would otherwise wait about two seconds for one every time a
# window closes. A program that crashes would start Wine's debugger, whose
# dialog waits for a click that never comes and which itself can hang under
# an emulator, holding its test until the time limit; with no debugger the
# program ends at once. A prefix that already has both settings is left as
# it is (under emulation, a second wineboot takes minutes).
set -e
prefix=${WINEPREFIX:-$HOME/.wine}
if [ -f "$prefix/system.reg" ] && grep -qs '^"Managed"="N"' "$prefix/user.reg" &&
  grep -qs '^"Debugger"=""' "$prefix/system.reg"; then
  exit 0
fi
wineboot -i
# One Wine start for all settings: each start costs minutes under an emulator.
# The debugger's key is written in both registry views, for 32-bit programs
# whichever view regedit itself writes.
aedebug='Microsoft\Windows NT\CurrentVersion\AeDebug]'
printf '%s\r\n' 'REGEDIT4' '' \
  '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
  "[HKEY_LOCAL_MACHINE\\Software\\$aedebug" '"Debugger"=""' '' \
  "[HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\$aedebug" '"Debugger"=""' '' \
  > "$prefix/drive_c/prefix_settings.reg"
wine regedit /S 'C:\prefix_settings.reg'
wineserver -w
rm -f "$prefix/drive_c/prefix_settings.reg"
