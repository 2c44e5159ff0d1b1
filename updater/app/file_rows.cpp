#include "updater/app/file_rows.h"

#include <algorithm>

namespace {
const std::wstring kNoText;
}

int FileRows::Insert(int index, std::wstring name, std::wstring status) {
    if (index < 0) return -1;
    const int at = std::min(index, Count());
    rows_.insert(rows_.begin() + at, Row{std::move(name), std::move(status)});
    return at;
}

bool FileRows::SetStatus(int index, std::wstring status) {
    if (index < 0 || index >= Count()) return false;
    rows_[static_cast<size_t>(index)].status = std::move(status);
    return true;
}

const std::wstring& FileRows::Cell(int row, int column) const {
    if (row < 0 || row >= Count()) return kNoText;
    const Row& r = rows_[static_cast<size_t>(row)];
    if (column == 0) return r.name;
    if (column == 1) return r.status;
    return kNoText;
}

void AnswerRowText(const FileRows& rows, NMLVDISPINFOW& request) {
    LVITEMW& item = request.item;
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) return;
    const std::wstring& text = rows.Cell(item.iItem, item.iSubItem);
    const size_t copied = std::min(text.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::copy_n(text.data(), copied, item.pszText);
    item.pszText[copied] = L'\0';
}
