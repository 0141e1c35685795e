# Sourced by the page checks (html_render.sh, summary_page.sh) after they set
# html (the page) and work (a folder for what the checks leave): the closing
# line finish prints, the page and chromium made sure of, run_browser ARGS...
# (headless chromium on the page, its messages in $work/chromium.log), and
# the DOM the browser built in $work/dom.html.
mkdir -p "$work"
fail=0
finish() {
  [ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
  exit $fail
}

if [ ! -s "$html" ]; then
  echo "FAIL: no page at $html"; fail=1; finish
fi
browser=$(command -v chromium || command -v chromium-browser || true)
if [ -z "$browser" ]; then
  echo "FAIL: chromium is not installed (scripts/setup.sh installs it)"; fail=1; finish
fi

case $html in /*) url="file://$html" ;; *) url="file://$PWD/$html" ;; esac
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
run_browser() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$profile" --hide-scrollbars "$@" "$url" 2>>"$work/chromium.log"
}

: > "$work/chromium.log"
if ! run_browser --dump-dom > "$work/dom.html"; then
  echo "FAIL: chromium --dump-dom failed (see $work/chromium.log)"; fail=1
fi
