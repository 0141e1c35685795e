#!/bin/sh
# Makes the Wine prefix named by WINEPREFIX ready: created (once), and with
# Wine's windows left unmanaged. Tests and the main job run under Xvfb with
# no window manager, where Wine would otherwise wait about two seconds for
# one every time a window closes.
set -e
wineboot -i
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
wineserver -w
