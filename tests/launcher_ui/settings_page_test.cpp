#include "launcher/ui/settings_page.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "duilib/duilib.h"
#include "launcher/game/game_folder.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"
#include "launcher/ui/dui_manager.h"
#include "launcher/ui/launcher_messages.h"
#include "launcher/ui/tier_texts.h"
#include "tests/support/exe_user_folder.h"
#include "tests/support/test_files.h"

using namespace settings;
using testing_support::TempDir;
using testing_support::Wide;

namespace {

// The settings page's controls, as the main layout names them.
const char kLayout[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="400,300">
  <VerticalLayout>
    <CheckBox name="UIStartMode"/><CheckBox name="UICheckShiju"/><CheckBox name="UICheckJinYin"/>
    <CheckBox name="CheckBoxbeijingyinyue"/><CheckBox name="CheckBoxhuanjingyinxiao"/>
    <CheckBox name="CheckBoxjiemianyinxiao"/><CheckBox name="CheckBoxTianQinXiaoGuo"/>
    <CheckBox name="CheckBoxHouQiChuLi"/><CheckBox name="CheckBoxQiangTiHouJueSe"/>
    <Slider name="Slideryouhuajiasu" min="0" max="2"/><Slider name="Sliderhuanjingxijie" min="0" max="2"/>
    <Slider name="Sliderzhandouxijie" min="0" max="2"/>
    <Label name="LabelUI8" text="layout text"/><Label name="Labyouhuashezhi"/><Label name="LabelUI2"/>
    <Label name="LabelUI6"/><Label name="LabelUI5"/><Label name="Labyouhuamiaosu"/>
    <Combo name="Combofenbianlv">
      <ListLabelElement text="-"/><ListLabelElement text="1024 x 768"/><ListLabelElement text="800 x 600"/>
      <ListLabelElement text="1280 x 1024"/><ListLabelElement text="1600 x 900"/><ListLabelElement text="custom"/>
    </Combo>
    <Combo name="Combochaungkoumoshi">
      <ListLabelElement text="-"/><ListLabelElement text="window"/><ListLabelElement text="full"/>
      <ListLabelElement text="borderless"/>
    </Combo>
    <Edit name="Editkuan"/><Edit name="Editgao"/>
    <CheckBox name="Lab_youhuajiasu"/><CheckBox name="Lab_View"/><CheckBox name="LabelUI4"/>
  </VerticalLayout>
</Window>)";

// Dispatches notifications to the page the way the main window does.
class PageHarness : public INotifyUI {
public:
    PageHarness(CPaintManagerUI& pm, SettingsSnapshot& snapshot, const SettingsFile& file, DuiManager& wrappers)
        : page(pm, nullptr, snapshot, file, wrappers) {}
    void Notify(TNotifyUI& msg) override {
        const std::wstring type = msg.sType.GetData();
        if (type == L"itemselect") page.OnItemSelect(msg);
        if (type == L"textchanged") page.OnTextChanged(msg);
        page.OnSliderNotify(msg);
    }
    SettingsPage page;
};

class SettingsPageTest : public testing_support::ExeUserFolderTest {
protected:
    // The page works on the process's game folder holder, as in the launcher.
    Function function_{testing_support::ExecutableFolder()};
    ProcessFunctionScope functionScope_{function_};

    void SetUp() override {
        ExeUserFolderTest::SetUp();
        CDialogBuilder builder;
        CControlUI* root = builder.CreateFromText(kLayout, sizeof(kLayout) - 1, nullptr, &pm_);
        ASSERT_NE(root, nullptr) << builder.GetLastErrorText().GetData();
        pm_.AttachDialog(root);
        harness_ = std::make_unique<PageHarness>(pm_, snapshot_, settingsFile_, wrappers_);
        pm_.AddNotifier(harness_.get());
    }
    void TearDown() override {
        pm_.RemoveNotifier(harness_.get());
        g_function->SetGameFolder(L"");
        ExeUserFolderTest::TearDown();
        MSG msg;
        while (PeekMessageW(&msg, nullptr, UM_FINDPATH, UM_FINDPATH, PM_REMOVE)) {
        }
    }
    template <typename T>
    T* Control(const wchar_t* name) {
        return dynamic_cast<T*>(pm_.FindControl(name));
    }
    // A click as the player makes it: the notification first, then the toggle.
    void Click(const wchar_t* name) {
        auto* box = Control<CCheckBoxUI>(name);
        ASSERT_NE(box, nullptr) << name;
        TNotifyUI msg;
        msg.sType = L"click";
        msg.pSender = box;
        harness_->page.OnCheckBoxClick(msg);
        box->SetCheck(!box->GetCheck());
    }
    void UseValidGameFolder() {
        const std::wstring bin = game_.path() + L"\\Game\\jre\\win32\\x86\\bin";
        ASSERT_TRUE(testing_support::MakeFolders(bin));
        ASSERT_TRUE(testing_support::WriteBytes(bin + L"\\javaw.exe", "MZ"));
        settingsFile_.WriteText(kGamePath, game_.path());
    }
    bool FolderChooserRequested() {
        MSG msg;
        return PeekMessageW(&msg, nullptr, UM_FINDPATH, UM_FINDPATH, PM_REMOVE) != 0;
    }

