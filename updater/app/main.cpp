// Entry point of Updater.exe. The updater reads no command line.
#include <windows.h>

#include <memory>

#include "updater/app/my_update_app.h"
#include "updater/app/update_key.h"
#include "updater/updater_context.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Built once here and shared with the dialog and its workers (see UpdaterContext).
    auto context = std::make_shared<UpdaterContext>();
    context->manifestTrust = BuiltInManifestTrust();
    theApp.InitInstance(std::move(context));
    return 0;
}
