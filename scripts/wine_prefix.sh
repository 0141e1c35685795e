#!/bin/sh
# Makes the Wine prefix named by WINEPREFIX ready for unattended runs:
# created (once), with Wine's windows left unmanaged and no crash dialog.
# Tests and the main job run under Xvfb with no window manager, where Wine
# would otherwise wait about two seconds for one every time a window closes;
# and a program that crashes would leave Wine's crash dialog waiting for a
# click that never comes, holding its test until the time limit. A prefix
# that already has both settings is left as it is (under emulation, a second
# wineboot takes minutes).
set -e
prefix=${WINEPREFIX:-$HOME/.wine}
if [ -f "$prefix/system.reg" ] && grep -qs '^"Managed"="N"' "$prefix/user.reg" &&
  grep -qs '^"ShowCrashDialog"=dword:00000000' "$prefix/user.reg"; then
  exit 0
fi
wineboot -i
# One Wine start for both settings: each start costs minutes under an emulator.
printf '%s\r\n' 'REGEDIT4' '' \
  '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
  > "$prefix/drive_c/prefix_settings.reg"
wine regedit /S 'C:\prefix_settings.reg'
wineserver -w
rm -f "$prefix/drive_c/prefix_settings.reg"
