# The environment every Wine program of the build, the tests and the main job
# runs in, one variable a line (sourced by the scripts, read by
# tests/CMakeLists.txt for the tests' environment).
#
# No Wine debug output, and no prompt to install Mono or Gecko.
export WINEDEBUG=-all
export WINEDLLOVERRIDES=mscoree,mshtml=
# Where 32-bit programs run through qemu-i386 (and nowhere else: only qemu
# reads it): its guest address space ends at 0x81000000 instead of 4 GB.
# Wine's 32-bit start-up tries to reserve everything above 0x7ffe0000 in ever
# smaller pieces, and qemu answers each try only after searching its whole
# guest space: about a minute of every Wine program's start under qemu,
# against three seconds with this limit. Room above 2 GB is kept for the
# shared user data at 0x7ffe0000 and for qemu's own mappings; the programs,
# not large-address-aware, use no more than 2 GB.
export QEMU_RESERVED_VA=0x81000000