    SettingsSnapshot snapshot_;  // the page's snapshot, zeroed for each test
    CPaintManagerUI pm_;
    DuiManager wrappers_;  // the home page's registered boxes, as the main window owns them
    std::unique_ptr<PageHarness> harness_;
    TempDir game_;
};

}  // namespace

TEST_F(SettingsPageTest, MuteEverythingSetsAndClearsAllFourSoundSettings) {
    UseValidGameFolder();
    Click(L"UICheckJinYin");
    for (const wchar_t* box : {L"CheckBoxjiemianyinxiao", L"CheckBoxbeijingyinyue", L"CheckBoxhuanjingyinxiao"}) {
        EXPECT_TRUE(Control<CCheckBoxUI>(box)->GetCheck()) << box;
    }
    for (SettingKey key : {kNoSound, kAmbianceSoundsMute, kMusicMute, kUiSoundsMute}) {
        EXPECT_EQ(settingsFile_.ReadText(key), L"1") << key.section;
    }
    EXPECT_EQ(snapshot_.noSound + snapshot_.musicMute + snapshot_.uiSoundsMute +
                  snapshot_.ambianceSoundsMute,
              4);
    Click(L"UICheckJinYin");
    for (SettingKey key : {kNoSound, kAmbianceSoundsMute, kMusicMute, kUiSoundsMute}) {
        EXPECT_EQ(settingsFile_.ReadText(key), L"0") << key.section;
    }
    EXPECT_FALSE(Control<CCheckBoxUI>(L"CheckBoxbeijingyinyue")->GetCheck());
}

TEST_F(SettingsPageTest, IndependentBoxesStoreTheStateAfterTheToggle) {
    Click(L"CheckBoxHouQiChuLi");
    EXPECT_EQ(settingsFile_.ReadText(kShaders), L"1");
    EXPECT_EQ(snapshot_.shaders, 1);
    Click(L"CheckBoxHouQiChuLi");
    EXPECT_EQ(settingsFile_.ReadText(kShaders), L"0");
    Click(L"CheckBoxQiangTiHouJueSe");
    EXPECT_EQ(settingsFile_.ReadText(kAlphaMask), L"1");
    EXPECT_FALSE(FolderChooserRequested()) << "effect boxes need no game folder";
}

TEST_F(SettingsPageTest, GameBoxWithoutGameFolderIsRefusedAndOffersTheChooser) {
    Click(L"UIStartMode");
    EXPECT_FALSE(Control<CCheckBoxUI>(L"UIStartMode")->GetCheck());
    EXPECT_EQ(settingsFile_.ReadText(kStartMode), L"");
    EXPECT_EQ(snapshot_.startModeEnabled, 0);
    EXPECT_TRUE(FolderChooserRequested());
}

TEST_F(SettingsPageTest, MemorySliderFollowsStartMode) {
    auto* slider = Control<CSliderUI>(L"Slideryouhuajiasu");
    auto* label = Control<CLabelUI>(L"LabelUI8");
    snapshot_.memoryTier = 1;
    slider->SetValue(2);
    pm_.SendNotify(slider, L"valuechanged");
    EXPECT_EQ(slider->GetValue(), 1) << "start mode off: the slider goes back to the stored tier";
    EXPECT_FALSE(slider->IsEnabled());
    EXPECT_EQ(settingsFile_.ReadText(kStartModel), L"");

    snapshot_.startModeEnabled = 1;
    slider->SetValue(2);
    pm_.SendNotify(slider, L"valuechanged");
    EXPECT_TRUE(slider->IsEnabled());
    EXPECT_EQ(settingsFile_.ReadText(kStartModel), L"2");
    EXPECT_EQ(snapshot_.memoryTier, 2);
    EXPECT_STREQ(label->GetText().GetData(), SliderTierText(2));
}

