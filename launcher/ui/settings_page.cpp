#include "launcher/ui/settings_page.h"

#include <cstring>
#include <utility>

#include "duilib/duilib.h"
#include "launcher/game/game_folder.h"
#include "launcher/settings/settings_file.h"
#include "launcher/settings/settings_snapshot.h"
#include "launcher/ui/dui_manager.h"
#include "launcher/ui/launcher_messages.h"
#include "launcher/ui/tier_texts.h"

using settings::SettingKey;

namespace {

bool Is(const TNotifyUI& msg, const wchar_t* name) {
    return msg.pSender && std::wcscmp(msg.pSender->GetName().GetData(), name) == 0;
}

// The six boxes that only store their own flag, in the order they are tested.
struct IndependentBox {
    const wchar_t* control;
    SettingKey key;
    int settings::SettingsSnapshot::*field;
};
const IndependentBox kIndependentBoxes[] = {
    {L"CheckBoxhuanjingyinxiao", settings::kAmbianceSoundsMute, &settings::SettingsSnapshot::ambianceSoundsMute},
    {L"CheckBoxbeijingyinyue", settings::kMusicMute, &settings::SettingsSnapshot::musicMute},
    {L"CheckBoxHouQiChuLi", settings::kShaders, &settings::SettingsSnapshot::shaders},
    {L"CheckBoxTianQinXiaoGuo", settings::kMeteoEffect, &settings::SettingsSnapshot::meteoEffect},
    {L"CheckBoxjiemianyinxiao", settings::kUiSoundsMute, &settings::SettingsSnapshot::uiSoundsMute},
    {L"CheckBoxQiangTiHouJueSe", settings::kAlphaMask, &settings::SettingsSnapshot::alphaMask},
};

const wchar_t* const kMemoryBlockLabels[] = {L"Labyouhuashezhi", L"LabelUI2", L"LabelUI6",
                                             L"LabelUI5", L"LabelUI8", L"Labyouhuamiaosu"};

// The home page's three boxes show the three game boxes of the detailed page: a click
// on either of a pair acts as a click on the game box, and both show the result.
struct BoxTwin {
    const wchar_t* home;
    const wchar_t* game;
};
const BoxTwin kBoxTwins[] = {
    {L"Lab_youhuajiasu", L"UIStartMode"},
    {L"Lab_View", L"UICheckShiju"},
    {L"LabelUI4", L"UICheckJinYin"},
};

const wchar_t* GameBoxOf(const TNotifyUI& msg) {
    for (const BoxTwin& twin : kBoxTwins) {
        if (Is(msg, twin.home) || Is(msg, twin.game)) return twin.game;
    }
    return nullptr;
}

void ReloadGameFolder(const settings::SettingsFile& file) {
    g_function->SetGameFolder(file.ReadText(settings::kGamePath));
}

}  // namespace

SettingsPage::SettingsPage(CPaintManagerUI& manager, HWND mainWindow, settings::SettingsSnapshot& snapshot,
                           settings::SettingsFile file, DuiManager& wrappers)
    : manager_(manager), mainWindow_(mainWindow), snapshot_(snapshot), file_(std::move(file)), wrappers_(wrappers) {}

template <typename T>
T* SettingsPage::Find(const wchar_t* name) const {
    return dynamic_cast<T*>(manager_.FindControl(name));
}

void SettingsPage::SetTierLabel(const wchar_t* text) {
    if (!text) return;
    if (auto* label = Find<CControlUI>(L"LabelUI8")) label->SetText(text);
}

void SettingsPage::SetCustomSizeEdits(bool enabled, bool clear) {
    for (const wchar_t* name : {L"Editgao", L"Editkuan"}) {
        if (auto* edit = Find<CControlUI>(name)) {
            edit->SetEnabled(enabled);
            if (clear) edit->SetText(L"");
        }
    }
}

// A game box needs a usable game folder. Without one the click is refused: the box is
// set checked so that its pending toggle leaves it unchecked, and the folder chooser
// is offered.
bool SettingsPage::GameFolderOrOfferChooser(TNotifyUI& msg) {
    if (g_function->IsGameFolderValid()) return true;
    // The pending toggle must bring the box back to the state the file holds.
    if (auto* box = dynamic_cast<CCheckBoxUI*>(msg.pSender)) box->SetCheck(!box->GetCheck());
    ::PostMessageW(mainWindow_, UM_FINDPATH, 0, 0);
    ::EnableWindow(mainWindow_, FALSE);
    return false;
}

