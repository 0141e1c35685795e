#!/bin/sh
# Checks a Cabrillo log the plug-in wrote with an independent reader (the npm
# package @ham2k/lib-qson-cabrillo, which scripts/setup.sh installs into
# tests/tools/cabrillo_reader/node_modules).
#   cabrillo_reader.sh SINGLE.cbr MULTI.cbr
set -eu
here=$(cd "$(dirname "$0")" && pwd)
if ! command -v node >/dev/null 2>&1; then
  echo "cabrillo_reader: node is missing; run scripts/setup.sh" >&2
  exit 1
fi
if [ ! -f "$here/cabrillo_reader/node_modules/@ham2k/lib-qson-cabrillo/package.json" ]; then
  echo "cabrillo_reader: the reader is not installed; run scripts/setup.sh" >&2
  echo "  (or: npm ci --prefix $here/cabrillo_reader)" >&2
  exit 1
fi
for f in "$1" "$2"; do
  if [ ! -f "$f" ]; then
    echo "cabrillo_reader: $f is missing; the end-to-end case cabrillo_sample.cbr writes it" >&2
    exit 1
  fi
done
exec node "$here/cabrillo_read.js" "$1" "$2"
