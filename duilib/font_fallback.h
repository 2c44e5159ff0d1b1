// Font faces that exist: a layout may name a face the system lacks (a Chinese skin on
// a system without 微软雅黑 or 宋体), and a missing face must not mean missing text.
// The paint manager asks here before it makes a GDI or a GDI+ font.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace dui {

using FaceInstalled = std::function<bool(const std::wstring& face)>;

// `requested` when installed; otherwise the first installed face of `fallbacks`;
// otherwise `requested` unchanged (nothing better exists). An empty request counts
// as missing.
std::wstring ChooseFontFace(const std::wstring& requested, const FaceInstalled& installed,
                            const std::vector<std::wstring>& fallbacks);

// Whether GDI knows a family of that name (installed or mapped by the system).
bool IsFontFaceInstalled(const std::wstring& face);

// The faces to fall back to, best first: the system's default UI faces (the message
// font, then the default GUI font), then the first family that draws Chinese, then
// the first family at all.
std::vector<std::wstring> FallbackFontFaces();

// The face to create for `requested`, decided once per face and kept; a fallback is
// reported (once per face) to the reporter. User-interface thread.
std::wstring UsableFontFace(const std::wstring& requested);

// Receives (missing face, face used instead); null for none.
using FontFallbackReporter = void (*)(const std::wstring& missing, const std::wstring& used);
void SetFontFallbackReporter(FontFallbackReporter reporter);

// Forgets the decisions made so far; for tests that change what is installed.
void ResetFontFaceChoices();

}  // namespace dui
