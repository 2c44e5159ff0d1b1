// Stands in for Velmora.exe in restart tests: records that it ran, in its own folder.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    wchar_t* slash = wcsrchr(path, L'\\');
    if (slash == nullptr) return 1;
    wcscpy(slash + 1, L"launcher-ran.txt");
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, "ran", 3, &written, nullptr);
    CloseHandle(file);
    return 0;
}
