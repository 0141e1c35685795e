#!/bin/sh
# Renders the sample HTML report (saved by the end-to-end tests) in headless
# chromium: the DOM the browser builds must hold the score table with the
# expected rows in order, and a screenshot is saved to look at.
# Usage: html_render.sh REPORT.html WORK_DIR
set -u
html=$1 work=$2
. "$(dirname "$0")/headless_page.sh"

# One line per table row the browser built, cells ended by "|", blanks squeezed.
tr -d '\r\n' < "$work/dom.html" \
  | sed -e 's#^.*<table[^>]*>##' -e 's#</table>.*$##' -e 's#<tr[^>]*>#\n&#g' \
  | grep '^<tr' \
  | sed -e 's#</t[hd]>#|#g' -e 's#<[^>]*>##g' -e 's/  */ /g' -e 's/ *| */|/g' -e 's/^ //' \
  > "$work/rows.txt"

cat > "$work/expected_rows.txt" <<'EOF'
Band|QSOs|Points|CW|SSB|
80m|13|31|11|2|
Total|13|31|11|2|
Dupe|1||
Bad QSO|1||
Last QSO points:|1|
Rate|
Hourly (1 hour/10min) QSO rate:|12 /18|
Hourly (1 hour/10min) pts rate:|30 /126|
EOF
if ! diff -u "$work/expected_rows.txt" "$work/rows.txt"; then
  echo "FAIL: the rendered table differs from the expected rows"; fail=1
fi
grep -q 'Contestant: *<b>SM5XYZ</b>' "$work/dom.html" || { echo "FAIL: no contestant line"; fail=1; }

rm -f "$work/report.png"
run_browser --window-size=900,400 --screenshot="$work/report.png" > /dev/null
if [ "$(head -c 8 "$work/report.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" != "89504e470d0a1a0a" ]; then
  echo "FAIL: no PNG screenshot at $work/report.png"; fail=1
else
  echo "screenshot: $work/report.png"
fi
finish
