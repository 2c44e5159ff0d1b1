// Stands in for Velmora.exe in restart tests: records that it ran, in its own folder.
#include "tools/stub_game/run_mark.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return WriteRunMark() ? 0 : 1; }
