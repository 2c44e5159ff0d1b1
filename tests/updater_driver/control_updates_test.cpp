#include <gtest/gtest.h>

#include "updater/app/dialog_view.h"
#include "updater/app/content_base.h"
#include "updater/app/resource.h"
#include "updater/app/update_key.h"

// The dialog library expects the program to build in its content server.
const wchar_t* ContentBaseUrl() { return L"http://127.0.0.1:1/zorvik/Wakfu/"; }
// ... and its publisher key; these tests run no update, so none.
ManifestTrust BuiltInManifestTrust() { return ManifestTrust{}; }

TEST(ControlUpdates, OnlyTheLastLabelTextAndBarPositionSurviveButEveryRowChangeStays) {
    ControlUpdates pending;
    QueueControlUpdate(pending, {ControlUpdate::kText, IDC_COUNT, 0, L"1个", {}});
    QueueControlUpdate(pending, {ControlUpdate::kInsertRow, IDC_FILE_LIST, 0, L"a.dat", L"0.00K"});
    QueueControlUpdate(pending, {ControlUpdate::kProgressPos, IDC_PROGRESS, 5000, {}, {}});
    QueueControlUpdate(pending, {ControlUpdate::kText, IDC_SPEED, 0, L"1.0k/s", {}});
    QueueControlUpdate(pending, {ControlUpdate::kRowStatus, IDC_FILE_LIST, 0, L"5.00K", {}});
    QueueControlUpdate(pending, {ControlUpdate::kInsertRow, IDC_FILE_LIST, 1, L"b.dat", L"0.00K"});
    QueueControlUpdate(pending, {ControlUpdate::kRowStatus, IDC_FILE_LIST, 1, L"文件下载失败", {}});
    QueueControlUpdate(pending, {ControlUpdate::kText, IDC_COUNT, 0, L"2个", {}});
    QueueControlUpdate(pending, {ControlUpdate::kProgressPos, IDC_PROGRESS, 10000, {}, {}});

    ASSERT_EQ(pending.size(), 7u);
    EXPECT_EQ(pending[0].kind, ControlUpdate::kInsertRow);
    EXPECT_EQ(pending[1].text, L"1.0k/s");
    EXPECT_EQ(pending[2].text, L"5.00K");
    EXPECT_EQ(pending[4].text, L"文件下载失败");
    EXPECT_EQ(pending[5].text, L"2个");
    EXPECT_EQ(pending[6].value, 10000);
}