TEST_F(SettingsPageTest, WindowStyleTwoSwitchesTheResolutionOffAndStyleOneRestoresIt) {
    settingsFile_.WriteNumber(kResolution, 5);
    settingsFile_.WriteText(kCustomWidth, L"1920");
    settingsFile_.WriteText(kCustomHeight, L"1080");
    auto* modes = Control<CComboUI>(L"Combochaungkoumoshi");
    auto* resolutions = Control<CComboUI>(L"Combofenbianlv");

    modes->SelectItem(2, false);
    EXPECT_FALSE(resolutions->IsEnabled());
    EXPECT_EQ(resolutions->GetCurSel(), -1);
    EXPECT_EQ(snapshot_.resolutionSelection, -1);
    EXPECT_FALSE(Control<CEditUI>(L"Editkuan")->IsEnabled());
    EXPECT_STREQ(Control<CEditUI>(L"Editkuan")->GetText().GetData(), L"");
    EXPECT_EQ(settingsFile_.ReadText(kWindowsStyle), L"2");

    modes->SelectItem(1, false);
    EXPECT_TRUE(resolutions->IsEnabled());
    EXPECT_EQ(resolutions->GetCurSel(), 5);
    EXPECT_EQ(snapshot_.resolutionSelection, 5);
    EXPECT_TRUE(Control<CEditUI>(L"Editkuan")->IsEnabled());
    EXPECT_STREQ(Control<CEditUI>(L"Editkuan")->GetText().GetData(), L"1920");
    EXPECT_STREQ(Control<CEditUI>(L"Editgao")->GetText().GetData(), L"1080");
    EXPECT_EQ(snapshot_.customHeight, L"1080");
    EXPECT_EQ(settingsFile_.ReadText(kWindowsStyle), L"1");
}

TEST_F(SettingsPageTest, EveryTypedWidthIsWrittenAsTyped) {
    auto* width = Control<CEditUI>(L"Editkuan");
    for (const wchar_t* text : {L"1", L"19", L"192", L"1920a"}) {
        width->SetText(text);
        pm_.SendNotify(width, L"textchanged");
        EXPECT_EQ(settingsFile_.ReadText(kCustomWidth), text);
    }
    EXPECT_EQ(snapshot_.customWidth, L"1920a");
}

TEST_F(SettingsPageTest, SavedSettingsReachTheControlsAndTheSnapshot) {
    UseValidGameFolder();
    settingsFile_.WriteNumber(kStartMode, 1);
    settingsFile_.WriteNumber(kNoSound, 0);
    settingsFile_.WriteNumber(kStartModel, 1);
    settingsFile_.WriteNumber(kLodLevel, 2);
    settingsFile_.WriteNumber(kShaders, 1);
    harness_->page.ApplySavedSettings();
    EXPECT_EQ(g_function->GetGameFolder(), game_.path());
    EXPECT_TRUE(Control<CCheckBoxUI>(L"UIStartMode")->GetCheck());
    EXPECT_FALSE(Control<CCheckBoxUI>(L"UICheckJinYin")->GetCheck());
    EXPECT_TRUE(Control<CCheckBoxUI>(L"CheckBoxHouQiChuLi")->GetCheck());
    EXPECT_EQ(Control<CSliderUI>(L"Slideryouhuajiasu")->GetValue(), 1);
    EXPECT_EQ(Control<CSliderUI>(L"Sliderhuanjingxijie")->GetValue(), 2);
    EXPECT_STREQ(Control<CLabelUI>(L"LabelUI8")->GetText().GetData(), SavedTierText(1));
    EXPECT_EQ(snapshot_.memoryTier, 1);
    EXPECT_EQ(snapshot_.shaders, 1);

    settingsFile_.WriteNumber(kStartModel, 7);
    Control<CLabelUI>(L"LabelUI8")->SetText(L"layout text");
    harness_->page.ApplySavedSettings();
    EXPECT_STREQ(Control<CLabelUI>(L"LabelUI8")->GetText().GetData(), L"layout text") << "tier 7 keeps the label";
    EXPECT_EQ(snapshot_.memoryTier, 7);
}

