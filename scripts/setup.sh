#!/usr/bin/env bash
# Installs what building and testing need, on a Debian 12 machine, as root.
# Idempotent: installs only what is missing, so a second run costs seconds.
#
# The DLL and its tests run under 32-bit Wine, whose loader is a 32-bit Linux
# program. Some kernels run none of those ("32-bit emulation disabled"); there
# the loader goes through qemu-i386-static, registered with binfmt_misc, while
# the Wine server runs natively from wine64. BALTIC_WINE_EMULATION=1 takes that
# path even where the kernel runs 32-bit programs itself (to test it).
# Prints one line on stderr telling which path it took.
set -Eeuo pipefail

die() {
  echo "setup: $*" >&2
  exit 1
}
trap 'rc=$?; echo "setup: \"$BASH_COMMAND\" failed with status $rc (scripts/setup.sh line $LINENO); fix that and rerun scripts/setup.sh as root" >&2' ERR

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || die "not root and no sudo; run scripts/setup.sh as root"
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive

have_cmd() { command -v "$1" >/dev/null 2>&1; }
# The packages checked by name, asked of dpkg once (each question costs a
# tenth of a second on a busy machine); asked again after an install.
installed=""
read_installed() {
  # Each as NAME:ARCH and as NAME.
  installed=$(dpkg-query -W -f='${Package}:${Architecture} ${Status}\n' libclang-rt-14-dev wine32:i386 imagemagick wine64 "$@" 2>/dev/null |
    sed -n 's/^\([^:]*\)\(:[^ ]*\) install ok installed$/\1\2\n\1/p') || true
}
read_installed
have_pkg() { grep -qx -- "$1" <<<"$installed"; }

# apt-get update, reported in one line per index it could not fetch. A mirror
# in mid-sync serves some indexes with the wrong size; the others are still
# good, so set-up goes on and fails only if the install itself fails.
updated=0
apt_update() {
  [ "$updated" -eq 0 ] || return 0
  updated=1
  local out
  if out=$($SUDO apt-get update -qq 2>&1); then
    return 0
  fi
  # One line per index apt names (a file of the wrong size, a source with no
  # Release file), without its closing summary.
  local failed
  failed=$(grep '^E: ' <<<"$out" | grep -v 'Some index files failed to download' | sed 's/^E: //') || true
  while IFS= read -r line; do
    echo "setup: apt-get update: $line; going on with the other indexes" >&2
  done <<<"${failed:-status of apt-get update not 0 and no index named}"
}

# The i386 twins of amd64 libraries must be of the same version. When the
# security suite's i386 index is missing (mirror in mid-sync) its amd64
# versions cannot be matched: one retry then pins that suite below the
# others, for that call only.
security_pin=$(mktemp)
trap 'rm -f "$security_pin"' EXIT
printf '%s\n' 'Package: *' 'Pin: release l=Debian-Security' 'Pin-Priority: 100' >"$security_pin"

