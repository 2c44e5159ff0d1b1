// Sink for the updater's English diagnostic texts.
//
// The texts (for instance "server unkonw error\n!") are for developers only: each one
// goes to the debugger output (OutputDebugStringW, visible with DebugView or
// WINEDEBUG=+debugstr) as "<folder>: <text>". Nothing is written into the updater
// folder, because every file there would become part of the local manifest.
#pragma once

#include <functional>
#include <string>

// Reports one diagnostic for the update of `folder`. Callable from any thread.
void Diagnose(const std::wstring& folder, const std::string& text);

// Replaces the sink (tests capture the texts); an empty function restores the
// debugger output. Not synchronised with Diagnose: set it before a run starts.
using DiagnosticSink = std::function<void(const std::wstring& folder, const std::string& text)>;
void SetDiagnosticSink(DiagnosticSink sink);

// The diagnostic for a failed request result (CHttpRequestResult other than OK).
std::string RequestFailureDiagnostic(int requestResult);
