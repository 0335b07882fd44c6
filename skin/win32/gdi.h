// Small owners of the GDI objects that the painted look makes: bitmaps and regions (the framework's
// GdiObject), a memory device context, an object selected into a context for a while. None can be copied.
#pragma once

#include "framework/win32/win32_api.h"

#include <cstdint>

#include "framework/win32/gdi_handles.h"

namespace quorvel::skin {

using ui::GdiObject;
using BitmapHandle = GdiObject<HBITMAP>;
using RegionHandle = GdiObject<HRGN>;

// A memory device context compatible with another one; deleted with its owner.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(::CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) ::DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// An object selected into a device context until the owner goes, when the previous one comes back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc != nullptr && object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  // false when the object could not be selected (a bitmap selected elsewhere, a null context).
  bool ok() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Picture `id` of the skin (its number at 100 %, res/art) drawn for a display of `dpi`, as a new bitmap
// the caller owns; null when the module has no such picture. The pictures of each scale are decoded
// once and kept (skin/win32/art_cache.h). A device-independent section keeps the pictures' 24 bits per
// pixel; otherwise the bitmap is made for the screen.
BitmapHandle LoadBitmapResource(HINSTANCE instance, int id, bool deviceIndependent = false, int dpi = 96);

// Mask picture `id` for `dpi`, as LoadBitmapResource makes it but with every pixel that is not white made
// black (a scale between two sets blends the shape's edge); null when there is no such picture.
BitmapHandle LoadMaskResource(HINSTANCE instance, int id, int dpi);

// Width and height of a bitmap (0, 0 for none).
SIZE BitmapSize(HBITMAP bitmap);

// Copies a whole bitmap to a rectangle of `target`: stretched over it, or (unscaled) only the part of
// the bitmap that fits it, at its top left. false when nothing could be drawn.
bool DrawBitmap(HDC target, HBITMAP bitmap, const RECT& rect, bool stretched);

// The region of a bitmap's pixels whose colour (0x00RRGGBB) is not `transparent`: one rectangle per run
// of such pixels in each row. Empty for a bitmap of the transparent colour only; null on failure.
RegionHandle RegionFromMask(HBITMAP mask, std::uint32_t transparent);

}  // namespace quorvel::skin
