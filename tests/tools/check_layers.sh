#!/bin/sh
# Checks the layers of the source tree against the layout table of
# README.md: which product folders each folder's files may include,
# that the platform's own headers (Win32) appear only in files named *_win.*
# in framework/, engine/, report/ and cabrillo/ (so the rules, the reports
# and the Cabrillo writer stay portable), and that every module global
# (g_*, theApp) is defined in plugin/globals.cpp alone.
#   check_layers.sh SRC CORE_LIB          checks the tree
#   check_layers.sh --self-test SRC CORE_LIB
#     checks a copy of the tree with two forbidden includes added, and
#     succeeds only when the check fails on exactly those.
set -eu

if [ "$1" = "--self-test" ]; then
  src=$2 core_lib=$3
  tmp=$(mktemp -d)
  trap 'rm -rf "$tmp"' EXIT
  for d in framework plugin engine report cabrillo ui host; do cp -r "$src/$d" "$tmp/"; done
  echo '#include "cabrillo/header.h"' >> "$tmp/report/score.h"
  echo '#include "framework/str.h"' >> "$tmp/host/adif.h"
  if out=$(sh "$0" "$tmp" "$core_lib"); then
    echo "the check passed a tree with forbidden includes"; exit 1
  fi
  echo "$out"
  for hit in 'report/score.h:.*cabrillo/header.h' 'host/adif.h:.*framework/str.h'; do
    echo "$out" | grep -q "$hit" || { echo "not reported: $hit"; exit 1; }
  done
  echo "layers self-test: ok"
  exit 0
fi

src=$1 core_lib=$2
fail=0

# One awk pass over every product file: the folder and the file's name give
# its rule, each include is held against it.
hits=$(cd "$src" && find framework engine report cabrillo ui plugin host -type f \( -name '*.h' -o -name '*.cpp' \) |
  sort | xargs awk '
  BEGIN {
    # Product includes each folder may make (a path below the source root).
    allowed["framework"] = "^framework/"
    allowed["engine"] = "^(framework|engine)/"
    allowed["report"] = "^(framework|engine|report)/"
    allowed["cabrillo"] = "^(framework|engine|report|cabrillo)/|^resources/resource[.]h$"
    allowed["cabrillo_win"] = "^(framework|engine|report|cabrillo|ui)/|^resources/resource[.]h$"
    allowed["ui"] = "^(framework|engine|report|cabrillo|ui)/|^resources/resource[.]h$"
    allowed["plugin"] = "^(framework|engine|report|cabrillo|ui|plugin|resources)/"
    allowed["host"] = "^host/|^plugin/exports[.]h$|^resources/resource[.]h$"
    product = "^(framework|plugin|engine|report|cabrillo|ui|resources|host)/"
    win32 = "^(windows|win[a-z0-9]*|ole[a-z0-9]*|oaidl|objbase|objidl|unknwn|ocidl|commctrl|commdlg|shellapi|shlobj|shlwapi|mmsystem)[.]h$"
  }
  FNR == 1 {
    dir = FILENAME; sub(/\/.*/, "", dir)
    base = FILENAME; sub(/.*\//, "", base)
    win = base ~ /_win[.]/
    rule = (dir == "cabrillo" && win) ? "cabrillo_win" : dir
    portable = !win && (dir == "framework" || dir == "engine" || dir == "report" || dir == "cabrillo")
  }
  /^[ \t]*#[ \t]*include[ \t]*[<"]/ {
    line = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
    kind = substr(line, 1, 1)
    path = substr(line, 2); sub(/[>"].*/, "", path)
    bad = ""
    if (kind == "\"" && path ~ product) {
      if (path !~ allowed[rule]) bad = "not allowed in " dir "/"
      else if (portable && path ~ /_win[.]/) bad = "a window header in a portable file"
    } else if (kind == "<" && portable && tolower(path) ~ win32) {
      bad = "Win32 in a portable file"
    }
    if (bad != "") print FILENAME ":" FNR ": " path " (" bad ")"
  }')
if [ -n "$hits" ]; then
  echo "includes outside the layout table:"
  echo "$hits"
  fail=1
fi

# Defined external data symbols, per object file of the core library.
strays=$(llvm-nm --defined-only "$core_lib" | awk '/:$/ { obj = $1 } $2 ~ /^[BDRC]$/ { print obj, $3 }' |
  grep -E ' _?(g_[A-Za-z0-9_]*|theApp)$' | grep -v '^globals\.cpp\.obj:' || true)
if [ -n "$strays" ]; then
  echo "module globals defined outside plugin/globals.cpp:"
  echo "$strays"
  fail=1
fi

[ $fail -eq 0 ] && echo "layers: ok"
exit $fail
