#pragma once

// Private to platform/pdf: deflate in the zlib format, for what the writer compresses, and a
// pipeline that compresses a stream only when that pays.

#include <qpdf/Pipeline.hh>
#include <string>

namespace tomefuse::pdf_detail {

// The bytes deflated whole, fast.
std::string deflateWhole(const char* data, size_t size);

// Compresses what passes through it into the next pipeline when its first block shrinks, else
// passes it on as it came. Holds up to holdLimit bytes to compress them whole; past that it
// compresses as the bytes come.
class DeflateIfItPays final : public Pipeline {
  public:
    // Bytes judged before the stream's fate is decided.
    static constexpr size_t firstBlock = 64u << 10;

    DeflateIfItPays(Pipeline* next, size_t holdLimit);
    ~DeflateIfItPays() override;
    DeflateIfItPays(const DeflateIfItPays&) = delete;
    DeflateIfItPays& operator=(const DeflateIfItPays&) = delete;

    void write(unsigned char const* data, size_t length) override;
    // Idempotent: what was still held goes out once.
    void finish() override;
    // Known once anything went on to the next pipeline, and after finish.
    bool compressing() const { return compress_; }

  private:
    enum class State { judging, stored, whole, streaming, finished };
    void decide(bool pays);
    void startStreaming();
    void deflateSome(const unsigned char* data, size_t length, bool last);

    Pipeline* next_;
    size_t holdLimit_;
    State state_ = State::judging;
    bool compress_ = false;
    std::string held_;
    struct Stream;
    Stream* stream_ = nullptr;
};

}  // namespace tomefuse::pdf_detail
