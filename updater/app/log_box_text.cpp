#include "updater/app/log_box_text.h"

std::wstring LogBoxText(const std::wstring& log) {
    std::wstring shown;
    shown.reserve(log.size() + log.size() / 16);
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i] == L'\n' && (i == 0 || log[i - 1] != L'\r')) shown += L'\r';
        shown += log[i];
    }
    return shown;
}
