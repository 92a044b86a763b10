// Deflate for the writer: libdeflate for what is held whole (object streams, the cross-reference
// stream, streams up to a few MiB), zlib at its fastest for a stream too long to hold.

#include "platform/pdf/PDFDeflate.h"

#include <libdeflate.h>
#include <zlib.h>

#include <memory>
#include <new>
#include <stdexcept>

namespace tomefuse::pdf_detail {

namespace {

// libdeflate's level 6 packs about as tightly as zlib's default, at a fraction of its time.
constexpr int wholeLevel = 6;
constexpr int judgeLevel = 1;
// Compression pays when it saves at least a sixteenth: less is not worth decoding.
bool shrinks(size_t deflated, size_t size) { return deflated + size / 16 < size; }

struct CompressorFree {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// A compressor takes some hundreds of KiB to set up: one per level and thread, kept.
libdeflate_compressor* compressor(int level) {
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> whole;
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> judge;
    auto& slot = level == judgeLevel ? judge : whole;
    if (!slot) {
        slot.reset(libdeflate_alloc_compressor(level));
        if (!slot) {
            throw std::bad_alloc();
        }
    }
    return slot.get();
}

std::string deflateAt(const char* data, size_t size, int level) {
    libdeflate_compressor* c = compressor(level);
    std::string out(libdeflate_zlib_compress_bound(c, size), '\0');
    const size_t n = libdeflate_zlib_compress(c, data, size, out.data(), out.size());
    if (n == 0) {
        throw std::runtime_error("deflate failed");  // the bound is always enough
    }
    out.resize(n);
    return out;
}

}  // namespace

std::string deflateWhole(const char* data, size_t size) { return deflateAt(data, size, wholeLevel); }

struct DeflateIfItPays::Stream {
    z_stream z{};
};

DeflateIfItPays::DeflateIfItPays(Pipeline* next, size_t holdLimit)
    : Pipeline("tomefuse deflate", next), next_(next), holdLimit_(std::max(holdLimit, firstBlock)) {}

DeflateIfItPays::~DeflateIfItPays() {
    if (stream_) {
        deflateEnd(&stream_->z);
        delete stream_;
    }
}

void DeflateIfItPays::decide(bool pays) {
    compress_ = pays;
    state_ = pays ? State::whole : State::stored;
    if (!pays) {
        next_->write(reinterpret_cast<const unsigned char*>(held_.data()), held_.size());
        std::string().swap(held_);
    }
}

void DeflateIfItPays::startStreaming() {
    stream_ = new Stream;
    if (deflateInit(&stream_->z, Z_BEST_SPEED) != Z_OK) {
        delete stream_;
        stream_ = nullptr;
        throw std::bad_alloc();
    }
    state_ = State::streaming;
    std::string held;
    held.swap(held_);
    deflateSome(reinterpret_cast<const unsigned char*>(held.data()), held.size(), false);
}

void DeflateIfItPays::deflateSome(const unsigned char* data, size_t length, bool last) {
    unsigned char buffer[64 << 10];
    z_stream& z = stream_->z;
    // zlib counts in uInt: long input goes in slices.
    do {
        const size_t slice = std::min<size_t>(length, 1u << 30);
        z.next_in = const_cast<unsigned char*>(data);
        z.avail_in = static_cast<uInt>(slice);
        data += slice;
        length -= slice;
        const int flush = last && length == 0 ? Z_FINISH : Z_NO_FLUSH;
        int result = Z_OK;
        do {
            z.next_out = buffer;
            z.avail_out = sizeof buffer;
            result = ::deflate(&z, flush);
            if (result == Z_STREAM_ERROR) {
                throw std::runtime_error("deflate failed");
            }
            next_->write(buffer, sizeof buffer - z.avail_out);
        } while (z.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
    } while (length > 0);
}

void DeflateIfItPays::write(unsigned char const* data, size_t length) {
    switch (state_) {
        case State::judging:
            held_.append(reinterpret_cast<const char*>(data), length);
            if (held_.size() >= firstBlock) {
                decide(shrinks(deflateAt(held_.data(), firstBlock, judgeLevel).size(), firstBlock));
            }
            break;
        case State::stored:
            next_->write(data, length);
            break;
        case State::whole:
            held_.append(reinterpret_cast<const char*>(data), length);
            if (held_.size() > holdLimit_) {
                startStreaming();
            }
            break;
        case State::streaming:
            deflateSome(data, length, false);
            break;
        case State::finished:
            throw std::logic_error("write after finish");
    }
}

void DeflateIfItPays::finish() {
    switch (state_) {
        case State::judging: {
            // A short stream: compressed whole, kept as it came when that does not pay.
            std::string deflated = deflateWhole(held_.data(), held_.size());
            if (shrinks(deflated.size(), held_.size())) {
                compress_ = true;
                held_.swap(deflated);
            }
            next_->write(reinterpret_cast<const unsigned char*>(held_.data()), held_.size());
            break;
        }
        case State::whole: {
            const std::string deflated = deflateWhole(held_.data(), held_.size());
            next_->write(reinterpret_cast<const unsigned char*>(deflated.data()), deflated.size());
            break;
        }
        case State::streaming:
            deflateSome(nullptr, 0, true);
            break;
        case State::stored:
        case State::finished:
            break;
    }
    if (state_ != State::finished) {
        state_ = State::finished;
        std::string().swap(held_);
        next_->finish();
    }
}

}  // namespace tomefuse::pdf_detail
