// Conversions between UTF-16 text and 8-bit text in a given code page: the one
// place where both programs call the system's code-page tables.
//
// Nothing here touches process-wide state (no C runtime locale), so every function
// may be called from any thread.
#pragma once

#include <string>
#include <string_view>

namespace text {

// Code page numbers as the system knows them.
inline constexpr unsigned kAnsiCodePage = 0;       // the machine's ANSI code page
inline constexpr unsigned kOemCodePage = 1;        // the machine's OEM code page
inline constexpr unsigned kChineseCodePage = 936;  // Simplified Chinese (GBK)
inline constexpr unsigned kUtf8CodePage = 65001;

// What becomes of a character the code page cannot represent.
enum class Unmappable {
    SystemDefault,  // the code page's own default character (and its best-fit forms)
    QuestionMark,   // '?', with best-fit forms allowed
    NoBestFit,      // the code page's default character, never a look-alike
};

// The result of a narrowing: the bytes, and whether every character had an exact
// mapping (false when a default character stands in for one).
struct NarrowText {
    std::string bytes;
    bool lossless = true;
};

// UTF-16 → bytes in `codePage`. Empty in, empty out; empty also when the system
// refuses the conversion (an unknown code page). For UTF-8 the treatment of
// unmappable characters does not apply (every character has a form).
NarrowText NarrowFromWide(std::wstring_view wide, unsigned codePage, Unmappable unmappable);

// Shorthand for NarrowFromWide(...).bytes with the code page's default character.
std::string WideToCodePage(std::wstring_view wide, unsigned codePage);

// Bytes in `codePage` → UTF-16. Byte sequences that are invalid in the code page are
// decoded by the system's table (a replacement character), never dropped silently;
// empty when the system refuses the conversion.
std::wstring CodePageToWide(std::string_view bytes, unsigned codePage);

// The text with every character outside ASCII replaced by '?': for diagnostic texts
// that must stay readable whatever the code page.
std::string AsciiApproximation(std::wstring_view wide);

}  // namespace text
