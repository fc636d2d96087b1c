#include "draw.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

Colour mix(Colour a, Colour b, double t) {
    auto channel = [&](int shift) {
        const double va = (a >> shift) & 0xFF;
        const double vb = (b >> shift) & 0xFF;
        return static_cast<Colour>(std::lround(va + (vb - va) * t)) << shift;
    };
    Colour c = channel(16) | channel(8) | channel(0);
    return c == kClear ? rgb(1, 1, 1) : c;  // a blend must never turn transparent
}

void fill_box(Image& img, const Box& box, Colour c) {
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) img.set(x, y, c);
}

void frame_box(Image& img, const Box& box, Colour c) {
    for (int x = box.left; x < box.right; ++x) {
        img.set(x, box.top, c);
        img.set(x, box.bottom - 1, c);
    }
    for (int y = box.top; y < box.bottom; ++y) {
        img.set(box.left, y, c);
        img.set(box.right - 1, y, c);
    }
}

void fill_ellipse(Image& img, double cx, double cy, double rx, double ry, Colour c) {
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry));
         ++y)
        for (int x = static_cast<int>(std::floor(cx - rx));
             x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            const double dy = (y + 0.5 - cy) / ry;
            if (dx * dx + dy * dy <= 1.0) img.set(x, y, c);
        }
}

void fill_disc(Image& img, double cx, double cy, double r, Colour c) {
    fill_ellipse(img, cx, cy, r, r, c);
}

void ring(Image& img, double cx, double cy, double r_outer, double r_inner, Colour c) {
    for (int y = static_cast<int>(std::floor(cy - r_outer)); y <= std::ceil(cy + r_outer); ++y)
        for (int x = static_cast<int>(std::floor(cx - r_outer)); x <= std::ceil(cx + r_outer);
             ++x) {
            const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (d <= r_outer && d > r_inner) img.set(x, y, c);
        }
}

void line(Image& img, int x0, int y0, int x1, int y1, Colour c) {
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        img.set(x0, y0, c);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void vertical_gradient(Image& img, const Box& box, Colour top, Colour bottom, int steps) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    const int h = std::max(1, box.height() - 1);
    for (int y = box.top; y < box.bottom; ++y) {
        const double t = static_cast<double>(y - box.top) / h * (steps - 1);
        const int band = static_cast<int>(t);
        const double frac = t - band;
        for (int x = box.left; x < box.right; ++x) {
            const int b = frac * 16 > bayer[y & 3][x & 3] + 0.5 ? band + 1 : band;
            img.set(x, y,
                    mix(top, bottom, static_cast<double>(std::min(b, steps - 1)) / (steps - 1)));
        }
    }
}

void outline(Image& img, const Box& box, Colour c, bool corners) {
    std::vector<std::pair<int, int>> marks;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            if (img.get(x, y) != kClear) continue;
            bool edge = false;
            for (int dy = -1; dy <= 1 && !edge; ++dy)
                for (int dx = -1; dx <= 1 && !edge; ++dx) {
                    if ((dx == 0 && dy == 0) || (!corners && dx != 0 && dy != 0)) continue;
                    const int nx = x + dx, ny = y + dy;
                    if (nx < box.left || ny < box.top || nx >= box.right || ny >= box.bottom)
                        continue;
                    const Colour n = img.get(nx, ny);
                    edge = n != kClear && n != c;
                }
            if (edge) marks.emplace_back(x, y);
        }
    for (auto [x, y] : marks) img.set(x, y, c);
}

void overlay(Image& dst, int x, int y, const Image& src, const Box& box) {
    for (int sy = box.top; sy < box.bottom; ++sy)
        for (int sx = box.left; sx < box.right; ++sx) {
            const Colour c = src.get(sx, sy);
            if (c != kClear) dst.set(x + sx - box.left, y + sy - box.top, c);
        }
}

void stamp(Image& img, int x, int y, const std::vector<std::string>& rows, const Legend& legend,
           bool mirror) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const std::string& row = rows[r];
        for (size_t k = 0; k < row.size(); ++k) {
            for (const auto& [ch, colour] : legend) {
                if (ch != row[k]) continue;
                const int px =
                    mirror ? x + static_cast<int>(row.size() - 1 - k) : x + static_cast<int>(k);
                img.set(px, y + static_cast<int>(r), colour);
            }
        }
    }
}

void fill_triangle(Image& img, double ax, double ay, double bx, double by, double cx, double cy,
                   Colour c) {
    auto side = [](double px, double py, double qx, double qy, double x, double y) {
        return (qx - px) * (y - py) - (qy - py) * (x - px);
    };
    const int x0 = static_cast<int>(std::floor(std::min({ax, bx, cx})));
    const int x1 = static_cast<int>(std::ceil(std::max({ax, bx, cx})));
    const int y0 = static_cast<int>(std::floor(std::min({ay, by, cy})));
    const int y1 = static_cast<int>(std::ceil(std::max({ay, by, cy})));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double d1 = side(ax, ay, bx, by, px, py);
            const double d2 = side(bx, by, cx, cy, px, py);
            const double d3 = side(cx, cy, ax, ay, px, py);
            const bool neg = d1 < 0 || d2 < 0 || d3 < 0;
            const bool pos = d1 > 0 || d2 > 0 || d3 > 0;
            if (!(neg && pos)) img.set(x, y, c);
        }
}
