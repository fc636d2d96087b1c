// Whole-factor scaling of the window's canvas (the menu bar and the game
// area): how big to make the window, and where the canvas lands in the
// renderer's output, windowed or fullscreen. Pure arithmetic on sizes.
#pragma once

struct Size {
    int w, h;
};

// Pixels per point of the window, as a ratio of the renderer's output size
// to the window's size (2/1 on a doubled HiDPI display, 1/1 elsewhere).
struct PixelDensity {
    int pixels, points;
};

// The largest whole factor at which `canvas` fits in `area` (both in
// pixels); at least 1 so that a tiny area still shows something.
int whole_scale_to_fit(Size area, Size canvas);

// The window's scale for a desktop area of `usable` points, less the frame
// the window manager adds around the window (`frame`, in points).
int window_scale(Size usable, Size frame, PixelDensity density, Size canvas);

// The window size in points that holds the canvas at `scale` output pixels
// per canvas pixel (rounded up, so the output is never short of it).
Size window_points(int scale, PixelDensity density, Size canvas);

// Where the canvas goes in the renderer's output: centred at the largest
// whole factor, the rest left black. When even factor 1 does not fit, it
// keeps to the top-left corner so the menu bar stays in sight.
struct CanvasPlacement {
    int scale;
    int x, y;  // output pixels of the canvas's top-left corner
};
CanvasPlacement place_canvas(Size output, Size canvas);

// Canvas pixel under an output pixel; false when that is off the canvas.
bool output_to_canvas(const CanvasPlacement& placement, Size canvas, int out_x, int out_y,
                      int* canvas_x, int* canvas_y);

// An output pixel from a window point.
int points_to_pixels(int points, PixelDensity density);
