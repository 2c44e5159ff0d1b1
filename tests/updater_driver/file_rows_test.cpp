// The file list's rows: the table the dialog keeps, and an owner-data list view that
// shows it through ApplyControlUpdates, read back the way any other program reads it.
#include "updater/app/file_rows.h"

#include <gtest/gtest.h>

#include <string>

#include "updater/app/dialog_view.h"
#include "updater/app/resource.h"

TEST(FileRows, InsertsWhereAskedAppendsPastTheEndAndRefusesANegativeIndex) {
    FileRows rows;
    EXPECT_EQ(rows.Insert(0, L"b.dat", L"0.00K"), 0);
    EXPECT_EQ(rows.Insert(0, L"a.dat", L"0.00K"), 0);
    EXPECT_EQ(rows.Insert(7, L"d.dat", L"0.00K"), 2);
    EXPECT_EQ(rows.Insert(2, L"c.dat", L"0.00K"), 2);
    EXPECT_EQ(rows.Insert(-1, L"x.dat", L"0.00K"), -1);
    ASSERT_EQ(rows.Count(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(rows.Cell(i, 0), std::wstring(1, L"abcd"[i]) + L".dat");

    EXPECT_TRUE(rows.SetStatus(3, L"文件下载失败"));
    EXPECT_FALSE(rows.SetStatus(4, L"x"));
    EXPECT_FALSE(rows.SetStatus(-1, L"x"));
    EXPECT_EQ(rows.Cell(3, 1), L"文件下载失败");
    EXPECT_EQ(rows.Cell(2, 1), L"0.00K");
    // Cells that do not exist read as empty rather than as a neighbour's text.
    EXPECT_EQ(rows.Cell(3, 2), L"");
    EXPECT_EQ(rows.Cell(4, 0), L"");
    EXPECT_EQ(rows.Cell(-1, 1), L"");

    rows.Clear();
    EXPECT_EQ(rows.Count(), 0);
}

TEST(FileRows, AnAnswerIsCutToTheListsBufferAndLeavesOtherRequestsAlone) {
    FileRows rows;
    rows.Insert(0, L"文件名很长.dat", L"12.00K(当前大小)/40.00K(总大小)");
    wchar_t buffer[6];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    NMLVDISPINFOW request = {};
    request.item.mask = LVIF_TEXT;
    request.item.iItem = 0;
    request.item.iSubItem = 1;
    request.item.pszText = buffer;
    request.item.cchTextMax = 6;
    AnswerRowText(rows, request);
    EXPECT_EQ(std::wstring(buffer), L"12.00");

    // A row the table does not have (the list asked before a change reached it) is
    // shown empty.
    request.item.iItem = 3;
    AnswerRowText(rows, request);
    EXPECT_EQ(std::wstring(buffer), L"");

    // No text asked for, or nowhere to put it: nothing is written.
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    request.item.iItem = 0;
    request.item.mask = LVIF_IMAGE;
    AnswerRowText(rows, request);
    EXPECT_EQ(buffer[0], L'#');
    request.item.mask = LVIF_TEXT;
    request.item.cchTextMax = 0;
    AnswerRowText(rows, request);
    EXPECT_EQ(buffer[0], L'#');
    request.item.pszText = nullptr;
    request.item.cchTextMax = 6;
    AnswerRowText(rows, request);
}

namespace {

// A stand-in for the dialog: a window holding an owner-data report list under the
// dialog's identifier, answering its text requests from a row table.
class ListHost {
public:
    ListHost() {
        INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VelmoraFileRowsTestHost";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"rows", WS_OVERLAPPEDWINDOW, 0, 0, 500, 300, nullptr,
                                  nullptr, windowClass.hInstance, this);
        list_ = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_OWNERDATA, 0,
                                0, 480, 120, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FILE_LIST)),
                                windowClass.hInstance, nullptr);
        for (int column = 0; column < 2; ++column) {
            LVCOLUMNW entry = {};
            entry.mask = LVCF_WIDTH | LVCF_SUBITEM;
            entry.cx = 200;
            entry.iSubItem = column;
            SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
        }
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    ~ListHost() { DestroyWindow(window_); }
    ListHost(const ListHost&) = delete;
    ListHost& operator=(const ListHost&) = delete;

    void Apply(const ControlUpdates& updates) { ApplyControlUpdates(window_, rows_, updates); }

    int ListCount() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring ListText(int row, int column) const {
        wchar_t text[128] = {};
        LVITEMW item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        return text;
    }

    bool ListHasPartsToPaint() const { return GetUpdateRect(list_, nullptr, FALSE) != FALSE; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<ListHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NOTIFY && self) {
            auto* request = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if (request->hdr.code == LVN_GETDISPINFOW) AnswerRowText(self->rows_, *request);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    HWND list_ = nullptr;
    FileRows rows_;
};

ControlUpdate Insert(int index, const std::wstring& name) {
    return {ControlUpdate::kInsertRow, IDC_FILE_LIST, index, name, L"0.00K(当前大小)/0.00K(总大小)"};
}

}  // namespace

TEST(FileRows, TheListShowsEveryRowChangeOfABatchAndHasNothingLeftToPaint) {
    ListHost host;
    ControlUpdates batch;
    for (int i = 0; i < 40; ++i) batch.push_back(Insert(i, L"file" + std::to_wstring(i) + L".dat"));
    batch.push_back({ControlUpdate::kRowStatus, IDC_FILE_LIST, 0, L"5.00K", {}});
    // Far below the rows in view, and past the last row (ignored).
    batch.push_back({ControlUpdate::kRowStatus, IDC_FILE_LIST, 35, L"文件下载失败", {}});
    batch.push_back({ControlUpdate::kRowStatus, IDC_FILE_LIST, 40, L"never shown", {}});
    host.Apply(batch);
    EXPECT_EQ(host.ListCount(), 40);
    EXPECT_EQ(host.ListText(0, 0), L"file0.dat");
    EXPECT_EQ(host.ListText(0, 1), L"5.00K");
    EXPECT_EQ(host.ListText(35, 1), L"文件下载失败");
    EXPECT_EQ(host.ListText(39, 0), L"file39.dat");
    // The batch has painted what it changed: the dialog does not leave it for later.
    EXPECT_FALSE(host.ListHasPartsToPaint());

    // A row put in between moves the ones below it down.
    host.Apply({Insert(1, L"between.dat")});
    EXPECT_EQ(host.ListCount(), 41);
    EXPECT_EQ(host.ListText(1, 0), L"between.dat");
    EXPECT_EQ(host.ListText(2, 0), L"file1.dat");
    EXPECT_EQ(host.ListText(36, 1), L"文件下载失败");

    // A new run empties the list and starts again in the same batch.
    host.Apply({{ControlUpdate::kClearRows, IDC_FILE_LIST, 0, {}, {}}, Insert(0, L"again.dat")});
    EXPECT_EQ(host.ListCount(), 1);
    EXPECT_EQ(host.ListText(0, 0), L"again.dat");
    EXPECT_EQ(host.ListText(0, 1), L"0.00K(当前大小)/0.00K(总大小)");
    EXPECT_FALSE(host.ListHasPartsToPaint());
}
