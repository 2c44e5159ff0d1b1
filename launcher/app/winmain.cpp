// The launcher's entry point. Nothing may escape it.
#include <windows.h>

#include "launcher/app/launcher_main.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        return LauncherMain(instance);
    } catch (...) {
        return 0;
    }
}
