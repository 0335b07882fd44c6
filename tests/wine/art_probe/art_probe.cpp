// quorvel-art-probe: loads skin pictures the way the program does, at the DPIs given, and prints for each
// "art.<picture>.<dpi>.<screen|section>=<width>x<height> <FNV-1a 64 of the RGB bytes, rows from the top>"
// so tests/wine/test_art_probe.py can compare them with the committed PNGs. With --ahead=DPI first, every
// picture is also being decoded ahead at that DPI, on the cache's own thread, while they are loaded.
//   quorvel-art-probe [--ahead=DPI] DPI[,DPI...] PICTURE...
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin/win32/art_cache.h"
#include "skin/win32/gdi.h"

namespace {

std::string Digest(HBITMAP bitmap) {
  const SIZE size = quorvel::skin::BitmapSize(bitmap);
  if (size.cx <= 0 || size.cy <= 0) return "none";
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy));
  HDC dc = ::CreateCompatibleDC(nullptr);
  const int rows = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(size.cy), pixels.data(), &info, DIB_RGB_COLORS);
  ::DeleteDC(dc);
  if (rows != size.cy) return "unreadable";
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const std::uint32_t pixel : pixels) {
    for (const int shift : {16, 8, 0}) hash = (hash ^ ((pixel >> shift) & 0xFF)) * 0x100000001b3ULL;
  }
  char text[64];
  std::snprintf(text, sizeof text, "%ldx%ld %016llx", size.cx, size.cy, static_cast<unsigned long long>(hash));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  int aheadDpi = 0;
  if (argc > 1 && std::string(argv[1]).starts_with("--ahead=")) {
    aheadDpi = std::atoi(argv[1] + 8);
    --argc;
    ++argv;
  }
  if (argc < 3) return 2;
  if (aheadDpi > 0) {
    std::vector<int> pictures;
    for (int i = 2; i < argc; ++i) pictures.push_back(std::atoi(argv[i]));
    quorvel::skin::ArtCache::Shared().DecodeAhead(instance, pictures, aheadDpi);
  }
  std::vector<int> dpis;
  for (char* at = argv[1]; *at != '\0';) {
    dpis.push_back(static_cast<int>(std::strtol(at, &at, 10)));
    if (*at == ',') ++at;
  }
  for (int i = 2; i < argc; ++i) {
    const int picture = std::atoi(argv[i]);
    for (const int dpi : dpis) {
      for (const bool section : {false, true}) {
        const quorvel::skin::BitmapHandle bitmap = quorvel::skin::LoadBitmapResource(instance, picture, section, dpi);
        std::printf("art.%d.%d.%s=%s\n", picture, dpi, section ? "section" : "screen", Digest(bitmap.get()).c_str());
      }
    }
  }
  std::printf("done=1\n");
  return 0;
}
