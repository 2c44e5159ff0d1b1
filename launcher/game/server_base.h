// The server base text: the prefix of every update-server address, read once from
// SEWI.bin during static initialisation, before the launcher's entry point runs.
#pragma once

#include <string>

const std::wstring& ServerBaseText();