install_pkgs() {
  [ $# -gt 0 ] || return 0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 ||
      die "could not add the i386 architecture (dpkg --add-architecture i386); run it as root and retry"
    updated=0
  fi
  echo "setup: installing $*" >&2
  apt_update
  local out rc=0
  out=$($SUDO apt-get install -y -qq --no-install-recommends "$@" 2>&1 >/dev/null) || rc=$?
  [ "$rc" -ne 0 ] || return 0
  echo "setup: apt-get install failed ($(grep -m1 '^E:' <<<"$out" || echo "status $rc")); retrying once with the security suite pinned below the others" >&2
  rc=0
  out=$($SUDO apt-get install -y -qq --no-install-recommends -o Dir::Etc::Preferences="$security_pin" "$@" 2>&1 >/dev/null) || rc=$?
  [ "$rc" -ne 0 ] || return 0
  local missing=() p
  read_installed "$@"
  for p in "$@"; do have_pkg "$p" || missing+=("$p"); done
  grep '^E:' <<<"$out" | head -n 3 >&2 || true
  die "could not install: ${missing[*]:-$*}; see apt's message above, run 'apt-get update' and retry as root"
}

need=()
have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd g++ || need+=(g++) # the native test build, with its sanitizer runtimes
have_cmd i686-w64-mingw32-g++-win32 || need+=(g++-mingw-w64-i686-win32)
have_cmd i686-w64-mingw32-windres || need+=(binutils-mingw-w64-i686)
have_cmd xvfb-run || need+=(xvfb)
have_cmd xauth || need+=(xauth)
have_cmd clang || need+=(clang)
have_cmd llvm-nm || need+=(llvm)
have_pkg libclang-rt-14-dev || need+=(libclang-rt-14-dev) # libFuzzer, for the exports' fuzzer
[ -f /usr/include/doctest/doctest.h ] || need+=(doctest-dev)
have_pkg wine32:i386 || need+=(wine wine32:i386)
have_cmd chromium || need+=(chromium)
have_cmd node || need+=(nodejs)
have_cmd npm || need+=(npm)
# ImageMagick's convert turns the tests' BMP screenshots into the guide's PNGs.
have_pkg imagemagick || need+=(imagemagick)
# The validator of the summary page the export writes.
have_cmd tidy || need+=(tidy)
# The country file (cty.dat) that the build puts into hostsim.
[ -f /usr/share/hamradio-files/cty.dat ] || need+=(hamradio-files)
# chattr, with which the tests make a folder read-only even for root.
have_cmd chattr || need+=(e2fsprogs)
install_pkgs "${need[@]}"

# The independent Cabrillo reader the tests check the exported log with, at
# the version pinned in its package-lock.json, installed beside it.
reader="$(cd "$(dirname "$0")/.." && pwd)/tests/tools/cabrillo_reader"
if [ ! -f "$reader/node_modules/@ham2k/lib-qson-cabrillo/package.json" ]; then
  echo "setup: installing the Cabrillo reader into $reader/node_modules" >&2
  (cd "$reader" && npm ci --no-audit --no-fund --loglevel=error >/dev/null) ||
    die "npm could not install the Cabrillo reader ('npm ci' in $reader); check the network and the npm registry, then retry"
fi

# --- Can Wine's 32-bit loader run here? ---------------------------------------

loader=/usr/lib/wine/wine
qemu=/usr/bin/qemu-i386-static
binfmt=/proc/sys/fs/binfmt_misc
entry=qemu-i386-wine
[ -x "$loader" ] || die "$loader is missing although wine32:i386 is installed; run 'apt-get install --reinstall wine32:i386' as root"

loader_out=""
loader_runs() {
  # --version needs no Wine prefix. Under qemu the first start may be slow.
  # bash's exec, unlike timeout's, reports "Exec format error" as it is
  # instead of handing the binary to sh.
  loader_out=$(timeout 120 bash -c 'exec "$1" --version' exec "$loader" 2>&1) && return 0
  loader_out="status $?: $(head -n1 <<<"${loader_out:-no output}")"
  return 1
}

# Prints the names of the enabled binfmt_misc entries that match 32-bit x86
# ELF programs (class 1 at byte 4, machine 3 at bytes 18-19).
i386_entries() {
  [ -e "$binfmt/register" ] && [ "$(cat "$binfmt/status")" = enabled ] || return 0
  local f magic
  for f in "$binfmt"/*; do
    case "${f##*/}" in register | status) continue ;; esac
    [ "$(head -n1 "$f" 2>/dev/null)" = enabled ] || continue
    grep -qx 'offset 0' "$f" || continue
    magic=$(sed -n 's/^magic //p' "$f")
    [ "${#magic}" -ge 40 ] && [ "${magic:0:10}" = 7f454c4601 ] && [ "${magic:36:4}" = 0300 ] || continue
    echo "${f##*/}"
  done
}

