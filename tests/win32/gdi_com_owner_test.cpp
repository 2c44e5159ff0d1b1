// The GDI and COM owners: what a selection puts back, what a refused or empty handle
// does, and that a handed-over region or a moved reference is released exactly once.
#include "common/win32/com_owner.h"
#include "common/win32/gdi_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

TEST(SelectObjectGuard, PutsThePreviousObjectBackAndToleratesNulls) {
    const win32::unique_memory_dc dc(CreateCompatibleDC(nullptr));
    ASSERT_TRUE(dc);
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
    void* bits = nullptr;
    const win32::unique_hbitmap dib = win32::make_top_down_dib(nullptr, 4, 3, &bits);
    ASSERT_TRUE(dib);
    ASSERT_NE(bits, nullptr);
    {
        const win32::select_object_guard selected(dc.get(), dib.get());
        EXPECT_TRUE(selected.selected());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), dib.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original) << "the DC's own bitmap is back";

    // A failed creation handed straight to the guard selects nothing and changes nothing.
    {
        const win32::select_object_guard noObject(dc.get(), nullptr);
        EXPECT_FALSE(noObject.selected());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
        const win32::select_object_guard noDc(nullptr, dib.get());
        EXPECT_FALSE(noDc.selected());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
}

TEST(SetWindowRegion, TheWindowTakesTheRegionAndAnEmptyOneIsRefused) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(win32::set_window_region(window, win32::unique_hrgn(), FALSE));

    win32::unique_hrgn region(CreateRectRgn(0, 0, 20, 10));
    ASSERT_TRUE(region);
    ASSERT_TRUE(win32::set_window_region(window, std::move(region), FALSE));
    EXPECT_FALSE(region) << "the owner let go of the region it handed over";
    // The system kept the region: the window's clip is exactly that rectangle.
    const win32::unique_hrgn copy(CreateRectRgn(0, 0, 0, 0));
    ASSERT_EQ(GetWindowRgn(window, copy.get()), SIMPLEREGION);
    RECT box{};
    GetRgnBox(copy.get(), &box);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(box.bottom, 10);
    DestroyWindow(window);  // deletes the region the window owns
}

TEST(WindowDc, IsTheWindowsOwnAndNullWithoutOne) {
    const HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        const win32::unique_window_dc dc(window);
        ASSERT_TRUE(dc);
        EXPECT_EQ(WindowFromDC(dc.get()), window);
    }
    DestroyWindow(window);
    const win32::unique_window_dc gone(window);
    EXPECT_FALSE(gone) << "a window that no longer exists has no DC to give back";
}

// Counts its references the way a COM object does.
struct CountedInterface {
    int references = 1;
    ULONG Release() { return static_cast<ULONG>(--references); }
};

TEST(UniqueCom, ReleasesOnceWhateverWayTheReferenceGoes) {
    CountedInterface first, second;
    {
        win32::unique_com<CountedInterface> held(&first);
        win32::unique_com<CountedInterface> moved(std::move(held));
        EXPECT_FALSE(held);
        EXPECT_EQ(moved.get(), &first);
        EXPECT_EQ(first.references, 1) << "a move releases nothing";
        moved.reset(&second);
        EXPECT_EQ(first.references, 0);
        win32::unique_com<CountedInterface> assigned;
        assigned = std::move(moved);
        EXPECT_EQ(second.references, 1);
    }
    EXPECT_EQ(first.references, 0);
    EXPECT_EQ(second.references, 0);
}

TEST(ComApartment, BalancesTheThreadsInitialisationOnce) {
    win32::com_apartment apartment;
    ASSERT_TRUE(apartment.initialised());
    {
        // A nested one on the same thread is counted by COM itself.
        win32::com_apartment nested;
        EXPECT_TRUE(nested.initialised());
    }
    apartment.uninitialise();
    EXPECT_FALSE(apartment.initialised());
    apartment.uninitialise();  // a second call does nothing
    // The thread's apartment is gone: a fresh start is a first one again (S_OK, not S_FALSE).
    const HRESULT again = CoInitialize(nullptr);
    EXPECT_EQ(again, S_OK);
    if (SUCCEEDED(again)) CoUninitialize();
}

}  // namespace
