#include "launcher/game/game_locations.h"

#include "launcher/game/game_folder.h"

GameLocations CurrentGameLocations() {
    GameLocations where;
    if (!g_function) return where;
    where.gameFolder = g_function->GetGameFolder();
    where.localAppDataFolder = g_function->GetLocalAppDataFolder();
    where.userName = g_function->GetCurrentUserName();
    return where;
}
