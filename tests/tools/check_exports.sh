#!/bin/sh
# Checks BALTIC.dll's export table and imports on the build machine:
# every plain and decorated name is exported, each alias sits at its plain
# name's address, the decorated names are exactly those clang derives for the
# declared signatures, and only system DLLs are imported.
set -eu
dll=$1 src=$2 work=$3/export_check
mkdir -p "$work"
fail=0

i686-w64-mingw32-objdump -p "$dll" > "$work/headers.txt"
# Name table lines "[idx] name", address table lines "[idx] +base[ord] rva".
sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' "$work/headers.txt" > "$work/ord_names.txt"
cut -d' ' -f2- "$work/ord_names.txt" | sort > "$work/names.txt"
sed -n '/Export Address Table -- Ordinal Base/,/^$/s/^[[:space:]]*\[ *\([0-9]*\)\] +base\[ *[0-9]*\] \([0-9a-f]*\).*$/\1 \2/p' "$work/headers.txt" > "$work/ord_rva.txt"

rva_of() {
  ord=$(awk -v n="$1" '$2==n{print $1}' "$work/ord_names.txt")
  [ -n "$ord" ] || { echo "none"; return; }
  # The name table's ordinals are 0-based indices into the address table.
  awk -v o="$ord" '$1==o{print $2}' "$work/ord_rva.txt"
}

# What clang says MSVC would call the declared signatures.
clang --target=i686-pc-windows-msvc -I"$src" -c "$src/tests/tools/decorated_names.cpp" -o "$work/decl.obj"
llvm-nm "$work/decl.obj" | awk '$1=="U"{print $2}' | grep '^?' | sort > "$work/clang_decorated.txt"
grep '^?' "$work/names.txt" > "$work/dll_decorated.txt" || true
if ! diff -u "$work/clang_decorated.txt" "$work/dll_decorated.txt"; then
  echo "FAIL: decorated exports differ from the declared signatures"; fail=1
fi

check_alias() { # decorated-or-plain alias, plain name
  a=$(rva_of "$1"); p=$(rva_of "$2")
  if [ "$p" = "none" ] || [ -z "$p" ]; then echo "FAIL: no export $2"; fail=1; return; fi
  if [ "$a" != "$p" ]; then echo "FAIL: $1 at $a, $2 at $p"; fail=1; fi
}
for plain in AddData0 RemoveData0 ResetStats0 CheckCall0 GetResult0 GetExchgCount0 GetSetName IsValidExchg0 SetupSet0 setVersion; do
  grep -qx "$plain" "$work/names.txt" || { echo "FAIL: plain export $plain missing"; fail=1; }
done
check_alias GetNumberOfSets GetExchgCount0
while read -r name; do
  base=$(echo "$name" | sed 's/^?\([A-Za-z0-9_]*\)@@.*/\1/')
  case $base in
    CheckCallFunc0) plain=CheckCall0 ;;
    GetNumberOfSets|StatsGetExchgCount0) plain=GetExchgCount0 ;;
    StatsIsValidExchg0) plain=IsValidExchg0 ;;
    *) plain=$base ;;
  esac
  check_alias "$name" "$plain"
done < "$work/clang_decorated.txt"

imports=$(awk '/DLL Name:/{print tolower($3)}' "$work/headers.txt" | sort -u)
for d in $imports; do
  case $d in
    kernel32.dll|user32.dll|gdi32.dll|ole32.dll|oleaut32.dll|msvcrt.dll) ;;
    *) echo "FAIL: imports $d"; fail=1 ;;
  esac
done

count=$(wc -l < "$work/names.txt")
echo "exports: $count names; decorated: $(wc -l < "$work/clang_decorated.txt"); imports: $(echo $imports)"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
