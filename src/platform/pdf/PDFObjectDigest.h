#pragma once

#include <cstdint>
#include <qpdf/QPDFObjectHandle.hh>

namespace tomefuse::pdf_detail {

// What an object holds, as 128 bits of its SHA-256.
struct ObjectDigest {
    uint64_t high = 0;
    uint64_t low = 0;
    // Spelled out: the fuzz build compiles this as C++17.
    bool operator==(const ObjectDigest& other) const { return high == other.high && low == other.low; }
    bool operator!=(const ObjectDigest& other) const { return !(*this == other); }
};

// The digest of what a value holds, wherever it is stored: references followed (each object
// once), a stream by its dictionary and its bytes as stored.
ObjectDigest digestOfValue(QPDFObjectHandle value);

}  // namespace tomefuse::pdf_detail
