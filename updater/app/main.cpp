// Entry point of Updater.exe. The updater reads no command line.
#include <windows.h>

#include <memory>
#include <string>

#include "updater/app/folder_instance.h"
#include "updater/app/my_update_app.h"
#include "updater/app/update_key.h"
#include "updater/process_start.h"
#include "updater/update_paths.h"
#include "updater/updater_context.h"

namespace {

// The updater folder: the module path cut before its last backslash, in the
// extended-length form so that a deep folder and the long names below it work.
std::wstring UpdaterFolder() {
    const std::wstring path = GetModulePath();
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? std::wstring() : ExtendedLengthPath(path.substr(0, slash));
}

int Run() {
    const std::wstring folder = UpdaterFolder();
    FolderInstance instance;  // held until the program ends
    if (!instance.Acquire(folder)) {
        BringFolderDialogToFront(folder, 5000);
        return 0;
    }
    // Built once here and shared with the dialog and its workers (see UpdaterContext).
    auto context = std::make_shared<UpdaterContext>();
    context->manifestTrust = BuiltInManifestTrust();
    theApp.InitInstance(std::move(context), folder);
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Nothing may leave the entry, whatever it is.
    try {
        return Run();
    } catch (...) {
        return 1;
    }
}
