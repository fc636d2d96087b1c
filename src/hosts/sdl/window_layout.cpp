#include "hosts/sdl/window_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

int floor_div(int a, int b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

}  // namespace

int whole_scale_to_fit(Size area, Size canvas) {
    if (canvas.w <= 0 || canvas.h <= 0) return 1;
    return std::max(1, std::min(area.w / canvas.w, area.h / canvas.h));
}

int points_to_pixels(int points, PixelDensity density) {
    if (density.points <= 0) return points;
    return static_cast<int>(static_cast<int64_t>(points) * density.pixels / density.points);
}

int window_scale(Size usable, Size frame, PixelDensity density, Size canvas) {
    const Size room = {points_to_pixels(usable.w - frame.w, density),
                       points_to_pixels(usable.h - frame.h, density)};
    return whole_scale_to_fit(room, canvas);
}

Size window_points(int scale, PixelDensity density, Size canvas) {
    if (density.pixels <= 0) return {scale * canvas.w, scale * canvas.h};
    auto points = [&](int pixels) {
        const int64_t p = static_cast<int64_t>(pixels) * density.points;
        return static_cast<int>((p + density.pixels - 1) / density.pixels);
    };
    return {points(scale * canvas.w), points(scale * canvas.h)};
}

CanvasPlacement place_canvas(Size output, Size canvas) {
    const int scale = whole_scale_to_fit(output, canvas);
    const int x = (output.w - scale * canvas.w) / 2;
    const int y = (output.h - scale * canvas.h) / 2;
    return {scale, std::max(0, x), std::max(0, y)};
}

bool output_to_canvas(const CanvasPlacement& placement, Size canvas, int out_x, int out_y,
                      int* canvas_x, int* canvas_y) {
    *canvas_x = floor_div(out_x - placement.x, placement.scale);
    *canvas_y = floor_div(out_y - placement.y, placement.scale);
    return *canvas_x >= 0 && *canvas_x < canvas.w && *canvas_y >= 0 && *canvas_y < canvas.h;
}
