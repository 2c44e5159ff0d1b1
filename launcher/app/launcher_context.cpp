#include "launcher/app/launcher_context.h"

#include "launcher/game/server_base.h"

LauncherContext::LauncherContext(ProgramFolder programFolder)
    : folder(std::move(programFolder)),
      log(folder.WithSlash() + L"log"),
      function(folder.Path()),
      serverBase(ReadServerBaseText(folder.Path())),
      logScope_(log),
      functionScope_(function) {}
