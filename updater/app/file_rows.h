// The rows of the update dialog's file list: each file's name and status.
//
// The list view holds no rows of its own (it is an owner-data list): it asks the
// dialog for the text of each row as it paints it, and the dialog answers from this
// table. A change to a row is then a change here, and the list only repaints the rows
// in view. A list that kept its own rows spent about a millisecond on every changed
// row under Wine, shown or not, and tens more when its redraw was turned back on:
// with hundreds of files the dialog could not answer for that long.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class FileRows {
public:
    void Clear() { rows_.clear(); }

    // Inserts a row before `index`, or at the end when `index` is past it. Returns
    // the new row's index; -1 (nothing inserted) for a negative index.
    int Insert(int index, std::wstring name, std::wstring status);

    // False when there is no such row.
    bool SetStatus(int index, std::wstring status);

    int Count() const { return static_cast<int>(rows_.size()); }

    // Column 0 is the name, column 1 the status; any other cell is empty.
    const std::wstring& Cell(int row, int column) const;

private:
    struct Row {
        std::wstring name;
        std::wstring status;
    };
    std::vector<Row> rows_;
};

// Answers the list's request for a cell's text (LVN_GETDISPINFOW): copies the cell
// into the list's buffer, cut to fit.
void AnswerRowText(const FileRows& rows, NMLVDISPINFOW& request);
