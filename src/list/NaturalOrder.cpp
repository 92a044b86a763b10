#include "list/NaturalOrder.h"

namespace tomefuse {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The digit run starting at i, without its leading zeros; i is left after the run.
std::string_view digitRun(std::string_view text, size_t& i) {
    while (i < text.size() && text[i] == '0') {
        ++i;
    }
    const size_t start = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    return text.substr(start, i - start);
}

int sign(int order) { return order < 0 ? -1 : (order > 0 ? 1 : 0); }

// The digit runs at i and j compared as numbers; both are left after their runs.
int compareNumbers(std::string_view a, size_t& i, std::string_view b, size_t& j) {
    const std::string_view x = digitRun(a, i);
    const std::string_view y = digitRun(b, j);
    // Without leading zeros the longer run is the larger number.
    if (x.size() != y.size()) {
        return x.size() < y.size() ? -1 : 1;
    }
    return sign(x.compare(y));
}

}  // namespace

int naturalCompare(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (const int order = compareNumbers(a, i, b, j); order != 0) {
                return order;
            }
            continue;
        }
        const auto x = static_cast<unsigned char>(folded(a[i]));
        const auto y = static_cast<unsigned char>(folded(b[j]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

NameComparison desktopOrNaturalOrder(NameComparison desktop) {
    if (desktop) {
        return desktop;
    }
    return [](const std::string& a, const std::string& b) { return naturalCompare(a, b); };
}

}  // namespace tomefuse
