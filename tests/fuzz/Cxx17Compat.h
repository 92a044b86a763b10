#pragma once
// Force-included into the files built as C++17 in the fuzz build (see CMakeLists.txt): the
// C++20 library parts they use.
#if __cplusplus < 202002L
#include <algorithm>
#include <memory>
#include <vector>

namespace std {
template <class T, class Allocator, class Predicate>
typename vector<T, Allocator>::size_type erase_if(vector<T, Allocator>& items, Predicate predicate) {
    const auto end = std::remove_if(items.begin(), items.end(), predicate);
    const auto removed = static_cast<typename vector<T, Allocator>::size_type>(items.end() - end);
    items.erase(end, items.end());
    return removed;
}

enum class endian { little = __ORDER_LITTLE_ENDIAN__, big = __ORDER_BIG_ENDIAN__, native = __BYTE_ORDER__ };
}  // namespace std
#endif
