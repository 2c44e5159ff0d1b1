// The library on real windows: layout from an archive, mouse and keyboard input,
// notifications, modal loops and failures.
#include <gtest/gtest.h>


#include "tests/duilib/test_zip.h"
#include "tests/duilib/ui_test_support.h"

using namespace uitest;
using testing_support::TempDir;

namespace {

const char kLayout[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="400,300" caption="0,0,0,30" roundcorner="4,4">
  <Font id="0" name="NoSuchFaceAnywhere" size="13" default="true"/>
  <VerticalLayout name="root" bkimage="red.png" inset="10,10,10,10" childpadding="5">
    <HorizontalLayout name="row" height="40">
      <Button name="ok" width="100" text="确定"/>
      <CheckBox name="box" width="100" text="框"/>
      <Label name="rest" text="其余"/>
    </HorizontalLayout>
    <Edit name="edit" height="30" maxchar="4" numberonly="true"/>
    <Slider name="slider" height="24" width="210" min="0" max="2" thumbsize="10,20"/>
    <Combo name="combo" height="28" width="150">
      <ListLabelElement text="零"/><ListLabelElement text="一"/><ListLabelElement text="二"/>
    </Combo>
    <Mystery name="mystery"/>
    <Container name="filler" bkimage="missing.png"/>
  </VerticalLayout>
</Window>)";

const char kScrollLayout[] = R"(<Window size="200,200">
  <HorizontalLayout>
    <VerticalLayout name="list" vscrollbar="true" scrollbarwidth="8">
      <Button name="a" height="80"/><Button name="b" height="80"/><Button name="c" height="80"/>
    </VerticalLayout>
    <VerticalLayout width="60">
      <Option name="o1" height="30" group="g" selected="true"/><Option name="o2" height="30" group="g"/>
      <Option name="o3" height="30"/>
    </VerticalLayout>
  </HorizontalLayout>
</Window>)";

class LibraryWindows : public ::testing::Test {
protected:
    void SetUp() override {
        std::string png(reinterpret_cast<const char*>(testzip::kRedPng), sizeof(testzip::kRedPng));
        ASSERT_TRUE(testing_support::WriteBytes(dir_ / L"test.ui",
                                                testzip::Build({{"main.xml", kLayout, true},
                                                                {"red.png", png, false},
                                                                {"scroll.xml", kScrollLayout, false},
                                                                {"broken.xml", "<Window><VerticalLayout>", true}})));
        CPaintManagerUI::SetResourcePath(dir_.path().c_str());
        CPaintManagerUI::SetResourceZip(L"test.ui", false);
    }
    TempDir dir_{L"duilib"};
};

template <typename T>
T* Find(LayoutWindow& w, const wchar_t* name) {
    return dynamic_cast<T*>(w.pm().FindControl(name));
}

}  // namespace

