#!/bin/sh
# Set-up on a bad mirror day: with a package source added that answers 404
# (a small server on loopback) and one package the set-up installs removed
# (tidy), scripts/setup.sh installs the package again, exits 0 and names the
# index it could not fetch. It changes the machine's package sources and
# packages, so it runs only as root where apt-get is; elsewhere it says so
# and is skipped (status 77).
# Usage: setup_check.sh SOURCE_DIR WORK_FOLDER
set -u
src=$1 work=$2
if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null 2>&1 || [ ! -w /etc/apt/sources.list.d ]; then
  echo "setup_check: skipped: needs root and apt-get, to change the package sources"
  exit 77
fi
list=/etc/apt/sources.list.d/baltic-setup-check.list
rm -rf "$work" && mkdir -p "$work/empty"
cleanup() {
  rm -f "$list"
  [ -n "${server:-}" ] && kill "$server" 2>/dev/null
}
trap cleanup EXIT

# A server that answers 404 to everything, for at most five minutes.
python3 - "$work/empty" "$work/port" <<'PY' &
import http.server, os, socketserver, sys, time
os.chdir(sys.argv[1])
class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args): pass
server = socketserver.TCPServer(("127.0.0.1", 0), Quiet)
server.timeout = 1
open(sys.argv[2], "w").write(str(server.server_address[1]))
end = time.time() + 300
while time.time() < end:
    server.handle_request()
PY
server=$!
i=0
while [ ! -s "$work/port" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
port=$(cat "$work/port" 2>/dev/null) || { echo "FAIL: the 404 server did not start"; exit 1; }
echo "deb [trusted=yes] http://127.0.0.1:$port/debian bookworm main" > "$list"

fail=0
bad() { echo "FAIL: $*"; fail=1; }
dpkg -r tidy > /dev/null 2>&1 || bad "could not remove tidy"
status=0
timeout 600 bash "$src/scripts/setup.sh" > "$work/setup.out" 2>&1 || status=$?
cat "$work/setup.out"
[ "$status" -eq 0 ] || bad "scripts/setup.sh ended with status $status"
command -v tidy > /dev/null || bad "tidy was not installed again"
grep -q "setup: apt-get update: .*127.0.0.1:$port" "$work/setup.out" || bad "set-up did not name the index it could not fetch"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
