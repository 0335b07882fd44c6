#include "skin/win32/art_cache.h"

#include <span>

#include "skin/art_sets.h"
#include "skin/png_size.h"

namespace quorvel::skin {

namespace {

// The bytes of a PNG resource of the module; empty when there is none.
std::span<const std::byte> PngResource(HINSTANCE instance, int id) {
  HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(id), "PNG");
  if (found == nullptr) return {};
  HGLOBAL loaded = ::LoadResource(instance, found);
  const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (data == nullptr) return {};
  return {static_cast<const std::byte*>(data), ::SizeofResource(instance, found)};
}

}  // namespace

ArtCache& ArtCache::Shared() {
  static ArtCache cache;
  return cache;
}

ArtCache::~ArtCache() {
  if (ahead_.joinable()) ahead_.join();
}

void ArtCache::DecodeAhead(HINSTANCE instance, std::vector<int> pictures, int dpi) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (ahead_.joinable()) return;
  try {
    ahead_ = std::thread([this, instance, pictures = std::move(pictures), dpi] {
      // The thread's own COM scope and factory, undone on this thread when it ends. A picture that cannot
      // be decoded here is left for the window's own Find.
      try {
        PngDecoder decoder(true);
        for (const int picture : pictures) FindWith(decoder, instance, picture, dpi);
      } catch (...) {
      }
    });
  } catch (...) {
    // No thread: the window decodes its pictures itself, as it would anyway.
  }
}

const Picture* ArtCache::Decoded(PngDecoder& decoder, HINSTANCE instance, int picture, std::size_t set) {
  const auto key = std::make_tuple(instance, picture, set);
  auto found = decoded_.find(key);
  if (found == decoded_.end()) {
    const std::span<const std::byte> bytes = PngResource(instance, ArtResourceId(picture, set));
    std::optional<Picture> made = bytes.empty() ? std::nullopt : decoder.Decode(bytes);
    if (!made && !Owns(decoder)) return nullptr;
    found = decoded_.emplace(key, std::move(made)).first;
  }
  return found->second ? &*found->second : nullptr;
}

const Picture* ArtCache::Find(HINSTANCE instance, int picture, int dpi) {
  return FindWith(decoder_, instance, picture, dpi);
}

// Under the lock throughout: a picture is decoded once, by whichever thread asks first.
const Picture* ArtCache::FindWith(PngDecoder& decoder, HINSTANCE instance, int picture, int dpi) {
  if (picture <= 0 || picture >= kArtSetStride) return nullptr;
  if (dpi <= 0) dpi = kArtBaseDpi;
  const std::lock_guard<std::mutex> lock(mutex_);
  const std::size_t set = ArtSetFor(dpi);
  if (ArtSetIsExact(set, dpi)) return Decoded(decoder, instance, picture, set);
  const auto key = std::make_tuple(instance, picture, dpi);
  auto found = scaled_.find(key);
  if (found == scaled_.end()) {
    // The size comes from the 100 % picture, as the sets' sizes do, so every scale rounds alike; its
    // header says it, the picture itself is not decoded for that.
    const std::optional<PngDimensions> base = PngSize(PngResource(instance, ArtResourceId(picture, 0)));
    const Picture* larger = base ? Decoded(decoder, instance, picture, set) : nullptr;
    std::optional<Picture> made;
    if (larger != nullptr) {
      made = AreaScale(*larger, ArtLength(base->width, dpi), ArtLength(base->height, dpi));
      if (made->pixels.empty()) made.reset();
    }
    if (!made && !Owns(decoder)) return nullptr;
    found = scaled_.emplace(key, std::move(made)).first;
  }
  return found->second ? &*found->second : nullptr;
}

}  // namespace quorvel::skin
