#!/usr/bin/env bash
# Makes the operator's guide's pictures from the current build: runs the
# window tests that take them (under the Russian code page 1251, whose texts
# the Russian pictures show), converts their BMP files to PNG and copies them
# to docs/images/. Commit the changed pictures with the change that made them.
set -Eeuo pipefail
cd "$(dirname "$0")/.."

die() {
  echo "screenshots: $*" >&2
  exit 1
}

bash scripts/build.sh || die "the build failed (its message is above)"
command -v convert >/dev/null 2>&1 || die "ImageMagick's convert is missing; run scripts/setup.sh as root"

bin="$PWD/build/bin"
. scripts/wine_env.sh
export WINEPREFIX="$PWD/build/wineprefix"
# A prefix the tests already made is reused: making one takes minutes here.
[ -f "$WINEPREFIX/system.reg" ] || sh scripts/wine_prefix.sh >/dev/null 2>&1 ||
  die "the Wine prefix could not be made ($WINEPREFIX)"

rm -rf "$bin/screenshots"
(cd "$bin" && LC_ALL=ru_RU.UTF-8 xvfb-run -a -s "-screen 0 1280x1024x24" wine e2e_tests.exe \
  '-tc=Setup window: the mode sent*,*Russian texts*,Previous QSO window: the lookup*,Cabrillo: stored values*') ||
  die "a window test failed; its output is above"

mkdir -p docs/images
# picture in the guide <- BMP the tests left
while read -r png bmp; do
  [ -f "$bin/screenshots/$bmp.bmp" ] || die "the tests made no $bmp.bmp"
  convert "$bin/screenshots/$bmp.bmp" -strip "docs/images/$png.png"
  echo "docs/images/$png.png"
done <<'LIST'
setup setup_cw
setup-russian setup_russian_1251
prev-qso setup_prev_qso_ly1bb
prev-qso-russian setup_prev_qso_russian_1251
cabrillo-header cabrillo_stored
LIST


# The summary page of the sample evening, as `hostsim check` writes it,
# rendered by the page's own test script in headless chromium.
page=$(mktemp -d)
trap 'rm -rf "$page"' EXIT
sample=$(winepath -w "$PWD/samples/baltic-sample.adi")
(cd "$page" && mkdir Plugins && xvfb-run -a wine "$bin/hostsim.exe" check "$sample" >/dev/null) ||
  die "hostsim check failed on the sample log"
sh tests/tools/summary_page.sh "$page/SM5XYZ-summary.html" "$page/render" >/dev/null ||
  die "the sample's summary page did not pass its check (see $page/render)"
cp "$page/render/summary.png" docs/images/summary.png
echo docs/images/summary.png
