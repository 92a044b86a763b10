#include "platform/desktop/Translation.h"

#include <atomic>
#include <initializer_list>

namespace tomefuse {

namespace {

std::atomic<Translator> installed{nullptr};

void replaceAll(std::string& text, const std::string& placeholder, const std::string& value) {
    for (size_t at = text.find(placeholder); at != std::string::npos; at = text.find(placeholder, at + value.size())) {
        text.replace(at, placeholder.size(), value);
    }
}

}  // namespace

void setTranslator(Translator translator) { installed.store(translator); }

std::string translate(const char* context, const char* text, const char* disambiguation, int n) {
    if (Translator translator = installed.load()) {
        return translator(context, text, disambiguation, n);
    }
    std::string english = text;
    if (n >= 0) {
        replaceAll(english, "%n", std::to_string(n));
    }
    return english;
}

std::string withArguments(std::string text, std::initializer_list<std::string> arguments) {
    // From the highest number down, so that %1 does not match the start of %10.
    for (size_t i = arguments.size(); i > 0; --i) {
        replaceAll(text, "%" + std::to_string(i), *(arguments.begin() + static_cast<std::ptrdiff_t>(i - 1)));
    }
    return text;
}

}  // namespace tomefuse
