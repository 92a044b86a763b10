#pragma once

#include <initializer_list>
#include <string>

// Marks texts in tables for the catalogues' extraction, as Qt's macros of the same names do.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif
#ifndef QT_TRANSLATE_N_NOOP
#define QT_TRANSLATE_N_NOOP(scope, x) x
#endif

namespace tomefuse {

// Texts the core shows a person, in their language. The window installs a translator that looks
// them up in its catalogues; without one (the command line, the tests) they stay English. The
// arguments are those of the window's own lookups, so one set of tools extracts both: a context,
// the English text, a note that tells two equal texts apart, and a count for plural forms (%n).
using Translator = std::string (*)(const char* context, const char* text, const char* disambiguation, int n);

void setTranslator(Translator translator);

// The text in the user's language, with %n replaced by n where n >= 0.
std::string translate(const char* context, const char* text, const char* disambiguation = nullptr, int n = -1);

// The text with %1, %2, ... replaced by the arguments, as the window's strings are filled in.
std::string withArguments(std::string text, std::initializer_list<std::string> arguments);

}  // namespace tomefuse