# An entry fits when it hands the program to qemu-i386-static with the F flag:
# the kernel then opens qemu once, at registration, so it is found in every
# mount namespace and chroot. P (keep argv[0]) only fits qemu's -binfmt-P name.
entry_fits() {
  local f="$binfmt/$1" interp flags
  interp=$(sed -n 's/^interpreter //p' "$f")
  flags=$(sed -n 's/^flags: *//p' "$f")
  [ -n "$interp" ] && [ "$(readlink -f "$interp")" = "$(readlink -f "$qemu")" ] || return 1
  [[ "$flags" == *F* ]] || return 1
  [[ "$flags" != *P* || "$interp" == *-binfmt-P ]]
}

fitting_entry() {
  local e
  for e in $(i386_entries); do
    entry_fits "$e" && { echo "$e"; return 0; }
  done
  return 1
}

# Registers 32-bit x86 ELF programs (executables and shared objects) to qemu.
register_qemu() {
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  if [ -e "$binfmt/$entry" ]; then
    # Ours, but disabled or from an older rule: replace it.
    echo -1 | $SUDO tee "$binfmt/$entry" >/dev/null ||
      die "could not remove the stale binfmt_misc entry $binfmt/$entry; run 'echo -1 > $binfmt/$entry' as root and retry"
  fi
  printf '%s' ":$entry:M::$magic:$mask:$qemu:F" | $SUDO tee "$binfmt/register" >/dev/null ||
    die "could not register $qemu for 32-bit programs in $binfmt/register; the kernel needs CONFIG_BINFMT_MISC and this must run as root outside an unprivileged container"
}

emulate=0 why=""
if [ "${BALTIC_WINE_EMULATION:-}" = 1 ]; then
  emulate=1 why="forced by BALTIC_WINE_EMULATION=1"
elif ! loader_runs; then
  emulate=1 why="the kernel itself could not run Wine's 32-bit loader: $loader_out"
fi

if [ "$emulate" -eq 0 ]; then
  # The loader ran. Say whether the kernel did it or a binfmt_misc handler
  # (registered earlier, by this script or by a package) did.
  via=$(i386_entries | head -n1)
  if [ -n "$via" ]; then
    interp=$(sed -n 's/^interpreter //p' "$binfmt/$via")
    echo "setup: 32-bit programs run through ${interp##*/} (binfmt_misc entry $via)" >&2
  else
    echo "setup: 32-bit programs run natively" >&2
  fi
  exit 0
fi

# --- 32-bit programs through qemu ----------------------------------------------

extra=()
have_cmd qemu-i386-static || extra+=(qemu-user-static)
# With wine64 the Wine server is a 64-bit program and runs at full speed.
have_pkg wine64 || extra+=(wine64)
install_pkgs "${extra[@]}"
[ -x "$qemu" ] || die "$qemu is missing although qemu-user-static is installed; run 'apt-get install --reinstall qemu-user-static' as root"

if [ ! -e "$binfmt/register" ]; then
  $SUDO mount -t binfmt_misc binfmt_misc "$binfmt" ||
    die "could not mount binfmt_misc on $binfmt; run 'mount -t binfmt_misc binfmt_misc $binfmt' as root (the kernel needs CONFIG_BINFMT_MISC)"
fi
if [ "$(cat "$binfmt/status")" != enabled ]; then
  echo 1 | $SUDO tee "$binfmt/status" >/dev/null ||
    die "binfmt_misc is disabled and could not be enabled; run 'echo 1 > $binfmt/status' as root"
fi

if ! via=$(fitting_entry); then
  register_qemu
  via=$entry
fi

loader_runs || die "Wine's 32-bit loader cannot run through $qemu either ($loader_out; $why); check 'cat $binfmt/$via' and that $qemu runs"
echo "setup: 32-bit programs run through qemu-i386-static (binfmt_misc entry $via; $why)" >&2
