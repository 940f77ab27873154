# SPDX-License-Identifier: GPL-3.0-or-later
# What every cross build for a Debian architecture shares, included by that architecture's
# toolchain file after it named the architecture (MOLTREVANE_DEB_ARCH), its GNU triplet
# (MOLTREVANE_TRIPLET) and the qemu-user that runs its programs (MOLTREVANE_QEMU).
# Debian's cross compilers (crossbuild-essential-ARCH) and the libraries' multiarch -dev
# packages (libsqlite3-dev:ARCH …) are all it needs: no sysroot of its own.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER ${MOLTREVANE_TRIPLET}-gcc)
set(CMAKE_CXX_COMPILER ${MOLTREVANE_TRIPLET}-g++)
set(CMAKE_LIBRARY_ARCHITECTURE ${MOLTREVANE_TRIPLET})  # /usr/lib/TRIPLET, never the build machine's
# pkg-config (FindEXPAT asks it) answers with the target's .pc files alone.
set(ENV{PKG_CONFIG_LIBDIR} /usr/lib/${MOLTREVANE_TRIPLET}/pkgconfig:/usr/share/pkgconfig)
# The tests, gtest's listing of their cases and the build's own helpers (make-icon) run under
# qemu-user, with the target's multiarch loader and libraries from / (libc6:ARCH, as on the
# Pi), not the older libc beside the cross compiler: threads started on that one crashed.
# No binfmt registration is needed.
set(CMAKE_CROSSCOMPILING_EMULATOR ${MOLTREVANE_QEMU} -L /)