bool SettingsPage::OnCheckBoxClick(TNotifyUI& msg) {
    auto* box = dynamic_cast<COptionUI*>(msg.pSender);
    if (!box) return false;
    ReloadGameFolder(file_);
    // The click comes before the toggle: the new state is the opposite of the current.
    const int newState = box->IsSelected() ? 0 : 1;
    auto& snapshot = snapshot_;

    for (const IndependentBox& entry : kIndependentBoxes) {
        if (Is(msg, entry.control)) {
            snapshot.*entry.field = newState;
            file_.WriteNumber(entry.key, newState);
            return true;
        }
    }
    if (const wchar_t* gameBox = GameBoxOf(msg)) return OnGameBoxClick(gameBox, msg, newState);
    return false;
}

bool SettingsPage::OnGameBoxClick(const wchar_t* gameBox, TNotifyUI& msg, int newState) {
    if (!GameFolderOrOfferChooser(msg)) return true;
    auto& snapshot = snapshot_;
    const std::wstring name = gameBox;
    if (name == L"UIStartMode") {
        snapshot.startModeEnabled = newState;
        file_.WriteNumber(settings::kStartMode, newState);
        // The memory slider follows the option, also after it was touched while off.
        ShowMemoryBlock(newState != 0);
    } else if (name == L"UICheckShiju") {
        file_.WriteNumber(settings::kSightview, newState);
        snapshot.sightview = newState;
    } else {
        file_.WriteNumber(settings::kNoSound, newState);
        snapshot.noSound = newState;
        for (const wchar_t* sound : {L"CheckBoxjiemianyinxiao", L"CheckBoxbeijingyinyue", L"CheckBoxhuanjingyinxiao"}) {
            if (auto* box = Find<CCheckBoxUI>(sound)) box->SetCheck(newState != 0);
        }
        snapshot.uiSoundsMute = newState;
        snapshot.musicMute = newState;
        snapshot.ambianceSoundsMute = newState;
        file_.WriteNumber(settings::kAmbianceSoundsMute, newState);
        file_.WriteNumber(settings::kMusicMute, newState);
        file_.WriteNumber(settings::kUiSoundsMute, newState);
    }
    // The clicked box toggles itself afterwards; its twin is set here.
    for (const BoxTwin& twin : kBoxTwins) {
        if (name != twin.game) continue;
        const wchar_t* other = Is(msg, twin.home) ? twin.game : twin.home;
        if (auto* box = Find<CCheckBoxUI>(other)) box->SetCheck(newState != 0);
    }
    return true;
}

void SettingsPage::SetGameBoxes(const wchar_t* gameBox, bool checked) {
    for (const BoxTwin& twin : kBoxTwins) {
        if (std::wcscmp(twin.game, gameBox) != 0) continue;
        for (const wchar_t* name : {twin.home, twin.game}) {
            if (auto* box = Find<CCheckBoxUI>(name)) box->SetCheck(checked);
        }
    }
}

void SettingsPage::ShowMemoryBlock(bool enabled) {
    for (const wchar_t* name : kMemoryBlockLabels) {
        if (auto* label = Find<CControlUI>(name)) label->SetEnabled(enabled);
    }
    if (auto* slider = Find<CSliderUI>(L"Slideryouhuajiasu")) {
        slider->SetEnabled(enabled);
        slider->SetThumbImage(enabled ? L"滑竿.png" : L"滑竿灰.png");
        slider->SetBkImage(enabled ? L"标尺.png" : L"标尺灰.png");
    }
}

void SettingsPage::PreselectMemoryTier(int tier) {
    snapshot_.memoryTier = tier;
    if (auto* slider = Find<CSliderUI>(L"Slideryouhuajiasu")) slider->SetValue(tier);
    SetTierLabel(SliderTierText(tier));
}

void SettingsPage::RestoreDefaults() {
    ClearStartupChecks(wrappers_);
    auto& snapshot = snapshot_;
    snapshot.startModeEnabled = 0;
    snapshot.sightview = 0;
    snapshot.noSound = 0;
    file_.WriteNumber(settings::kStartMode, 0);
    file_.WriteNumber(settings::kSightview, 0);
    file_.WriteNumber(settings::kNoSound, 0);
    for (const BoxTwin& twin : kBoxTwins) SetGameBoxes(twin.game, false);
    ShowMemoryBlock(false);
}

