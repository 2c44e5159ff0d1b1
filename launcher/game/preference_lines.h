// The line edit behind every change to the game's preference files, as a pure
// function on the file's bytes.
#pragma once

#include <string>
#include <string_view>

struct PreferenceLineEdit {
    std::string text;      // the new file content
    bool matched = false;  // true when at least one line held the search text
};

// Rewrites `content` line by line, the way the game's properties files are read in
// text mode: a line ends at LF, the CR of a CR LF pair is dropped, a last line without
// LF counts as a line, and nothing follows the last LF. Every line is written back
// ending with CR LF.
//
// In each line the first occurrence of `search` (plain byte comparison, anywhere in
// the line) is replaced by `replacement`. Normally only the search text's own length
// is replaced. A search text without '=' is a bare key: the text from the key to the
// end of the line is replaced, so a line holding an old "key=value" ends up holding
// exactly the new entry.
PreferenceLineEdit EditPreferenceLines(std::string_view content, std::string_view search,
                                       std::string_view replacement);
