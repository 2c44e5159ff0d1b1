// Sink for the updater's English diagnostic texts.
//
// The texts (for instance "server unkonw error\n!") are for developers only: by
// default each one goes to the debugger output (OutputDebugStringW, visible with
// DebugView or WINEDEBUG=+debugstr) as "<folder>: <text>". Nothing is written into
// the updater folder, because every file there would become part of the local
// manifest. The sink is part of the UpdaterContext; tests give it a handler.
#pragma once

#include <functional>
#include <string>

class DiagnosticSink {
public:
    using Handler = std::function<void(const std::wstring& folder, const std::string& text)>;

    // Reports to the debugger output.
    DiagnosticSink() = default;
    // Reports to `handler` instead (an empty handler: the debugger output).
    explicit DiagnosticSink(Handler handler) : handler_(std::move(handler)) {}

    // Reports one diagnostic for the update of `folder`. Callable from any thread
    // (the handler must then be too).
    void Report(const std::wstring& folder, const std::string& text) const;

private:
    Handler handler_;
};

// The diagnostic for a failed request result (CHttpRequestResult other than OK).
std::string RequestFailureDiagnostic(int requestResult);
