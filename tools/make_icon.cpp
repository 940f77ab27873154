// SPDX-License-Identifier: GPL-3.0-or-later
// make-icon: writes the program's icon as a PNG file, for the desktop's icon theme.
//
//   make-icon SIZE FILE.png
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "screens/program_icon.h"

namespace {

using Bytes = std::vector<unsigned char>;

void AppendBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(value >> shift));
}

std::uint32_t Crc32(const Bytes& data, std::size_t from) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < data.size(); ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void AppendChunk(Bytes& png, const char* type, const Bytes& body) {
    AppendBigEndian(png, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = png.size();
    png.insert(png.end(), type, type + 4);
    png.insert(png.end(), body.begin(), body.end());
    AppendBigEndian(png, Crc32(png, start));
}

// A zlib stream of uncompressed blocks: an icon is a few kB, so compression buys nothing.
Bytes StoredZlib(const Bytes& raw) {
    Bytes out = {0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        for (const std::size_t v : {length, length ^ 0xFFFFu}) {
            out.push_back(static_cast<unsigned char>(v & 0xFF));
            out.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
        }
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (const unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    AppendBigEndian(out, (b << 16) | a);
    return out;
}

Bytes Png(int size, const Bytes& rgb) {
    Bytes header;
    AppendBigEndian(header, static_cast<std::uint32_t>(size));
    AppendBigEndian(header, static_cast<std::uint32_t>(size));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits per channel, RGB, no interlace
    Bytes raw;
    const auto rowBytes = static_cast<std::size_t>(size) * 3;
    for (std::size_t row = 0; row < static_cast<std::size_t>(size); ++row) {
        raw.push_back(0);  // no filter
        raw.insert(raw.end(), rgb.begin() + static_cast<std::ptrdiff_t>(row * rowBytes),
                   rgb.begin() + static_cast<std::ptrdiff_t>((row + 1) * rowBytes));
    }
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", StoredZlib(raw));
    AppendChunk(png, "IEND", {});
    return png;
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[1]) : 0;
    if (size < 8 || size > 1024) {
        std::fprintf(stderr, "usage: make-icon SIZE FILE.png (SIZE 8 … 1024)\n");
        return 2;
    }
    const Bytes png = Png(size, moltrevane::ProgramIconPixels(size));
    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (!file.flush()) {
        std::fprintf(stderr, "make-icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
