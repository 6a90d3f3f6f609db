// Where the game's windows go on the screen: centred, or in the top-right corner.
#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

QPoint CentredPosition(QSize size, const QRect &screen)
{
    return {screen.x() + (screen.width() - size.width()) / 2,
            screen.y() + (screen.height() - size.height()) / 2};
}

QPoint TopRightPosition(QSize size, const QRect &screen, int margin)
{
    return {screen.x() + screen.width() - size.width() - margin, screen.y() + margin};
}

QRect PlacementScreen()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}