TEST_F(LibraryWindows, LayoutFromTheArchiveBuildsTheExpectedTree) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open()) << w.pm().GetLastErrorText().GetData();
    RECT client{};
    GetClientRect(w.GetHWND(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_EQ(w.pm().GetCaptionRect().bottom, 30);

    ASSERT_NE(Find<CVerticalLayoutUI>(w, L"root"), nullptr);
    auto* ok = Find<CButtonUI>(w, L"ok");
    auto* rest = Find<CLabelUI>(w, L"rest");
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(rest, nullptr);
    EXPECT_EQ(ok->GetText(), L"确定");
    EXPECT_NE(Find<CCheckBoxUI>(w, L"box"), nullptr);
    EXPECT_NE(Find<CEditUI>(w, L"edit"), nullptr);
    EXPECT_NE(Find<CSliderUI>(w, L"slider"), nullptr);
    EXPECT_EQ(Find<CComboUI>(w, L"combo")->GetCount(), 3);
    EXPECT_EQ(w.pm().FindControl(L"mystery"), nullptr);
    EXPECT_EQ(w.pm().FindControl(L"nothing"), nullptr);

    // Stacking: inset 10, child padding 5, fixed sizes kept, the rest shared.
    EXPECT_EQ(ok->GetPos().left, 10);
    EXPECT_EQ(ok->GetPos().right, 110);
    EXPECT_EQ(rest->GetPos().left, 210);
    EXPECT_EQ(rest->GetPos().right, 390);
    EXPECT_EQ(w.pm().FindControl(L"edit")->GetPos().top, 55);
    RECT filler = w.pm().FindControl(L"filler")->GetPos();
    EXPECT_EQ(filler.top, 152);
    EXPECT_EQ(filler.bottom, 290);

    // Hit testing finds the deepest control.
    EXPECT_EQ(w.pm().FindControl(Center(ok)), ok);
    EXPECT_EQ(w.pm().FindControl(POINT{5, 5}), w.pm().FindControl(L"root"));

    // The unknown class was skipped with a reason; the missing image is reported
    // once painting asked for it, and the window still paints.
    InvalidateRect(w.GetHWND(), nullptr, FALSE);
    UpdateWindow(w.GetHWND());
    EXPECT_NE(w.pm().GetImage(L"red.png"), nullptr);
    EXPECT_EQ(w.pm().GetImage(L"missing.png"), nullptr);
    EXPECT_NE(std::wstring(w.pm().GetLastErrorText()).find(L"missing.png"), std::wstring::npos);
    // A face that is not installed still gives a usable font.
    EXPECT_NE(w.pm().GetFont(0), nullptr);
}

TEST_F(LibraryWindows, MissingOrBrokenLayoutFailsCreationWithAReason) {
    LayoutWindow missing(L"absent.xml");
    EXPECT_FALSE(missing.Open());
    EXPECT_NE(std::wstring(missing.pm().GetLastErrorText()).find(L"absent.xml"), std::wstring::npos);
    EXPECT_EQ(missing.ShowModal(), static_cast<UINT>(-1));

    LayoutWindow broken(L"broken.xml");
    EXPECT_FALSE(broken.Open());
    EXPECT_NE(std::wstring(broken.pm().GetLastErrorText()).find(L"XML"), std::wstring::npos);

    CPaintManagerUI::SetResourceZip(L"no-such-archive.ui", false);
    CDialogBuilder builder;
    EXPECT_EQ(builder.Create(L"main.xml"), nullptr);
    EXPECT_NE(std::wstring(builder.GetLastErrorText()).find(L"no-such-archive.ui"), std::wstring::npos);
}

TEST_F(LibraryWindows, ClickAtAButtonRaisesClickFromThatButton) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open());
    auto* ok = Find<CButtonUI>(w, L"ok");
    Click(w.GetHWND(), Center(ok));
    auto clicks = w.recorder.Of(L"click");
    ASSERT_EQ(clicks.size(), 1u);
    EXPECT_EQ(clicks[0].sender, L"ok");

    // Pressed on the button but released elsewhere: no click. Disabled: no click.
    POINT away = Center(Find<CLabelUI>(w, L"rest"));
    PostMessageW(w.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Center(ok).x, Center(ok).y));
    PostMessageW(w.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM(away.x, away.y));
    Pump(50);
    ok->SetEnabled(false);
    Click(w.GetHWND(), Center(ok));
    EXPECT_EQ(w.recorder.Of(L"click").size(), 1u);

    // Keyboard: Tab to the button, Space presses it.
    ok->SetEnabled(true);
    w.pm().SetFocus(nullptr);
    PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_TAB, 0);
    Pump(50);
    EXPECT_EQ(w.pm().GetFocus(), ok);  // first tab stop in layout order
    EXPECT_TRUE(w.pm().ShowsKeyboardFocus());
    PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_SPACE, 0);
    Pump(50);
    EXPECT_EQ(w.recorder.Of(L"click").size(), 2u);
    PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_TAB, 0);
    Pump(50);
    EXPECT_EQ(w.pm().GetFocus(), w.pm().FindControl(L"box"));
}

TEST_F(LibraryWindows, CheckBoxClickArrivesBeforeTheToggle) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open());
    auto* box = Find<CCheckBoxUI>(w, L"box");
    ASSERT_FALSE(box->GetCheck());
    Click(w.GetHWND(), Center(box));
    ASSERT_EQ(w.recorder.Of(L"click").size(), 1u);
    EXPECT_FALSE(w.recorder.Of(L"click")[0].senderChecked);  // still the old state
    EXPECT_TRUE(box->GetCheck());
    ASSERT_EQ(w.recorder.Of(L"selectchanged").size(), 1u);
    EXPECT_TRUE(w.recorder.Of(L"selectchanged")[0].senderChecked);
    Click(w.GetHWND(), Center(box));
    EXPECT_TRUE(w.recorder.Of(L"click")[1].senderChecked);
    EXPECT_FALSE(box->GetCheck());
}

