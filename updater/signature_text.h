// The text forms of the update key and of the manifest signature, and what a build
// demands of the server manifest. Plain values only: no Win32 here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The publisher's ECDSA P-256 public key: the point X then Y, 32 bytes each, big-endian.
struct UpdatePublicKey {
    std::array<std::uint8_t, 64> point{};
};

// An ECDSA P-256 signature: r then s, 32 bytes each, big-endian.
struct ManifestSignature {
    std::array<std::uint8_t, 64> rs{};
};

// Exactly 128 hexadecimal characters (either case) into 64 bytes; nullopt for any
// other length or a non-hexadecimal character.
std::optional<std::array<std::uint8_t, 64>> ParseHex64(std::string_view text);

// The key as configured for the build: exactly 128 hexadecimal characters.
std::optional<UpdatePublicKey> ParseUpdatePublicKey(std::string_view text);

// The body of "UpDate.ini.sig": 128 hexadecimal characters, optionally followed by
// spaces, tabs, CR or LF (an editor's line end). Anything else is malformed.
std::optional<ManifestSignature> ParseManifestSignature(std::string_view body);

// What the updater demands of the server manifest.
struct ManifestTrust {
    // A key is built in: a manifest without a valid signature is refused.
    bool required = false;
    // The key; empty while `required` means the built-in key text is unusable, and
    // then no manifest is accepted at all (never a silent fall-back to unsigned).
    std::optional<UpdatePublicKey> key;
};

// The trust of a build from its configured key text: "" → nothing required.
ManifestTrust TrustFromKeyText(std::string_view keyText);
