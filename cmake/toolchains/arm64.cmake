# SPDX-License-Identifier: GPL-3.0-or-later
# Raspberry Pi OS 64-bit (Debian arm64: AArch64).
#   cmake -S . -B build/arm64 --toolchain cmake/toolchains/arm64.cmake
set(MOLTREVANE_DEB_ARCH arm64)
set(MOLTREVANE_TRIPLET aarch64-linux-gnu)
set(MOLTREVANE_QEMU qemu-aarch64-static)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
