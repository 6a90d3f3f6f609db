// Turns the layouts' colour values into Qt colours.
#include "ColorValue.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

QColor ColorFromValue(std::uint32_t value)
{
    if ((value & 0x80000000u) == 0)
        return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);

    const QPalette palette = QApplication::palette();
    switch (value) {
    case SystemColor::ButtonFace: return palette.color(QPalette::Button);
    case SystemColor::WindowText: return palette.color(QPalette::WindowText);
    case SystemColor::Window: return palette.color(QPalette::Base);
    case SystemColor::GrayText: return palette.color(QPalette::Disabled, QPalette::WindowText);
    case SystemColor::ButtonHighlight: return palette.color(QPalette::Light);
    case SystemColor::ButtonShadow: return palette.color(QPalette::Mid);
    case SystemColor::InfoBackground: return palette.color(QPalette::ToolTipBase);
    case SystemColor::InfoText: return palette.color(QPalette::ToolTipText);
    default: return Qt::black;
    }
}

void KeepLookWhenDisabled(QWidget *window)
{
    QPalette palette = window->palette();
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setBrush(QPalette::Disabled, r, palette.brush(QPalette::Active, r));
    }
    window->setPalette(palette);
}
