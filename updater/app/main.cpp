// Entry point of Updater.exe. The updater reads no command line.
#include <windows.h>

#include "updater/app/my_update_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    theApp.InitInstance();
    return 0;
}
