#!/bin/sh
# Checks the layers of the source tree: the rules, the reports and the
# Cabrillo writer include neither the window layer (ui/) nor windows.h
# (files named *_win.* are the platform's own and may), and every module
# global (g_*, theApp) is defined in plugin/globals.cpp alone.
set -eu
src=$1 core_lib=$2
fail=0

hits=$(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](ui/|windows\.h)' \
  $(find "$src/engine" "$src/report" "$src/cabrillo" -type f \( -name '*.h' -o -name '*.cpp' \) ! -name '*_win.*') || true)
if [ -n "$hits" ]; then
  echo "engine/, report/ and cabrillo/ must not include ui/ or windows.h:"
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
