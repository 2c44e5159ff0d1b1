#include "launcher/game/preference_lines.h"

PreferenceLineEdit EditPreferenceLines(std::string_view content, std::string_view search,
                                       std::string_view replacement) {
    PreferenceLineEdit edit;
    edit.text.reserve(content.size() + content.size() / 16 + replacement.size() + 2);
    const bool bareKey = search.find('=') == std::string_view::npos;

    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        const size_t next = end == std::string_view::npos ? content.size() : end + 1;
        if (end == std::string_view::npos) end = content.size();
        std::string_view line = content.substr(start, end - start);
        if (end < content.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);

        const size_t at = search.empty() ? std::string_view::npos : line.find(search);
        if (at == std::string_view::npos) {
            edit.text.append(line);
        } else {
            edit.matched = true;
            edit.text.append(line.substr(0, at));
            edit.text.append(replacement);
            if (!bareKey) edit.text.append(line.substr(at + search.size()));
        }
        edit.text.append("\r\n");
        start = next;
    }
    return edit;
}
