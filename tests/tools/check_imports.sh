#!/bin/sh
# Checks that BALTIC.dll imports nothing Windows XP SP3 lacks: every import
# must be on allowed_imports.txt, and that list must name none of the known
# later functions (post_xp_imports.txt, and msvcrt's "_s" functions).
# Usage: check_imports.sh BALTIC.dll WORK_FOLDER
set -eu
dll=$1 work=$2/import_check
tools=$(cd "$(dirname "$0")" && pwd)
allowed=$tools/allowed_imports.txt later=$tools/post_xp_imports.txt
mkdir -p "$work"
fail=0

# "dll function" per import; an import by ordinal shows as "dll #N".
i686-w64-mingw32-objdump -p "$dll" |
  awk '/DLL Name:/ { dll = tolower($3); next }
       /^$/ { dll = "" }
       dll != "" && /^\t[0-9a-f]+\t/ { print dll, (NF >= 3 ? $3 : "#" $2) }' |
  sort -u > "$work/imports.txt"
[ -s "$work/imports.txt" ] || { echo "FAIL: no imports read from $dll"; echo "0 passed, 1 failed"; exit 1; }

grep -v '^#' "$allowed" | sed '/^$/d' | sort -u > "$work/allowed.txt"
grep -v '^#' "$later" | sed '/^$/d' | sort -u > "$work/later.txt"

comm -23 "$work/imports.txt" "$work/allowed.txt" > "$work/unlisted.txt"
while read -r d f; do
  if grep -qx "$d $f" "$work/later.txt" || { [ "$d" = msvcrt.dll ] && [ "${f%_s}" != "$f" ]; }; then
    echo "FAIL: BALTIC.dll imports $f from $d, which Windows XP SP3 lacks"
  else
    echo "FAIL: BALTIC.dll imports $f from $d, which tests/tools/allowed_imports.txt does not list;" \
      "add it only if Windows XP SP3 has it"
  fi
  fail=1
done < "$work/unlisted.txt"

{ comm -12 "$work/allowed.txt" "$work/later.txt"; grep -E '^msvcrt\.dll .*_s$' "$work/allowed.txt" || true; } |
  sort -u > "$work/forbidden.txt"
while read -r d f; do
  echo "FAIL: tests/tools/allowed_imports.txt lists $f from $d, which Windows XP SP3 lacks"
  fail=1
done < "$work/forbidden.txt"

echo "imports: $(wc -l < "$work/imports.txt") functions from $(cut -d' ' -f1 "$work/imports.txt" | sort -u | tr '\n' ' ')"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
