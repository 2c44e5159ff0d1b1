// The update log as the multi-line log box can show it.
#pragma once

#include <string>

// A multi-line edit control breaks lines only at CR LF: a line feed without a CR
// before it gets one. Lines that already end in CR LF are left as they are.
std::wstring LogBoxText(const std::wstring& log);
