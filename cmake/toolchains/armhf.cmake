# SPDX-License-Identifier: GPL-3.0-or-later
# Raspberry Pi OS 32-bit (Debian armhf: ARMv7, hard float).
#   cmake -S . -B build/armhf --toolchain cmake/toolchains/armhf.cmake
set(MOLTREVANE_DEB_ARCH armhf)
set(MOLTREVANE_TRIPLET arm-linux-gnueabihf)
set(MOLTREVANE_QEMU qemu-arm-static)
set(CMAKE_SYSTEM_PROCESSOR arm)
# (64-bit time_t and off_t: the top CMakeLists.txt asks for them on every 32-bit target.)
# -Wno-psabi: GCC notes on every std::map that its passing changed in GCC 7.1, which only
# matters to code built with a GCC older than that.
set(CMAKE_CXX_FLAGS_INIT "-Wno-psabi")
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
