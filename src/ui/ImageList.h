// A strip of equally sized 32-bit pictures with alpha, drawn blended, turned into icons for the
// tray or into bitmaps for menus.
#pragma once

#include "ui/Component.h"
#include "ui/Handles.h"

#include <cstdint>
#include <vector>

namespace ui {

class ImageList : public Component {
 public:
  ImageList(Component* owner, std::wstring name, int width, int height);

  int ImageWidth() const { return width_; }
  int ImageHeight() const { return height_; }
  int Count() const { return static_cast<int>(images_.size()); }

  // Appends the cells of a horizontal strip (a bitmap resource of 32-bit pixels with alpha).
  bool AddStripResource(const wchar_t* resourceName);
  // Appends one picture of width x height straight (non-premultiplied) BGRA pixels, rows top down.
  int Add(const std::vector<std::uint32_t>& pixels);
  const std::vector<std::uint32_t>& Pixels(int index) const { return images_.at(static_cast<size_t>(index)); }

  // Blends picture `index` onto `dc`, optionally stretched to w x h; an index out of range draws nothing.
  void Draw(HDC dc, int index, int x, int y, int w = 0, int h = 0) const;
  // A new icon of picture `index` (the caller owns it); null when out of range.
  HICON MakeIcon(int index) const;
  // A premultiplied 32-bit DIB of picture `index`, for menu items.
  HBITMAP MakeBitmap(int index) const;
  // A system image list holding the same pictures (for list views and tool bars).
  HIMAGELIST SystemList();

 private:
  int width_, height_;
  std::vector<std::vector<std::uint32_t>> images_;
  ImageListHandle system_;
};

}  // namespace ui
