#include "launcher/ui/tier_texts.h"

const wchar_t* SavedTierText(int tier) {
    switch (tier) {
        case 0: return L"适合8G及以下内存的电脑使用,占用内存约500M";
        case 1: return L"适合8G-16G内存的电脑使用,占用内存约1.1G至1.2G";
        case 2: return L"适合16G及以上内存的电脑使用,占用内存约1.5G";
        default: return nullptr;
    }
}

const wchar_t* SliderTierText(int tier) {
    switch (tier) {
        case 0: return L"适合8G及以下内存的电脑使用,占用内存约500M。";
        case 1: return L"适合8G至16G内存的电脑使用,占用内存约1.1G至1.2G";
        case 2: return L"适合16G及以上内存的电脑使用,占用内存约1.5G。";
        default: return nullptr;
    }
}