TEST_F(LibraryWindows, TypingIntoAnEditRaisesTextChangedPerCharacter) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open());
    auto* edit = Find<CEditUI>(w, L"edit");
    edit->SetText(L"77");  // set by the program: no notification
    Click(w.GetHWND(), Center(edit));
    HWND native = edit->GetNativeWindow();
    ASSERT_NE(native, nullptr) << "no native edit while focused";
    EXPECT_EQ(GetParent(native), w.GetHWND());
    SendMessageW(native, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));  // as the player deleting
    w.recorder.seen.clear();
    for (wchar_t c : std::wstring(L"1x9205")) SendMessageW(native, WM_CHAR, c, 0);
    auto changes = w.recorder.Of(L"textchanged");
    // Number only: the letter is refused; at most four characters.
    std::wstring all;
    for (const Seen& c : changes) all += c.senderText + L"|";
    ASSERT_EQ(changes.size(), 4u) << testing_support::Gbk(all);
    EXPECT_EQ(changes[0].senderText, L"1");
    EXPECT_EQ(changes[1].senderText, L"19");
    EXPECT_EQ(changes[2].senderText, L"192");
    EXPECT_EQ(changes[3].senderText, L"1920");
    EXPECT_EQ(edit->GetText(), L"1920");

    // Clicking elsewhere ends the edit: the native child goes, "killfocus" arrives.
    Click(w.GetHWND(), Center(Find<CButtonUI>(w, L"ok")));
    EXPECT_TRUE(PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }));
    EXPECT_FALSE(IsWindow(native));
    EXPECT_EQ(w.recorder.Of(L"killfocus").size(), 1u);
    EXPECT_EQ(edit->GetText(), L"1920");
}

TEST_F(LibraryWindows, SelectingAListIndexRaisesItemSelectSynchronously) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open());
    auto* combo = Find<CComboUI>(w, L"combo");
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_TRUE(combo->SelectItem(2));
    auto selects = w.recorder.Of(L"itemselect");  // no pumping: delivered inside SelectItem
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(selects[0].wParam, 2u);
    EXPECT_EQ(selects[0].lParam, -1);
    EXPECT_EQ(combo->GetText(), L"二");
    EXPECT_FALSE(combo->IsFocused());
    // Selecting the same index again still notifies; -1 clears silently; out of range
    // changes nothing.
    EXPECT_TRUE(combo->SelectItem(2));
    EXPECT_FALSE(combo->SelectItem(-1));
    EXPECT_FALSE(combo->SelectItem(3));
    EXPECT_EQ(combo->GetCurSel(), -1);
    EXPECT_EQ(w.recorder.Of(L"itemselect").size(), 2u);
}

TEST_F(LibraryWindows, ComboDropDownPicksAnItemWithTheMouse) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open());
    auto* combo = Find<CComboUI>(w, L"combo");
    Click(w.GetHWND(), Center(combo));
    ASSERT_TRUE(combo->IsDroppedDown());
    HWND drop = FindWindowW(L"VelmoraComboWnd", nullptr);
    ASSERT_NE(drop, nullptr);
    RECT dropRect{}, comboScreen = combo->GetPos();
    GetWindowRect(drop, &dropRect);
    MapWindowPoints(w.GetHWND(), nullptr, reinterpret_cast<POINT*>(&comboScreen), 2);
    EXPECT_EQ(dropRect.top, comboScreen.bottom);  // opens right below the combo
    // Second row ("一") of the drop-down, rows are 28 pixels high below a 1 pixel border.
    Click(drop, POINT{20, 1 + 28 + 14});
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(drop); }));
    EXPECT_EQ(combo->GetCurSel(), 1);
    ASSERT_EQ(w.recorder.Of(L"itemselect").size(), 1u);
    EXPECT_FALSE(combo->IsDroppedDown());

    // Keyboard: Down selects the next item.
    w.pm().SetFocus(combo);
    PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_DOWN, 0);
    Pump(50);
    EXPECT_EQ(combo->GetCurSel(), 2);
}

TEST_F(LibraryWindows, SliderFollowsTrackClicksDragsAndKeys) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open());
    auto* slider = Find<CSliderUI>(w, L"slider");
    RECT rc = slider->GetPos();  // 210 wide, thumb 10: value 2 at the right end
    int y = (rc.top + rc.bottom) / 2;
    Click(w.GetHWND(), POINT{rc.right - 3, y});
    EXPECT_EQ(slider->GetValue(), 2);
    EXPECT_FALSE(w.recorder.Of(L"valuechanged").empty());
    // Drag the thumb from the right end to the middle.
    RECT thumb = slider->GetThumbRect();
    LPARAM from = MAKELPARAM((thumb.left + thumb.right) / 2, y);
    PostMessageW(w.GetHWND(), WM_LBUTTONDOWN, MK_LBUTTON, from);
    PostMessageW(w.GetHWND(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((rc.left + rc.right) / 2, y));
    PostMessageW(w.GetHWND(), WM_LBUTTONUP, 0, MAKELPARAM((rc.left + rc.right) / 2, y));
    Pump(50);
    EXPECT_EQ(slider->GetValue(), 1);
    PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_LEFT, 0);
    Pump(50);
    EXPECT_EQ(slider->GetValue(), 0);
    PostMessageW(w.GetHWND(), WM_KEYDOWN, VK_LEFT, 0);  // stays in range
    Pump(50);
    EXPECT_EQ(slider->GetValue(), 0);
    slider->SetValue(9);
    EXPECT_EQ(slider->GetValue(), 2);
}

