#pragma once
// Colour values as the pane's document and the canvas hold them: 32-bit
// values with red in the low byte (0x00BBGGRR), flags in the high byte. A
// system colour is a name (window, button face, ...) that the canvas resolves
// from its palette when it draws, so a page follows the desktop's theme.
#include <cstdint>

namespace quillet {

using TColor = uint32_t;

// Marks a colour to be drawn as the nearest colour of the display; every
// display counts as 24-bit here, so the flag is kept but changes nothing.
constexpr TColor kPaletteRelative = 0x02000000;
// Set on the named system colours below; the low byte is the colour's index.
constexpr TColor kSystemColorFlag = 0x80000000;

constexpr TColor clWindow = kSystemColorFlag | 5;
constexpr TColor clWindowText = kSystemColorFlag | 8;
constexpr TColor clBtnFace = kSystemColorFlag | 15;
constexpr TColor clBtnShadow = kSystemColorFlag | 16;
constexpr TColor clBtnText = kSystemColorFlag | 18;
constexpr TColor clBtnHighlight = kSystemColorFlag | 20;
// The desktop's colour for links.
constexpr TColor clHotLight = kSystemColorFlag | 26;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWhite = 0xFFFFFF;

constexpr TColor RgbColor(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
constexpr bool IsSystemColor(TColor c) { return (c & kSystemColorFlag) != 0; }

// The system colours a canvas resolves named colours with. The defaults are
// the fixed light palette of rendered pictures and tests, so they do not
// depend on the desktop.
struct SystemPalette {
  TColor Window = clWhite;
  TColor WindowText = clBlack;
  TColor BtnFace = RgbColor(0xF0, 0xF0, 0xF0);
  TColor BtnText = clBlack;
  TColor BtnShadow = RgbColor(0xA0, 0xA0, 0xA0);
  TColor BtnHighlight = clWhite;
  TColor HotLight = clBlue;

  // The plain 0x00BBGGRR value of a colour: system colours looked up by
  // their index (an unknown one is black), flags dropped. Looking up the
  // index, not the whole value, keeps a system colour that also carries the
  // palette-relative flag (the pane's default text colour) resolving.
  TColor Resolve(TColor c) const {
    if (!IsSystemColor(c)) return c & 0x00FFFFFF;
    switch (kSystemColorFlag | (c & 0xFF)) {
      case clWindow: return Window & 0x00FFFFFF;
      case clWindowText: return WindowText & 0x00FFFFFF;
      case clBtnFace: return BtnFace & 0x00FFFFFF;
      case clBtnShadow: return BtnShadow & 0x00FFFFFF;
      case clBtnText: return BtnText & 0x00FFFFFF;
      case clBtnHighlight: return BtnHighlight & 0x00FFFFFF;
      case clHotLight: return HotLight & 0x00FFFFFF;
      default: return clBlack;
    }
  }
};

}  // namespace quillet