bool SettingsPage::OnSliderNotify(TNotifyUI& msg) {
    auto* slider = dynamic_cast<CSliderUI*>(msg.pSender);
    if (!slider) return false;
    auto& snapshot = snapshot_;
    if (Is(msg, L"Slideryouhuajiasu")) {
        if (snapshot.startModeEnabled) {
            slider->SetEnabled(true);
            snapshot.memoryTier = slider->GetValue();
            file_.WriteNumber(settings::kStartModel, snapshot.memoryTier);
            SetTierLabel(SliderTierText(snapshot.memoryTier));
        } else {
            slider->SetValue(snapshot.memoryTier);
            slider->SetEnabled(false);
        }
        return true;
    }
    if (Is(msg, L"Sliderhuanjingxijie")) {
        snapshot.lodLevel = slider->GetValue();
        file_.WriteNumber(settings::kLodLevel, snapshot.lodLevel);
        return true;
    }
    if (Is(msg, L"Sliderzhandouxijie")) {
        snapshot.fightLevel = slider->GetValue();
        file_.WriteNumber(settings::kFightLevel, snapshot.fightLevel);
        return true;
    }
    return false;
}

bool SettingsPage::OnItemSelect(TNotifyUI& msg) {
    auto* list = dynamic_cast<CComboUI*>(msg.pSender);
    if (!list) return false;
    auto& snapshot = snapshot_;
    if (Is(msg, L"Combofenbianlv")) {
        snapshot.resolutionSelection = list->GetCurSel();
        SetCustomSizeEdits(snapshot.resolutionSelection == 5, snapshot.resolutionSelection != 5);
        file_.WriteNumber(settings::kResolution, snapshot.resolutionSelection);
        return true;
    }
    if (Is(msg, L"Combochaungkoumoshi")) {
        snapshot.windowStyle = list->GetCurSel();
        auto* resolutions = Find<CComboUI>(L"Combofenbianlv");
        if (snapshot.windowStyle == 2) {
            if (resolutions) {
                resolutions->SetEnabled(false);
                resolutions->SelectItem(-1, false);
            }
            snapshot.resolutionSelection = -1;
            SetCustomSizeEdits(false, true);
        } else {
            if (resolutions) {
                resolutions->SetEnabled(true);
                // Raises the resolution list's own "itemselect" first.
                resolutions->SelectItem(file_.ReadNumber(settings::kResolution), false);
            }
            snapshot.resolutionSelection = file_.ReadNumber(settings::kResolution);
            if (snapshot.resolutionSelection == 5) {
                snapshot.customWidth = file_.ReadText(settings::kCustomWidth);
                snapshot.customHeight = file_.ReadText(settings::kCustomHeight);
                if (auto* width = Find<CControlUI>(L"Editkuan")) width->SetText(snapshot.customWidth.c_str());
                if (auto* height = Find<CControlUI>(L"Editgao")) height->SetText(snapshot.customHeight.c_str());
            }
        }
        file_.WriteNumber(settings::kWindowsStyle, snapshot.windowStyle);
        return true;
    }
    return false;
}

bool SettingsPage::OnTextChanged(TNotifyUI& msg) {
    if (!msg.pSender) return false;
    auto& snapshot = snapshot_;
    const std::wstring text = msg.pSender->GetText().GetData();
    if (Is(msg, L"Editkuan")) {
        snapshot.customWidth = text;
        file_.WriteText(settings::kCustomWidth, text);
        return true;
    }
    if (Is(msg, L"Editgao")) {
        snapshot.customHeight = text;
        file_.WriteText(settings::kCustomHeight, text);
        return true;
    }
    return false;
}

void LoadSavedResolution(const settings::SettingsFile& file, settings::SettingsSnapshot& snapshot) {
    snapshot.windowStyle = file.ReadNumber(settings::kWindowsStyle);
    const int resolution = file.ReadNumber(settings::kResolution);
    if (resolution >= 1 && resolution <= 5) snapshot.resolutionSelection = resolution;
    if (snapshot.windowStyle != 2 && snapshot.resolutionSelection == 5) {
        snapshot.customWidth = file.ReadText(settings::kCustomWidth);
        snapshot.customHeight = file.ReadText(settings::kCustomHeight);
    }
}

