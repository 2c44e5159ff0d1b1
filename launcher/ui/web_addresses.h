// The web pages the launcher opens in the browser; built in per deployment.
#pragma once

namespace web {

const wchar_t* OfficialSite();   // site root
const wchar_t* FeedbackPage();   // the suggestion form for this game
const wchar_t* PortalPage();     // the company portal, tagged with this launcher
const wchar_t* DatabasePage();   // the game database site

// Opens `url` with the shell's "open" verb (or hands it to the opener set below).
void Open(const wchar_t* url, int showCommand);

// Replaces the shell for Open; null restores it. Tests record the addresses instead
// of starting a browser.
using Opener = void (*)(const wchar_t* url, int showCommand);
void SetOpener(Opener opener);

}  // namespace web
