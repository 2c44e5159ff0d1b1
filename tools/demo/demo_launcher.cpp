// Stands in for Velmora.exe in the demo: the restart batch starts it after an update.
// It records that it ran (launcher-ran.txt in its folder) and says so in a message box,
// so that the demo's last screenshot shows the hand-over.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    wchar_t* slash = wcsrchr(path, L'\\');
    if (slash == nullptr) return 1;
    wcscpy(slash + 1, L"launcher-ran.txt");
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, "ran", 3, &written, nullptr);
        CloseHandle(file);
    }
    MessageBoxW(nullptr, L"更新完成，Velmora 启动器已由更新程序重新启动。", L"Velmora", MB_OK | MB_ICONINFORMATION);
    return 0;
}
