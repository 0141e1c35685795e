#!/bin/sh
# Installs the release zip as an operator would and runs it on Windows XP:
# the checksums verify, the DLL goes into <root>/Plugins, and the packaged
# host stand-in, started in <root> (the host's working folder), loads it from
# there in a Wine prefix of its own set to Windows XP and replays the sample
# log; the report's totals are those the contest rules give for that log.
# Usage: install_check.sh BALTIC-<version>-win32.zip SAMPLE.adi BASE_PREFIX WORK_FOLDER
set -eu
zip=$1 sample=$2 base_prefix=$3 work=$4
start=$(date +%s)
fail=0
bad() { echo "FAIL: $*"; fail=1; }

chattr -i "$work/locked" 2>/dev/null || true
rm -rf "$work"
mkdir -p "$work/unpacked" "$work/root/Plugins"
(cd "$work/unpacked" && cmake -E tar xf "$zip")
(cd "$work/unpacked" && sha256sum --strict -c SHA256SUMS) || bad "the checksums do not verify"
(cd "$work/unpacked" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort) > "$work/files.txt"
sed 's/^[0-9a-f]*  //' "$work/unpacked/SHA256SUMS" | sort > "$work/summed.txt"
cmp -s "$work/files.txt" "$work/summed.txt" || bad "SHA256SUMS does not cover exactly the files of the zip"
for f in BALTIC.dll hostsim.exe hostsim-country-file.txt CHANGELOG.md LICENSE samples/baltic-sample.adi; do
  [ -f "$work/unpacked/$f" ] || bad "the zip has no $f"
done
# What the change log of a release lists is in that release.
! grep -q '^## \[Unreleased\]' "$work/unpacked/CHANGELOG.md" || bad "the packaged CHANGELOG.md has an [Unreleased] section"

# The version block says the version in the zip's name.
version=$(basename "$zip" | sed -n 's/^BALTIC-\(.*\)-win32\.zip$/\1/p')
strings -e l "$work/unpacked/BALTIC.dll" | grep -qx "$version" || bad "BALTIC.dll's version block does not say $version"

cp "$work/unpacked/hostsim.exe" "$work/root/"
cp "$work/unpacked/BALTIC.dll" "$work/root/Plugins/"

# A prefix of its own, so that the Windows version set here affects no other test.
cp -a "$base_prefix" "$work/wineprefix"
export WINEPREFIX="$work/wineprefix"
# One Wine server for every program below, ended with the check: each Wine
# start that finds no server starts Wine's own processes again.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
# A Unix path as Wine names it, without starting a Wine program for it.
winname() { printf 'Z:%s' "$1" | tr / '\\'; }
# What `winecfg -v winxp` writes; winecfg itself refuses "winxp" in a 64-bit
# prefix, where 32-bit programs still take it. One Wine start for both steps
# (each costs minutes under an emulator); the inner cmd starts as XP.
winver=$(wine cmd /c 'reg add HKCU\Software\Wine /v Version /d winxp /f >nul & cmd /c ver' | tr -d '\r')
echo "Windows version in the prefix: $winver"
echo "$winver" | grep -q "Windows 5\.1\.2600" || bad "the prefix does not say Windows XP (5.1.2600)"

cd "$work/root"
status=0
wine hostsim.exe replay "$(winname "$sample")" > report.txt 2> hostsim.err || status=$?
cat hostsim.err
[ "$status" -eq 0 ] || bad "hostsim replay ended with status $status"
tr -d '\r' < report.txt > report.lf
# samples/make_sample.py: 315 QSOs (185 CW, 130 SSB), 1809 points, 11 dupes,
# 12 bad QSOs, on 18 May 2024 by SM5XYZ.
for line in "     BALTIC CONTEST CW/SSB 18.05.2024 " "       Contestant: SM5XYZ" \
  "$(printf '80m\t 315\t 1809\t 185\t 130')" "$(printf 'Total\t 315\t 1809\t 185\t 130')" \
  "$(printf 'Dupe\t 11')" "$(printf 'Bad QSO\t 12')"; do
  grep -qxF "$line" report.lf || bad "the report has no line \"$line\""
done
[ -f BadQSO_RirezIzeruz_18_05_2024.txt ] || bad "no bad-QSO file in the host's working folder"
tr -d '\r' < Plugins/BALTIC.ini 2>/dev/null | grep -qx "Claimed=1809" || bad "Plugins/BALTIC.ini does not hold the claimed score"

