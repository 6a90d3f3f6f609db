// Contact sheets: each window composed as the player sees it, for the README and for reviewing the set.
#pragma once

#include "Catalogue.h"

#include <QImage>
#include <QString>
#include <utility>
#include <vector>

namespace painter {

class ContactSheets
{
public:
    ContactSheets(const Studio &studio, const Catalogue &catalogue);
    // Named sheets ("menu", "game", …), in the order the README shows them.
    const std::vector<std::pair<QString, QImage>> &sheets() const { return m_sheets; }

private:
    const Studio &m_studio;
    const Catalogue &m_catalogue;
    std::vector<std::pair<QString, QImage>> m_sheets;

    // The window picture cut to its outline with every control of the window on it.
    QImage window(const QString &name, const QString &visiblePanel,
                  const std::function<void(QPainter &)> &controls) const;
    void placeButtons(QPainter &p, const QString &window, const QString &visiblePanel,
                      const QStringList &disabled = {}, const QString &lit = {}, bool panelOnly = false) const;
    void placeStills(QPainter &p, const QString &window, const QString &visiblePanel) const;
    QImage menuSheet() const;
    QImage guidesSheet() const;
    QImage exampleSheet() const;
    QImage gameSheet() const;
    QImage resultsSheet() const;
    QImage buttonsSheet() const;
};

} // namespace painter
