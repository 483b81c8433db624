// Bitmap routines of the picture records: the 48 x 48 thumbnail, nearest-pixel rescaling of a
// rectangle and the copy of a screen rectangle.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/Bitmap.h"

// Side of every record thumbnail, and the image size of the picture list.
inline constexpr int ThumbnailSize = 48;

// Makes the thumbnail of `picture` in `thumbnail` (the main window's reused bitmap) and returns
// it; null for no picture, an empty one, or any failure. A picture that is not in the format
// the routine works on is converted in place, and is saved that way afterwards.
ui::Bitmap* MakeRecordThumbnail(ui::Bitmap* picture, ui::Bitmap& thumbnail) noexcept;

// Reduces `source` to `size` x `size` pixels in `dest` by box averaging, then sharpens. Both
// end up 24-bit. A source no larger than `size` either way is copied as it is.
void MakeThumbNail(ui::Bitmap& source, ui::Bitmap& dest, std::uint16_t size);

// Rescales `sourceRect` of `source` into `destRect` of `dest` by repeating or sampling pixels;
// when one side grows and the other shrinks, the system's stretch (COLORONCOLOR) does it. `dest`
// takes the pixel format of `source`; its size stays.
void DeleteScansRect(ui::Bitmap& source, ui::Bitmap& dest, const RECT& sourceRect, const RECT& destRect);

// Sizes `bitmap` to width x height and copies that rectangle of the screen into it. A zero or
// negative width or height leaves the bitmap as it is.
void WndScreenShot(int x, int y, int width, int height, ui::Bitmap& bitmap);
