#pragma once

// Private to platform/pdf: where the writer's bytes go, in memory or to a descriptor.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tomefuse::pdf_detail {

// The output could not be written (a full disk, a file system gone read-only).
struct WriteFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Where the bytes go. Throws WriteFailure.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, size_t size) = 0;
    virtual void flush() {}
    uint64_t offset() const { return offset_; }

  protected:
    uint64_t offset_ = 0;
};

class StringSink final : public ByteSink {
  public:
    explicit StringSink(std::string& out) : out_(out) {}
    void write(const char* data, size_t size) override;

  private:
    std::string& out_;
};

// Buffers writes to a descriptor it does not own.
class FileSink final : public ByteSink {
  public:
    explicit FileSink(int fd) : fd_(fd) { buffer_.reserve(capacity); }
    void write(const char* data, size_t size) override;
    void flush() override;

  private:
    static constexpr size_t capacity = 1u << 20;
    int fd_;
    std::string buffer_;
};

}  // namespace tomefuse::pdf_detail
