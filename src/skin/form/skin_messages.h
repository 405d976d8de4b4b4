#pragma once
// The skin engine's private window messages (sent and posted within the
// program only) and the platform version the skin engine adapts to.

#include <cstdint>

enum : unsigned {
    WM_SKINRECOLOR = 0x3401,
    WM_SKINNCPAINT = 0x3502,
    WM_SKINSTART = 0x3503,
    WM_SKINENABLE = 0x3506,
    WM_SKINCONTROL = 0x3507,  // sent by control skinners; the form has no handler
    WM_SKINBUTTONACTION = 0x3514,
    WM_SKINBUTTONVISIBLE = 0x3515,
    WM_SKINMDIREDRAW = 0x3516,
    WM_SKINSCROLLFIX = 0x3517,
    WM_SKINMENUCLICK = 0x3518,
    WM_SKINQUERY = 0x3523,
    // With lParam kSkinMagic: paint the frame on the DC in wParam.
    WM_SKINPAINTDC = 0xBC4B,
    // With lParam kSkinMagic: answers kSkinMagic (the window is skinned).
    WM_SKINISSKINNED = 0xBC4D,
    // Sent by a form to itself once its skinning is finished.
    WM_SKINDONE = 0xBC4E,
};
constexpr intptr_t kSkinMagic = 0x41A2;

// Our platform answers as Windows NT 5.1. Low byte the major version, next byte
// the minor one, high bit set on a non-NT system. On 5.1 a skinned window keeps
// WS_CAPTION (only WS_SYSMENU goes while its frame is painted); the window
// manager's frame is taken off by the skinned-frame switch instead.
constexpr uint32_t kSkinPlatformVersion = 0x00000105u;
inline uint32_t GetVersion() { return kSkinPlatformVersion; }
constexpr bool VersionIsNT(uint32_t v) { return (v & 0x80000000u) == 0; }
constexpr int VersionMajor(uint32_t v) { return static_cast<int>(v & 0xFF); }
constexpr int VersionMinor(uint32_t v) { return static_cast<int>((v >> 8) & 0xFF); }