// A start from the home page uses the saved resolution although the detailed page,
// which shows it, was never opened.
TEST_F(SettingsPageTest, SavedResolutionReachesTheSnapshotWithoutTheDetailedPage) {
    settingsFile_.WriteNumber(kWindowsStyle, 1);
    settingsFile_.WriteNumber(kResolution, 5);
    settingsFile_.WriteText(kCustomWidth, L"1920");
    settingsFile_.WriteText(kCustomHeight, L"1080");
    harness_->page.ApplySavedSettings();
    EXPECT_EQ(snapshot_.windowStyle, 1);
    EXPECT_EQ(snapshot_.resolutionSelection, 5);
    EXPECT_EQ(snapshot_.customWidth, L"1920");
    EXPECT_EQ(snapshot_.customHeight, L"1080");
    EXPECT_EQ(Control<CComboUI>(L"Combofenbianlv")->GetCurSel(), -1) << "the lists wait for the detailed page";

    settingsFile_.WriteNumber(kResolution, 9);  // meaningless: the selection stays as it was
    LoadSavedResolution(settingsFile_, snapshot_);
    EXPECT_EQ(snapshot_.resolutionSelection, 5);
}

TEST_F(SettingsPageTest, DetailedPageLoadsStoredListsAndGreysTheMemoryBlock) {
    settingsFile_.WriteNumber(kWindowsStyle, 3);
    settingsFile_.WriteNumber(kResolution, 4);
    harness_->page.LoadDetailedSettings();
    EXPECT_EQ(Control<CComboUI>(L"Combochaungkoumoshi")->GetCurSel(), 3);
    EXPECT_EQ(Control<CComboUI>(L"Combofenbianlv")->GetCurSel(), 4);
    EXPECT_EQ(snapshot_.resolutionSelection, 4);
    EXPECT_FALSE(Control<CEditUI>(L"Editgao")->IsEnabled());
    EXPECT_FALSE(Control<CLabelUI>(L"Labyouhuamiaosu")->IsEnabled()) << "start mode off greys the memory block";
}

TEST_F(SettingsPageTest, ARefusedGameBoxKeepsShowingWhatTheFileHolds) {
    settingsFile_.WriteNumber(kStartMode, 1);
    settingsFile_.WriteNumber(kSightview, 1);
    harness_->page.ApplySavedSettings();
    ASSERT_TRUE(Control<CCheckBoxUI>(L"UIStartMode")->GetCheck());
    Click(L"UIStartMode");  // no valid game folder
    EXPECT_TRUE(Control<CCheckBoxUI>(L"UIStartMode")->GetCheck());
    EXPECT_EQ(settingsFile_.ReadText(kStartMode), L"1");
    EXPECT_TRUE(FolderChooserRequested());
    Click(L"Lab_View");  // its home twin is refused the same way
    EXPECT_TRUE(Control<CCheckBoxUI>(L"Lab_View")->GetCheck());
    EXPECT_EQ(settingsFile_.ReadText(kSightview), L"1");
    Click(L"UICheckJinYin");  // and an unchecked box stays unchecked
    EXPECT_FALSE(Control<CCheckBoxUI>(L"UICheckJinYin")->GetCheck());
}

TEST_F(SettingsPageTest, TheMemorySliderComesBackWhenTheMemoryOptionIsTurnedOn) {
    UseValidGameFolder();
    auto* slider = Control<CSliderUI>(L"Slideryouhuajiasu");
    slider->SetValue(2);
    pm_.SendNotify(slider, L"valuechanged");
    ASSERT_FALSE(slider->IsEnabled());
    Click(L"UIStartMode");
    EXPECT_TRUE(slider->IsEnabled());
    EXPECT_TRUE(Control<CLabelUI>(L"Labyouhuamiaosu")->IsEnabled());
    slider->SetValue(2);
    pm_.SendNotify(slider, L"valuechanged");
    EXPECT_EQ(settingsFile_.ReadText(kStartModel), L"2");
    Click(L"UIStartMode");
    EXPECT_FALSE(slider->IsEnabled()) << "turned off, the block is greyed again";
}

