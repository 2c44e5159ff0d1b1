// What the memory-tier label says. The saved-settings texts and the slider texts
// differ slightly; each set is used in its own place.
#pragma once

// For tiers 0..2, else null (the label keeps its text).
const wchar_t* SavedTierText(int tier);
const wchar_t* SliderTierText(int tier);
