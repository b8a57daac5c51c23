// The Win32 window-message and virtual-key numbers that the portable engine
// needs, so that it never has to include <windows.h>.
#pragma once

#include <cstdint>

// Window messages.
constexpr uint32_t kWmClose = 0x0010;
constexpr uint32_t kWmKeyDown = 0x0100;
constexpr uint32_t kWmKeyUp = 0x0101;

// RenderTick: posted by a frame-loop window to itself, both parameters all ones.
constexpr uint32_t kRenderTick = 0x1D03;
constexpr uintptr_t kRenderTickParam = 0xFFFFFFFFu;

// Virtual keys.
namespace vk {
constexpr uintptr_t Back = 0x08;
constexpr uintptr_t Return = 0x0D;
constexpr uintptr_t Shift = 0x10;
constexpr uintptr_t Control = 0x11;
constexpr uintptr_t Escape = 0x1B;
constexpr uintptr_t Space = 0x20;
constexpr uintptr_t Prior = 0x21;  // Page Up
constexpr uintptr_t Next = 0x22;   // Page Down
constexpr uintptr_t Home = 0x24;
constexpr uintptr_t Left = 0x25;
constexpr uintptr_t Up = 0x26;
constexpr uintptr_t Right = 0x27;
constexpr uintptr_t Down = 0x28;
constexpr uintptr_t Numpad0 = 0x60;
constexpr uintptr_t Numpad2 = 0x62;
constexpr uintptr_t Numpad3 = 0x63;
constexpr uintptr_t Numpad4 = 0x64;
constexpr uintptr_t Numpad5 = 0x65;
constexpr uintptr_t Numpad6 = 0x66;
constexpr uintptr_t Numpad8 = 0x68;
constexpr uintptr_t Numpad9 = 0x69;
constexpr uintptr_t F1 = 0x70;
constexpr uintptr_t F2 = 0x71;
constexpr uintptr_t F3 = 0x72;
constexpr uintptr_t F4 = 0x73;
constexpr uintptr_t F5 = 0x74;
constexpr uintptr_t F6 = 0x75;
constexpr uintptr_t F7 = 0x76;
constexpr uintptr_t F8 = 0x77;
constexpr uintptr_t F9 = 0x78;
constexpr uintptr_t F11 = 0x7A;
constexpr uintptr_t F12 = 0x7B;
}  // namespace vk
