// The sinks the written bytes go to.

#include "platform/pdf/PDFByteSink.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tomefuse::pdf_detail {

void StringSink::write(const char* data, size_t size) {
    out_.append(data, size);
    offset_ += size;
}

namespace {

void writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw WriteFailure(std::string("cannot write: ") + std::strerror(errno));
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
}

}  // namespace

void FileSink::write(const char* data, size_t size) {
    offset_ += size;
    if (buffer_.size() + size > capacity) {
        flush();
        if (size >= capacity) {
            writeAll(fd_, data, size);
            return;
        }
    }
    buffer_.append(data, size);
}

void FileSink::flush() {
    writeAll(fd_, buffer_.data(), buffer_.size());
    buffer_.clear();
}

}  // namespace tomefuse::pdf_detail
