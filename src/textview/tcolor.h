#pragma once

#include <QColor>
#include <QPalette>
#include <QtGlobal>

// A colour as the windows, dialogs and settings file hold it: 0x00BBGGRR for a plain colour,
// 0x80000000 + n for system colour n (resolved against the palette when drawing).
using TColor = qint32;

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clFuchsia = 0xFF00FF;

constexpr TColor clWindow = TColor(0x80000005u);
constexpr TColor clWindowText = TColor(0x80000008u);
constexpr TColor clHighlight = TColor(0x8000000Du);
constexpr TColor clHighlightText = TColor(0x8000000Eu);
constexpr TColor clBtnFace = TColor(0x8000000Fu);

constexpr bool isSystemColor(TColor color)
{
    return (quint32(color) & 0xFF000000u) == 0x80000000u;
}

// The palette role that stands in for a system colour; the desktop's own colours come through
// the widget's palette rather than a fixed table.
inline QPalette::ColorRole systemColorRole(TColor color)
{
    switch (quint32(color) & 0xFFu) {
    case 4: // menu
    case 5: // window
        return QPalette::Base;
    case 7: // menu text
    case 8: // window text
        return QPalette::WindowText;
    case 13:
        return QPalette::Highlight;
    case 14:
        return QPalette::HighlightedText;
    case 15: // button face
        return QPalette::Button;
    case 16: // button shadow
        return QPalette::Mid;
    case 18: // button text
        return QPalette::ButtonText;
    case 20: // button highlight
        return QPalette::Light;
    case 21: // dark shadow
        return QPalette::Shadow;
    case 22: // light 3D
        return QPalette::Midlight;
    case 23: // tool tip text
        return QPalette::ToolTipText;
    case 24: // tool tip background
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}

// clNone has no colour: an invalid QColor, which callers take as "draw nothing".
inline QColor toQColor(TColor color, const QPalette &palette)
{
    if (color == clNone)
        return QColor();
    if (isSystemColor(color))
        return palette.color(systemColorRole(color));
    const auto value = quint32(color);
    return QColor(int(value & 0xFFu), int((value >> 8) & 0xFFu), int((value >> 16) & 0xFFu));
}

inline TColor fromQColor(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return TColor(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}
