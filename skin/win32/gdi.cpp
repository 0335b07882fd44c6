#include "skin/win32/gdi.h"

#include <algorithm>
#include <span>
#include <vector>

#include "skin/mask_runs.h"
#include "skin/win32/art_cache.h"

namespace quorvel::skin {

namespace {

// A header for `picture`'s pixels as they are kept: 32 bits, rows from the top.
BITMAPINFO TopDown32(const Picture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// An empty bitmap for `picture`: a 24-bit section, or one made for the screen.
BitmapHandle EmptyBitmapFor(const Picture& picture, bool deviceIndependent) {
  if (deviceIndependent) {
    BITMAPINFO info = TopDown32(picture);
    info.bmiHeader.biHeight = picture.height;  // rows from the bottom, as a bitmap file's
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    return BitmapHandle(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  }
  ui::WindowDc screen(nullptr);
  if (!screen) return {};
  return BitmapHandle(::CreateCompatibleBitmap(screen.get(), picture.width, picture.height));
}

// A bitmap holding `picture`'s pixels; null on failure.
BitmapHandle BitmapOf(const Picture& picture, bool deviceIndependent) {
  BitmapHandle bitmap = EmptyBitmapFor(picture, deviceIndependent);
  if (!bitmap) return {};
  const BITMAPINFO info = TopDown32(picture);
  MemoryDc dc(nullptr);
  if (!dc || ::SetDIBits(dc.get(), bitmap.get(), 0, static_cast<UINT>(picture.height), picture.pixels.data(), &info,
                         DIB_RGB_COLORS) != picture.height) {
    return {};
  }
  return bitmap;
}

}  // namespace

BitmapHandle LoadBitmapResource(HINSTANCE instance, int id, bool deviceIndependent, int dpi) {
  const Picture* picture = ArtCache::Shared().Find(instance, id, dpi);
  return picture != nullptr ? BitmapOf(*picture, deviceIndependent) : BitmapHandle{};
}

BitmapHandle LoadMaskResource(HINSTANCE instance, int id, int dpi) {
  const Picture* picture = ArtCache::Shared().Find(instance, id, dpi);
  if (picture == nullptr) return {};
  Picture mask = *picture;
  ThresholdMask(mask.pixels);
  return BitmapOf(mask, false);
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

bool DrawBitmap(HDC target, HBITMAP bitmap, const RECT& rect, bool stretched) {
  const SIZE size = BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return false;
  MemoryDc source(target);
  if (!source) return false;
  SelectedObject selected(source.get(), bitmap);
  if (!selected.ok()) return false;
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (stretched) {
    const int oldMode = ::SetStretchBltMode(target, COLORONCOLOR);
    const BOOL drawn = ::StretchBlt(target, rect.left, rect.top, width, height, source.get(), 0, 0, size.cx,
                                    size.cy, SRCCOPY);
    if (oldMode != 0) ::SetStretchBltMode(target, oldMode);
    return drawn != FALSE;
  }
  return ::BitBlt(target, rect.left, rect.top, std::min<int>(width, size.cx), std::min<int>(height, size.cy),
                  source.get(), 0, 0, SRCCOPY) != FALSE;
}

RegionHandle RegionFromMask(HBITMAP mask, std::uint32_t transparent) {
  const SIZE size = BitmapSize(mask);
  if (size.cx <= 0 || size.cy <= 0) return {};
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // rows from the top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  {
    MemoryDc dc(nullptr);
    if (!dc || ::GetDIBits(dc.get(), mask, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS) !=
                   size.cy) {
      return {};
    }
  }
  RegionHandle region(::CreateRectRgn(0, 0, 0, 0));
  if (!region) return {};
  for (int y = 0; y < size.cy; ++y) {
    const std::span<const std::uint32_t> row(pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(size.cx),
                                             static_cast<size_t>(size.cx));
    for (const PixelRun& run : OpaqueRuns(row, transparent)) {
      RegionHandle piece(::CreateRectRgn(run.begin, y, run.end, y + 1));
      if (!piece || ::CombineRgn(region.get(), region.get(), piece.get(), RGN_OR) == ERROR) return {};
    }
  }
  return region;
}

}  // namespace quorvel::skin
