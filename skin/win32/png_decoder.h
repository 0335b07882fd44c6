// Decoding PNG pictures held in memory with the Windows Imaging Component: COM is started and the
// component's factory made once, at the first picture, and kept until the decoder goes.
#pragma once

#include "framework/win32/win32_api.h"

#include <cstddef>
#include <optional>
#include <span>

#include "skin/area_scale.h"

struct IWICImagingFactory;

namespace quorvel::skin {

class PngDecoder {
 public:
  // `multithreaded`: COM is started in the multithreaded model on this decoder's thread (one of its own,
  // which reads no window messages), else in the single-threaded one of a window's thread.
  explicit PngDecoder(bool multithreaded = false) : multithreaded_(multithreaded) {}
  ~PngDecoder();
  PngDecoder(const PngDecoder&) = delete;
  PngDecoder& operator=(const PngDecoder&) = delete;

  // The picture's pixels as 0x00RRGGBB, rows from the top; nothing when the bytes are no picture the
  // component can read (or it cannot be started).
  std::optional<Picture> Decode(std::span<const std::byte> bytes);

 private:
  bool multithreaded_ = false;
  bool started_ = false;   // the first picture was tried: COM and the factory are what they will be
  bool comStarted_ = false;  // by this decoder (on the thread of the first picture), to be undone
  ::IWICImagingFactory* factory_ = nullptr;
};

}  // namespace quorvel::skin
