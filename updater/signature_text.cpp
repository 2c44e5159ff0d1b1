#include "updater/signature_text.h"

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsLineSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::optional<std::array<std::uint8_t, 64>> ParseHex64(std::string_view text) {
    std::array<std::uint8_t, 64> bytes{};
    if (text.size() != bytes.size() * 2) return std::nullopt;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    return bytes;
}

std::optional<UpdatePublicKey> ParseUpdatePublicKey(std::string_view text) {
    const auto bytes = ParseHex64(text);
    if (!bytes) return std::nullopt;
    return UpdatePublicKey{*bytes};
}

std::optional<ManifestSignature> ParseManifestSignature(std::string_view body) {
    size_t end = body.size();
    while (end > 0 && IsLineSpace(body[end - 1])) --end;
    const auto bytes = ParseHex64(body.substr(0, end));
    if (!bytes) return std::nullopt;
    return ManifestSignature{*bytes};
}

ManifestTrust TrustFromKeyText(std::string_view keyText) {
    ManifestTrust trust;
    if (keyText.empty()) return trust;
    trust.required = true;
    trust.key = ParseUpdatePublicKey(keyText);
    return trust;
}