TEST_F(SettingsPageTest, HomeBoxesActAsTheirGameBoxesAndBothShowTheResult) {
    UseValidGameFolder();
    Click(L"Lab_View");
    EXPECT_EQ(settingsFile_.ReadText(kSightview), L"1");
    EXPECT_EQ(snapshot_.sightview, 1);
    EXPECT_TRUE(Control<CCheckBoxUI>(L"UICheckShiju")->GetCheck());
    Click(L"UICheckShiju");
    EXPECT_EQ(settingsFile_.ReadText(kSightview), L"0");
    EXPECT_FALSE(Control<CCheckBoxUI>(L"Lab_View")->GetCheck());

    Click(L"LabelUI4");
    EXPECT_TRUE(Control<CCheckBoxUI>(L"UICheckJinYin")->GetCheck());
    EXPECT_TRUE(Control<CCheckBoxUI>(L"CheckBoxbeijingyinyue")->GetCheck());
    EXPECT_EQ(settingsFile_.ReadText(kMusicMute), L"1");
    Click(L"Lab_youhuajiasu");
    EXPECT_EQ(settingsFile_.ReadText(kStartMode), L"1");
    EXPECT_TRUE(Control<CCheckBoxUI>(L"UIStartMode")->GetCheck());
    EXPECT_FALSE(FolderChooserRequested());
}

TEST_F(SettingsPageTest, SavedGameOptionsTickTheHomeBoxesToo) {
    settingsFile_.WriteNumber(kSightview, 1);
    settingsFile_.WriteNumber(kNoSound, 1);
    harness_->page.ApplySavedSettings();
    EXPECT_FALSE(Control<CCheckBoxUI>(L"Lab_youhuajiasu")->GetCheck());
    EXPECT_TRUE(Control<CCheckBoxUI>(L"Lab_View")->GetCheck());
    EXPECT_TRUE(Control<CCheckBoxUI>(L"LabelUI4")->GetCheck());
}

TEST_F(SettingsPageTest, RestoreDefaultsTurnsTheStartOptionsOffEverywhere) {
    DuiManager& wrappers = wrappers_;
    wrappers.SetPaintManager(&pm_);
    wrappers.Register(19, L"Lab_youhuajiasu");
    wrappers.Register(21, L"Lab_View");
    wrappers.Register(22, L"LabelUI4");
    for (SettingKey key : {kStartMode, kSightview, kNoSound, kShaders}) settingsFile_.WriteNumber(key, 1);
    harness_->page.ApplySavedSettings();
    harness_->page.LoadDetailedSettings();
    ASSERT_TRUE(Control<CSliderUI>(L"Slideryouhuajiasu")->IsEnabled());

    harness_->page.RestoreDefaults();
    for (const wchar_t* box : {L"UIStartMode", L"UICheckShiju", L"UICheckJinYin", L"Lab_youhuajiasu", L"Lab_View",
                               L"LabelUI4"}) {
        EXPECT_FALSE(Control<CCheckBoxUI>(box)->GetCheck()) << box;
    }
    for (SettingKey key : {kStartMode, kSightview, kNoSound}) {
        EXPECT_EQ(settingsFile_.ReadText(key), L"0") << key.section;
    }
    EXPECT_EQ(snapshot_.startModeEnabled + snapshot_.sightview + snapshot_.noSound, 0);
    EXPECT_EQ(settingsFile_.ReadText(kShaders), L"1") << "effects are not start options";
    EXPECT_FALSE(Control<CSliderUI>(L"Slideryouhuajiasu")->IsEnabled());
    wrappers.Clear();
}

TEST_F(SettingsPageTest, APreselectedTierIsShownButNotStored) {
    harness_->page.PreselectMemoryTier(2);
    EXPECT_EQ(Control<CSliderUI>(L"Slideryouhuajiasu")->GetValue(), 2);
    EXPECT_STREQ(Control<CLabelUI>(L"LabelUI8")->GetText().GetData(), SliderTierText(2));
    EXPECT_EQ(snapshot_.memoryTier, 2);
    EXPECT_EQ(settingsFile_.ReadText(kStartModel), L"");
}
