// Stands in for Velmora.exe in the demo: the restart batch starts it after an update.
// It records that it ran (launcher-ran.txt in its folder) and says so in a message box,
// so that the demo's last screenshot shows the hand-over.
#include "tools/stub_game/run_mark.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    WriteRunMark();
    MessageBoxW(nullptr, L"更新完成，Velmora 启动器已由更新程序重新启动。", L"Velmora", MB_OK | MB_ICONINFORMATION);
    return 0;
}