void SettingsPage::LoadDetailedSettings() {
    auto& snapshot = snapshot_;
    ShowMemoryBlock(snapshot.startModeEnabled != 0);

    snapshot.windowStyle = file_.ReadNumber(settings::kWindowsStyle);
    if (snapshot.windowStyle >= 1 && snapshot.windowStyle <= 3) {
        if (auto* modes = Find<CComboUI>(L"Combochaungkoumoshi")) modes->SelectItem(snapshot.windowStyle, false);
    }
    const int resolution = file_.ReadNumber(settings::kResolution);
    if (resolution >= 1 && resolution <= 5) {
        snapshot.resolutionSelection = resolution;
        if (auto* resolutions = Find<CComboUI>(L"Combofenbianlv")) resolutions->SelectItem(resolution, false);
    }

    SetCustomSizeEdits(false, false);
    if (snapshot.windowStyle != 2 && snapshot.resolutionSelection == 5) {
        SetCustomSizeEdits(true, false);
        snapshot.customWidth = file_.ReadText(settings::kCustomWidth);
        snapshot.customHeight = file_.ReadText(settings::kCustomHeight);
        if (auto* width = Find<CControlUI>(L"Editkuan")) width->SetText(snapshot.customWidth.c_str());
        if (auto* height = Find<CControlUI>(L"Editgao")) height->SetText(snapshot.customHeight.c_str());
    }
}

void SettingsPage::ApplySavedSettings() {
    auto& snapshot = snapshot_;
    g_function->SetGameFolder(file_.ReadText(settings::kGamePath));

    struct SavedBox {
        SettingKey key;
        int settings::SettingsSnapshot::*field;
        const wchar_t* control;
    };
    const SavedBox kGameBoxes[] = {
        {settings::kStartMode, &settings::SettingsSnapshot::startModeEnabled, L"UIStartMode"},
        {settings::kSightview, &settings::SettingsSnapshot::sightview, L"UICheckShiju"},
        {settings::kNoSound, &settings::SettingsSnapshot::noSound, L"UICheckJinYin"},
    };
    auto apply = [&](const SavedBox& box) {
        snapshot.*box.field = file_.ReadNumber(box.key);
        if (snapshot.*box.field != 0) {
            if (auto* check = Find<CCheckBoxUI>(box.control)) check->SetCheck(true);
        }
    };
    for (const SavedBox& box : kGameBoxes) {
        apply(box);
        if (snapshot.*box.field != 0) SetGameBoxes(box.control, true);
    }

    snapshot.memoryTier = file_.ReadNumber(settings::kStartModel);
    if (auto* slider = Find<CSliderUI>(L"Slideryouhuajiasu")) slider->SetValue(snapshot.memoryTier);
    SetTierLabel(SavedTierText(snapshot.memoryTier));

    snapshot.lodLevel = file_.ReadNumber(settings::kLodLevel);
    if (auto* slider = Find<CSliderUI>(L"Sliderhuanjingxijie")) slider->SetValue(snapshot.lodLevel);
    snapshot.fightLevel = file_.ReadNumber(settings::kFightLevel);
    if (auto* slider = Find<CSliderUI>(L"Sliderzhandouxijie")) slider->SetValue(snapshot.fightLevel);

    const SavedBox kEffectBoxes[] = {
        {settings::kMusicMute, &settings::SettingsSnapshot::musicMute, L"CheckBoxbeijingyinyue"},
        {settings::kAmbianceSoundsMute, &settings::SettingsSnapshot::ambianceSoundsMute, L"CheckBoxhuanjingyinxiao"},
        {settings::kUiSoundsMute, &settings::SettingsSnapshot::uiSoundsMute, L"CheckBoxjiemianyinxiao"},
        {settings::kMeteoEffect, &settings::SettingsSnapshot::meteoEffect, L"CheckBoxTianQinXiaoGuo"},
        {settings::kShaders, &settings::SettingsSnapshot::shaders, L"CheckBoxHouQiChuLi"},
        {settings::kAlphaMask, &settings::SettingsSnapshot::alphaMask, L"CheckBoxQiangTiHouJueSe"},
    };
    for (const SavedBox& box : kEffectBoxes) apply(box);

    // The resolution choice is shown when the detailed page opens, but a start from the
    // home page must already use the saved one, not an empty entry.
    LoadSavedResolution(file_, snapshot);
}
