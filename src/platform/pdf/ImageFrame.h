#pragma once

// Private to platform/pdf: one frame of an image file as the parts of a PDF image XObject, made by
// the decoders of each format and turned into pages by ImagePages.cpp.

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tomefuse::image_detail {

// Bytes that are no image this can read, with the reason in the user's words.
struct ImageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// More samples than one page may carry: a bound against files that claim absurd sizes.
constexpr uint64_t maxSamplesPerFrame = uint64_t{1} << 30;
void checkDimensions(uint64_t width, uint64_t height, uint64_t components);

struct ImageFrame {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitsPerComponent = 8;
    int components = 3;
    // The colour space as PDF text: "/DeviceRGB"; an indexed or ICC-based one is made from the
    // palette or profile below.
    std::string colorSpace = "/DeviceRGB";
    std::string palette;                   // an indexed image's base colours, 3 bytes each (RGB)
    std::string iccProfile;                // an embedded profile, for colorSpace's device space
    std::string filter;                    // "/DCTDecode", "/FlateDecode", "/CCITTFaxDecode"
    std::string decodeParms;               // PDF text of the dictionary, or empty
    std::string decode;                    // PDF text of /Decode, or empty
    std::string data;                      // the stream's bytes, encoded by filter
    std::unique_ptr<ImageFrame> softMask;  // alpha, a grey image of the same size
    std::string colorKeyMask;              // PDF text of /Mask, a colour key, or empty
    double dpiX = 0;                       // 0: the file states none
    double dpiY = 0;
    int orientation = 1;  // as EXIF numbers it: 1 upright, 6 turned a quarter clockwise...
};

// Compresses rows as they come, so a frame is never held uncompressed.
class Deflater {
  public:
    Deflater();
    ~Deflater();
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    void write(const void* data, size_t size);
    std::string finish();

  private:
    void run(int flush);
    z_stream stream_{};
    std::string out_;
};

std::vector<ImageFrame> jpegFrames(std::string_view bytes);
std::vector<ImageFrame> pngFrames(std::string_view bytes);
std::vector<ImageFrame> tiffFrames(std::string_view bytes);

// The EXIF orientation in an APP1 segment's payload (after "Exif\0\0"), 1 when none is found.
int exifOrientation(std::string_view tiffHeaderAndIfds);

}  // namespace tomefuse::image_detail
