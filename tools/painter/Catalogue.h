// Every picture the game loads, with its size and how it is drawn, and where each one sits in its window.
#pragma once

#include "Studio.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>
#include <functional>
#include <map>
#include <vector>

namespace painter {

struct PictureJob {
    QString path;   // "<window>/<name>", without ".png"
    QSize size;     // logical pixels
    std::function<void(QPainter &)> draw;
};

// A picture button as it sits in its window: what it shows and what lies behind it.
struct ButtonPlan {
    QString window;
    QString name;
    QSize size;
    QPoint windowPos;          // top-left in window coordinates
    QString panel;             // parent panel, empty when on the window itself
    QString backdropPicture;   // picture behind it ("<window>/background", "game/panel"), or empty
    QPoint backdropPos;        // its place within that picture
    QColor backdropColour;     // used when there is no picture behind it
    ButtonLook look;
    bool ownDisabled = false;  // has a greyed picture of its own
};

// A still picture inside a window or panel.
struct StillPlan {
    QString path;
    QPoint windowPos;
    QString panel;
};

class Catalogue
{
public:
    explicit Catalogue(const Studio &studio);

    const std::vector<PictureJob> &jobs() const { return m_jobs; }
    const std::vector<ButtonPlan> &buttons() const { return m_buttons; }
    const std::vector<StillPlan> &stills() const { return m_stills; }

    // The picture drawn at the given scale (1 or 2); remembered, since buttons crop window pictures.
    const QImage &render(const QString &path, int scale) const;

private:
    const Studio &m_studio;
    std::vector<PictureJob> m_jobs;
    std::vector<ButtonPlan> m_buttons;
    std::vector<StillPlan> m_stills;
    mutable std::map<std::pair<QString, int>, QImage> m_rendered;

    void add(const QString &path, QSize size, std::function<void(QPainter &)> draw);
    void addButton(ButtonPlan plan);
    void addMenu();
    void addPreview();
    void addTips();
    void addExample();
    void addGame();
    void addResults();
};

} // namespace painter