# As the guide lays it out: hostsim beside BALTIC.dll in the host's Plugins
# folder, started from a folder of the operator's. The header typed once is
# stored there (Plugins made beside the log) and is in the next export's log.
cp "$work/unpacked/hostsim.exe" "$work/root/Plugins/"
mkdir -p "$work/elsewhere"
cd "$work/elsewhere"
cp "$sample" mylog.adi
status=0
wine ../root/Plugins/hostsim.exe replay mylog.adi --header "NAME=Janis Berzins" > /dev/null 2> header.err || status=$?
[ "$status" -eq 0 ] || { cat header.err; bad "hostsim replay --header from another folder ended with status $status"; }
tr -d '\r' < Plugins/BALTIC.ini 2>/dev/null | grep -qx "Name=Janis Berzins" ||
  bad "the typed header is not in Plugins/BALTIC.ini of the folder hostsim was started in"
rm -f SM5XYZ.cbr
status=0
wine ../root/Plugins/hostsim.exe check mylog.adi > check.txt 2> check.err || status=$?
[ "$status" -eq 0 ] || { cat check.err; bad "hostsim check from another folder ended with status $status"; }
tr -d '\r' < SM5XYZ.cbr 2>/dev/null | grep -qx "NAME: Janis Berzins" || bad "the next export's log lost the stored header"
grep -q "written in .*elsewhere" check.err || bad "hostsim does not say where its files went"

# The guide's own steps: a folder of the operator's holding hostsim.exe and
# BALTIC.dll and the zip's samples folder; the sample replayed there.
mkdir -p "$work/Baltic"
cd "$work/Baltic"
cp "$work/unpacked/hostsim.exe" "$work/unpacked/BALTIC.dll" .
cp -r "$work/unpacked/samples" .
status=0
wine hostsim.exe replay 'samples\baltic-sample.adi' > guide.txt 2> guide.err || status=$?
[ "$status" -eq 0 ] || { cat guide.err; bad "the guide's hostsim replay ended with status $status"; }
tr -d '\r' < guide.txt | grep -qxF "$(printf 'Total\t 315\t 1809\t 185\t 130')" ||
  bad "the guide's hostsim replay did not give the sample's totals"

# A folder the operator cannot write in (made so even for root with chattr):
# refused with status 2, nothing written there.
mkdir -p "$work/locked"
cp "$sample" "$work/locked/mylog.adi"
chattr +i "$work/locked" || bad "chattr cannot lock $work/locked"
status=0
(cd "$work/locked" && wine ../Baltic/hostsim.exe replay mylog.adi > /dev/null 2> "$work/locked.err") || status=$?
chattr -i "$work/locked"
[ "$status" -eq 2 ] && grep -q "cannot write in" "$work/locked.err" ||
  { cat "$work/locked.err"; bad "hostsim in a folder it cannot write in did not refuse with status 2 (status $status)"; }
[ "$(ls "$work/locked")" = "mylog.adi" ] || bad "hostsim wrote into a folder it could not write in: $(ls "$work/locked" | tr '\n' ' ')"

# In the host's own folder, which holds its version file, hostsim refuses and
# leaves that file as it was.
cd "$work/root"
printf '[Main]\r\nQorv=2.19\r\n' > Qorv2.ini
cp Qorv2.ini Qorv2.ini.before
status=0
wine Plugins/hostsim.exe replay "$(winname "$sample")" > /dev/null 2> refused.err || status=$?
[ "$status" -eq 2 ] && grep -q "Qorv2.ini is there and hostsim did not write it" refused.err ||
  bad "hostsim in the host's folder did not refuse with status 2 (status $status)"
cmp -s Qorv2.ini Qorv2.ini.before || bad "hostsim changed the host's Qorv2.ini"

# The packaged stand-in never registers itself under the host's name.
wstatus=0
wine hostsim.exe windows --seconds 1 > /dev/null 2> windows.err || wstatus=$?
[ "$wstatus" -eq 2 ] && grep -q "no windows command" windows.err || bad "the packaged hostsim ran its windows command"

wineserver -k 2>/dev/null || true
echo "install check took $(($(date +%s) - start)) s"
[ $fail -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $fail
