// The launcher's own window messages; their values are fixed (UM_GAMEENDED comes
// from another process).
#pragma once

#include <windows.h>

inline constexpr UINT UM_TRAYICON = 0x401;
inline constexpr UINT UM_STARTGAME = 0x402;
inline constexpr UINT UM_OPENSITE = 0x403;
inline constexpr UINT UM_OPENFEEDBACK = 0x404;
inline constexpr UINT UM_FINDPATH = 0x40A;
inline constexpr UINT UM_ABOUT = 0x40B;
inline constexpr UINT UM_OPENPORTAL = 0x40F;
inline constexpr UINT UM_GAMEENDED = 0xA553;