TEST_F(LibraryWindows, ModalWindowDisablesItsOwnerAndReturnsItsCloseCode) {
    LayoutWindow owner(L"main.xml");
    ASSERT_TRUE(owner.Open());
    LayoutWindow modal(L"main.xml");
    ASSERT_NE(modal.Create(owner.GetHWND(), L"modal", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0, 0), nullptr);
    static HWND s_owner;
    static BOOL s_ownerEnabledDuringRun;
    static HWND s_modal;
    s_owner = owner.GetHWND();
    s_modal = modal.GetHWND();
    s_ownerEnabledDuringRun = TRUE;
    struct Timer {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            s_ownerEnabledDuringRun = IsWindowEnabled(s_owner);
            PostMessageW(s_modal, WM_CLOSE, 7, 0);  // what Close(7) does
        }
    };
    SetTimer(nullptr, 0, 100, &Timer::Fire);
    UINT code = modal.ShowModal();
    EXPECT_EQ(code, 7u);
    EXPECT_FALSE(s_ownerEnabledDuringRun);
    EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
    EXPECT_FALSE(IsWindow(s_modal));
}

TEST_F(LibraryWindows, AsyncNotificationsArriveFromTheQueueAndDropDeletedSenders) {
    LayoutWindow w(L"main.xml");
    ASSERT_TRUE(w.Open());
    CControlUI* ok = w.pm().FindControl(L"ok");
    w.pm().SendNotify(ok, L"官方网站", 0, 0, true);
    EXPECT_TRUE(w.recorder.Of(L"官方网站").empty());  // not yet
    EXPECT_TRUE(PumpUntil([&] { return !w.recorder.Of(L"官方网站").empty(); }));
    EXPECT_EQ(w.recorder.Of(L"官方网站")[0].sender, L"ok");

    auto* row = Find<CHorizontalLayoutUI>(w, L"row");
    CControlUI* rest = w.pm().FindControl(L"rest");
    w.pm().SendNotify(rest, L"late", 0, 0, true);
    row->Remove(rest);
    Pump(100);
    EXPECT_TRUE(w.recorder.Of(L"late").empty());
}

TEST_F(LibraryWindows, ScrollBarAppearsOnlyWhileTheContentIsTaller) {
    LayoutWindow w(L"scroll.xml");
    ASSERT_TRUE(w.Open()) << w.pm().GetLastErrorText().GetData();
    auto* list = Find<CVerticalLayoutUI>(w, L"list");
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->IsVerticalScrollBarVisible());
    EXPECT_EQ(list->GetScrollRange().cy, 240 - 200);
    EXPECT_EQ(w.pm().FindControl(L"a")->GetPos().right, 140 - 8);  // children leave room for the bar
    list->SetScrollPos(SIZE{0, 25});
    EXPECT_EQ(w.pm().FindControl(L"a")->GetPos().top, -25);
    // Wheel over a child scrolls the list (the child passes it on).
    POINT pt = Center(w.pm().FindControl(L"b"));
    ClientToScreen(w.GetHWND(), &pt);
    SendMessageW(w.GetHWND(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(list->GetScrollPos().cy, 40);
    // Content shrinks below the area: bar hidden, position reset, full width again.
    w.pm().FindControl(L"c")->SetVisible(false);
    w.pm().UpdateLayout();
    EXPECT_FALSE(list->IsVerticalScrollBarVisible());
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    EXPECT_EQ(w.pm().FindControl(L"a")->GetPos().top, 0);
    EXPECT_EQ(w.pm().FindControl(L"a")->GetPos().right, 140);
}

TEST_F(LibraryWindows, GroupedOptionsAreExclusiveAndUngroupedToggle) {
    LayoutWindow w(L"scroll.xml");
    ASSERT_TRUE(w.Open());
    auto* o1 = Find<COptionUI>(w, L"o1");
    auto* o2 = Find<COptionUI>(w, L"o2");
    auto* o3 = Find<COptionUI>(w, L"o3");
    EXPECT_TRUE(o1->IsSelected());
    Click(w.GetHWND(), Center(o2));
    EXPECT_TRUE(o2->IsSelected());
    EXPECT_FALSE(o1->IsSelected());
    Click(w.GetHWND(), Center(o2));  // a selected grouped option stays selected
    EXPECT_TRUE(o2->IsSelected());
    Click(w.GetHWND(), Center(o3));
    Click(w.GetHWND(), Center(o3));
    EXPECT_FALSE(o3->IsSelected());
    EXPECT_EQ(w.recorder.Of(L"click").size(), 4u);
}
