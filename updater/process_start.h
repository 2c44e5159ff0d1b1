// Starting a program hidden, without waiting for it.
#pragma once

#include <string>

// Runs `command` (quoted as a whole) hidden at idle priority with the caller's
// environment and current directory; a batch file runs through the command
// interpreter. False when the process cannot be created. Never waits.
bool StartHiddenProcess(const std::wstring& command);

// The full path of the running executable, of any length; "Error" when it cannot be
// read.
std::wstring GetModulePath();
