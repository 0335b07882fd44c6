// The skin's pictures for each display scale: a picture is decoded when a window first asks for it at a
// scale, from the set embedded for the scale; a scale between sets is made once from the next larger set
// (or the largest) by area average. Each is kept for the life of the process, so windows that open,
// repaint or move between monitors decode nothing again; one decoder (one COM scope, one factory) serves
// them all. The pictures of the first window can be decoded ahead, on a thread of their own, while the
// window is being made.
#pragma once

#include "framework/win32/win32_api.h"

#include <cstddef>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "skin/area_scale.h"
#include "skin/win32/png_decoder.h"

namespace quorvel::skin {

class ArtCache {
 public:
  // Picture `picture` (its 100 % number) of `instance`'s resources at `dpi` (0 or less counts as 96);
  // null when the module has no such picture or it cannot be decoded. The picture lives as long as the
  // cache.
  const Picture* Find(HINSTANCE instance, int picture, int dpi);

  // Starts decoding `pictures` at `dpi` on a thread of its own, with a decoder of its own, and returns at
  // once. A Find of one of them afterwards finds it made, or waits for the one being decoded. Once per
  // cache: a second call does nothing.
  void DecodeAhead(HINSTANCE instance, std::vector<int> pictures, int dpi);

  // The process's cache, shared by every window.
  static ArtCache& Shared();

  ArtCache() = default;
  ~ArtCache();
  ArtCache(const ArtCache&) = delete;
  ArtCache& operator=(const ArtCache&) = delete;

 private:
  const Picture* FindWith(PngDecoder& decoder, HINSTANCE instance, int picture, int dpi);
  // Only the cache's own decoder records a picture as missing: one decoding ahead, on another thread, may
  // fail (its COM, its factory) where the window's own would not.
  bool Owns(const PngDecoder& decoder) const { return &decoder == &decoder_; }
  const Picture* Decoded(PngDecoder& decoder, HINSTANCE instance, int picture, std::size_t set);

  std::mutex mutex_;
  PngDecoder decoder_;
  std::map<std::tuple<HINSTANCE, int, std::size_t>, std::optional<Picture>> decoded_;  // by set
  std::map<std::tuple<HINSTANCE, int, int>, std::optional<Picture>> scaled_;           // by DPI
  std::thread ahead_;  // last: it ends before the pictures go
};

}  // namespace quorvel::skin
