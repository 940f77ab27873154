#include "platform/fltk_icon.h"

#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Window.H>

#include <array>
#include <vector>

namespace moltrevane {
namespace {

// Dark blue ground, a white square outline and a red cross, drawn for any size.
std::vector<unsigned char> IconPixels(int size) {
    std::vector<unsigned char> pixels(static_cast<std::size_t>(size * size * 3));
    const int edge = size / 8, far = size - 1 - size / 8, cross = size * 5 / 8, arm = size / 5;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            std::array<unsigned char, 3> rgb = {20, 40, 110};
            const bool onSquare = (x >= edge && x <= far && (y == edge || y == far)) ||
                                  (y >= edge && y <= far && (x == edge || x == far));
            const bool onCross = (y == size - 1 - cross && x >= cross - arm && x <= cross + arm) ||
                                 (x == cross && y >= size - 1 - cross - arm && y <= size - 1 - cross + arm);
            if (onSquare) rgb = {255, 255, 255};
            if (onCross) rgb = {230, 20, 20};
            for (int c = 0; c < 3; ++c) pixels[static_cast<std::size_t>((y * size + x) * 3 + c)] = rgb[static_cast<std::size_t>(c)];
        }
    }
    return pixels;
}

Fl_RGB_Image* MakeIcon(int size) {
    static std::array<std::vector<unsigned char>, 2> storage;  // the images point into it
    std::vector<unsigned char>& pixels = storage[size == 32 ? 0 : 1];
    pixels = IconPixels(size);
    return new Fl_RGB_Image(pixels.data(), size, size, 3);
}

}  // namespace

Fl_RGB_Image* ProgramIcon() {
    static Fl_RGB_Image* icon = MakeIcon(32);
    return icon;
}

void SetProgramIcons(Fl_Window& window) {
    static Fl_RGB_Image* small = MakeIcon(16);
    const Fl_RGB_Image* icons[] = {ProgramIcon(), small};
    window.icons(icons, 2);
}

}  // namespace moltrevane
