#include "skin/win32/png_decoder.h"

#include "framework/win32/win32_api.h"

#include <objbase.h>
#include <wincodec.h>

#include <limits>

namespace quorvel::skin {

namespace {

// One reference to a COM object, released with its owner.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (object_ != nullptr) object_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;

  T** put() { return &object_; }
  T* operator->() const { return object_; }
  T* get() const { return object_; }

 private:
  T* object_ = nullptr;
};

}  // namespace

PngDecoder::~PngDecoder() {
  if (factory_ != nullptr) factory_->Release();
  if (comStarted_) ::CoUninitialize();
}

std::optional<Picture> PngDecoder::Decode(std::span<const std::byte> bytes) {
  if (bytes.empty() || bytes.size() > std::numeric_limits<DWORD>::max()) return std::nullopt;
  if (!started_) {
    started_ = true;
    // Started here unless the thread has COM already (or in another model, which serves as well).
    comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, multithreaded_ ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED));
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(&factory_)))) {
      factory_ = nullptr;
    }
  }
  IWICImagingFactory* factory = factory_;
  if (factory == nullptr) return std::nullopt;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  // The stream only reads the bytes, which live in the module's resources.
  auto* data = reinterpret_cast<BYTE*>(const_cast<std::byte*>(bytes.data()));
  if (FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(data, static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
      FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  UINT width = 0;
  UINT height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 0x4000 || height > 0x4000) {
    return std::nullopt;
  }
  Picture picture{static_cast<int>(width), static_cast<int>(height),
                  std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
  const UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height,
                                   reinterpret_cast<BYTE*>(picture.pixels.data())))) {
    return std::nullopt;
  }
  // Blue, green, red and an unused byte in memory: 0x??RRGGBB as a number; the unused byte is cleared.
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFF;
  return picture;
}

}  // namespace quorvel::skin
