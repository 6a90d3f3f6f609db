// The pictures the windows load, written out from the windows' layouts: name, size and what lies behind each button.
#pragma once

#include <QColor>
#include <QPoint>
#include <QSize>
#include <QString>
#include <vector>

struct StillPicture {
    QString path;   // under :/pictures, without ".png"
    QSize size;
};

struct ButtonPictures {
    QString window;
    QString name;
    QSize size;
    QString behind;       // the picture the button lies on, or empty for a plain panel
    QPoint place;         // the button's place within that picture
    QColor panelColour;   // the panel's colour when nothing is painted behind the button
    bool ownDisabled;
};

inline const QColor menuPanelColour(187, 228, 170);
inline const QColor stopPanelColour(255, 201, 191);

inline std::vector<StillPicture> stillPictures()
{
    return {
        {"menu/background", {607, 479}}, {"preview/background", {359, 373}}, {"tips/background", {231, 292}},
        {"example/background", {440, 500}}, {"game/background", {587, 365}}, {"results/background", {290, 338}},
        {"menu/Image1", {317, 65}}, {"menu/Image5", {357, 58}}, {"menu/Image4", {270, 56}},
        {"menu/Image2", {309, 54}}, {"menu/Image3", {243, 54}},
        {"example/Image1", {192, 153}}, {"example/Image4", {193, 153}}, {"example/Image6", {192, 153}},
        {"example/Image2", {81, 26}}, {"example/Image3", {84, 27}}, {"example/Image5", {82, 25}},
        {"example/Image7", {233, 46}}, {"example/Image8", {142, 29}}, {"example/Image9", {200, 156}},
        {"game/panel", {380, 182}},
    };
}

inline std::vector<ButtonPictures> buttonPictures()
{
    const QColor none;
    return {
        {"menu", "ImageButton1", {72, 99}, "menu/background", {16, 8}, none, false},
        {"menu", "ImageButton4", {91, 103}, "menu/background", {8, 120}, none, false},
        {"menu", "ImageButton2", {78, 109}, "menu/background", {16, 240}, none, false},
        {"menu", "ImageButton3", {89, 91}, "menu/background", {8, 376}, none, false},
        {"menu", "ImageButton7", {156, 71}, "", {}, menuPanelColour, false},
        {"menu", "ImageButton8", {133, 69}, "", {}, menuPanelColour, false},
        {"menu", "ImageButton9", {173, 82}, "", {}, menuPanelColour, false},
        {"menu", "ImageButton10", {175, 76}, "", {}, menuPanelColour, false},
        {"menu", "ImageButton5", {102, 65}, "", {}, menuPanelColour, false},
        {"menu", "ImageButton6", {108, 67}, "", {}, menuPanelColour, false},
        {"preview", "ImageButton1", {100, 52}, "preview/background", {240, 309}, none, false},
        {"tips", "ImageButton1", {97, 58}, "tips/background", {120, 224}, none, false},
        {"example", "ImageButton3", {129, 62}, "example/background", {24, 432}, none, false},
        {"example", "ImageButton4", {118, 65}, "", {}, stopPanelColour, false},
        {"example", "ImageButton2", {121, 57}, "example/background", {168, 436}, none, false},
        {"example", "ImageButton1", {109, 63}, "example/background", {301, 426}, none, false},
        {"game", "ImageButton7", {130, 44}, "game/background", {416, 112}, none, true},
        {"game", "ImageButton1", {130, 44}, "game/background", {416, 160}, none, true},
        {"game", "ImageButton3", {130, 44}, "game/background", {416, 208}, none, true},
        {"game", "ImageButton8", {130, 44}, "game/background", {416, 256}, none, true},
        {"game", "ImageButton2", {130, 44}, "game/background", {416, 304}, none, true},
        {"game", "ImageButton4", {97, 58}, "game/panel", {267, 109}, none, false},
        {"game", "ImageButton5", {101, 65}, "game/panel", {128, 96}, none, false},
        {"game", "ImageButton6", {104, 59}, "game/panel", {248, 101}, none, false},
        {"results", "ImageButton1", {88, 44}, "results/background", {191, 287}, none, false},
        {"results", "ImageButton2", {161, 44}, "results/background", {8, 288}, none, true},
    };
}

// Every picture path of a button: normal, lit, pressed and, where it has one, disabled.
inline QStringList buttonPicturePaths(const ButtonPictures &button)
{
    const QString base = button.window + "/" + button.name;
    QStringList paths = {base, base + "_over", base + "_down"};
    if (button.ownDisabled)
        paths << base + "_disabled";
    return paths;
}
