#!/bin/sh
# Checks the sample summary page (saved by the unit tests): tidy finds no
# error and no warning in it, headless chromium builds the page with its
# sections in order and 30 ten-minute bars, and a screenshot is saved to
# look at.
# Usage: summary_page.sh PAGE.html WORK_DIR
set -u
html=$1 work=$2
. "$(dirname "$0")/headless_page.sh"

if ! command -v tidy > /dev/null; then
  echo "FAIL: tidy is not installed (scripts/setup.sh installs it)"; fail=1; finish
fi
# tidy: status 0 is clean, 1 warnings, 2 errors; both are reported.
tidy -q -e "$html" > "$work/tidy.txt" 2>&1
rc=$?
if [ $rc -ne 0 ]; then
  echo "FAIL: tidy (status $rc) says:"; cat "$work/tidy.txt"; fail=1
fi
grep -o '<h2[^>]*>[^<]*</h2>' "$work/dom.html" | sed 's/<[^>]*>//g' > "$work/headings.txt"
cat > "$work/expected_headings.txt" <<'EOF'
QSOs and points
Hour by hour
QSOs per ten minutes
Best two hours
Log check
EOF
if ! diff -u "$work/expected_headings.txt" "$work/headings.txt"; then
  echo "FAIL: the page's sections differ from the expected ones"; fail=1
fi
bars=$(grep -o 'title="[0-9][0-9]:[0-9]0: [0-9]* CW, [0-9]* SSB"' "$work/dom.html" | wc -l)
[ "$bars" -eq 30 ] || { echo "FAIL: $bars ten-minute bars instead of 30"; fail=1; }
grep -q '<pre[^>]*>[0-9]* finding\|<pre[^>]*>No findings' "$work/dom.html" || { echo "FAIL: no log check"; fail=1; }

rm -f "$work/summary.png"
run_browser --window-size=1000,1250 --screenshot="$work/summary.png" > /dev/null
if [ "$(head -c 8 "$work/summary.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
  echo "FAIL: no PNG screenshot at $work/summary.png"; fail=1
else
  echo "screenshot: $work/summary.png"
fi
finish
