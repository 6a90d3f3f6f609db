// Every picture the game loads: the six window pictures, the still pictures and the picture buttons.
#include "Catalogue.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <stdexcept>

namespace painter {

namespace {

using Kinds = std::array<std::array<Cell, 9>, 9>;

const PaneStyle menuPane{paper::menu, QColor(46, 110, 40), QColor(226, 246, 216)};
const PaneStyle previewPane{paper::preview, QColor(176, 128, 14), QColor(255, 250, 214)};
const PaneStyle tipsPane{paper::tips, QColor(30, 92, 168), QColor(226, 246, 255)};
const PaneStyle examplePane{paper::example, QColor(178, 34, 34), QColor(255, 232, 226)};
const PaneStyle gamePane{paper::game, QColor(16, 80, 170), QColor(226, 246, 255)};
const PaneStyle resultsPane{paper::results, QColor(170, 120, 10), QColor(255, 252, 236)};

QRectF full(QSize size)
{
    return QRectF(QPointF(0, 0), QSizeF(size));
}

Kinds kindsOf(const Grid &givens, std::initializer_list<const std::vector<StepEntry> *> steps, Grid &digits)
{
    Kinds kinds{};
    digits = givens;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c)
            kinds[r][c] = givens[r][c] != 0 ? Cell::Given : Cell::Empty;
    for (const auto *entries : steps) {
        for (const StepEntry &e : *entries) {
            digits[e.row - 1][e.col - 1] = e.value;
            kinds[e.row - 1][e.col - 1] = Cell::Entered;
        }
    }
    return kinds;
}

// A groove across a pane: a dark line with a light one under it.
void groove(QPainter &p, QPointF from, QPointF to, const QColor &dark)
{
    p.save();
    QColor d = dark;
    d.setAlpha(110);
    p.setPen(QPen(d, 1));
    p.drawLine(from, to);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.drawLine(from + QPointF(0, 1), to + QPointF(0, 1));
    p.restore();
}

// A thin ornamental rule with a diamond in its middle.
void ornament(QPainter &p, qreal left, qreal right, qreal y, const QColor &colour)
{
    p.save();
    const qreal mid = (left + right) / 2;
    QLinearGradient fade(QPointF(left, y), QPointF(right, y));
    QColor clear = colour;
    clear.setAlpha(0);
    fade.setColorAt(0, clear);
    fade.setColorAt(0.5, colour);
    fade.setColorAt(1, clear);
    p.setPen(QPen(QBrush(fade), 1.2));
    p.drawLine(QPointF(left, y), QPointF(mid - 9, y));
    p.drawLine(QPointF(mid + 9, y), QPointF(right, y));
    QPainterPath diamond;
    diamond.moveTo(mid, y - 5);
    diamond.lineTo(mid + 6, y);
    diamond.lineTo(mid, y + 5);
    diamond.lineTo(mid - 6, y);
    diamond.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(diamond);
    p.restore();
}

} // namespace

Catalogue::Catalogue(const Studio &studio) : m_studio(studio)
{
    const std::string fault = sampleDiagramFault();
    if (!fault.empty())
        throw std::logic_error("sample diagram: " + fault);
    addMenu();
    addPreview();
    addTips();
    addExample();
    addGame();
    addResults();
}

void Catalogue::add(const QString &path, QSize size, std::function<void(QPainter &)> draw)
{
    m_jobs.push_back({path, size, std::move(draw)});
}

const QImage &Catalogue::render(const QString &path, int scale) const
{
    const auto key = std::make_pair(path, scale);
    auto found = m_rendered.find(key);
    if (found != m_rendered.end())
        return found->second;
    for (const PictureJob &job : m_jobs) {
        if (job.path != path)
            continue;
        QImage image(job.size * scale, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
            p.scale(scale, scale);
            job.draw(p);
        }
        return m_rendered.emplace(key, std::move(image)).first->second;
    }
    throw std::invalid_argument("no picture " + path.toStdString());
}

void Catalogue::addButton(ButtonPlan plan)
{
    m_buttons.push_back(plan);
    const std::pair<ButtonState, QString> states[] = {
        {ButtonState::Normal, ""}, {ButtonState::Over, "_over"}, {ButtonState::Down, "_down"},
        {ButtonState::Disabled, "_disabled"}};
    for (const auto &[state, suffix] : states) {
        if (state == ButtonState::Disabled && !plan.ownDisabled)
            continue;
        add(plan.window + "/" + plan.name + suffix, plan.size, [this, plan, state = state](QPainter &p) {
            if (plan.backdropPicture.isEmpty()) {
                p.fillRect(full(plan.size), plan.backdropColour);
            } else {
                // Pictures are drawn opaque, so the button carries the piece of window behind it.
                const int scale = qRound(deviceScale(p));
                const QImage &behind = render(plan.backdropPicture, scale);
                const QImage crop = behind.copy(QRect(plan.backdropPos * scale, plan.size * scale));
                p.save();
                p.resetTransform();
                p.drawImage(0, 0, crop);
                p.restore();
            }
            m_studio.drawButton(p, QSizeF(plan.size), plan.look, state);
        });
    }
}

// ---------------------------------------------------------------- main menu

void Catalogue::addMenu()
{
    const Outline &outline = outlineOf("menu");
    add("menu/background", QSize(607, 479), [this, &outline](QPainter &p) {
        m_studio.drawPane(p, outline, menuPane);
        // Grooves between the four column buttons.
        for (qreal y : {113.0, 231.0, 362.0})
            groove(p, QPointF(14, y), QPointF(93, y), menuPane.rim);
        // A rule between the introduction and the panels.
        ornament(p, 150, 580, 190, QColor(46, 110, 40, 200));
        // Before the player picks a panel its place shows a faint diagram; every panel covers it.
        {
            p.save();
            const QRectF area(136, 208, 457, 257);
            QRadialGradient glow(area.center(), 126);
            glow.setColorAt(0, QColor(255, 255, 255, 90));
            glow.setColorAt(1, QColor(255, 255, 255, 0));
            p.fillRect(area, glow);
            const qreal cell = 25;
            const QRectF grid(area.center().x() - 4.5 * cell, area.center().y() - 4.5 * cell, 9 * cell, 9 * cell);
            const QColor line(46, 110, 40, 45);
            const QColor boxLine(46, 110, 40, 85);
            for (int i = 0; i <= 9; ++i) {
                p.setPen(QPen(i % 3 == 0 ? boxLine : line, i % 3 == 0 ? 2 : 1));
                p.drawLine(QPointF(grid.left() + i * cell, grid.top()), QPointF(grid.left() + i * cell, grid.bottom()));
                p.drawLine(QPointF(grid.left(), grid.top() + i * cell), QPointF(grid.right(), grid.top() + i * cell));
            }
            p.setFont(Studio::font(Studio::serif(), 17, true));
            p.setPen(QColor(46, 110, 40, 80));
            const Grid &givens = sampleGivens();
            for (int r = 0; r < 9; ++r)
                for (int c = 0; c < 9; ++c)
                    if (givens[r][c] != 0)
                        p.drawText(QRectF(grid.left() + c * cell, grid.top() + r * cell + 0.5, cell, cell),
                                   Qt::AlignCenter, QString::number(givens[r][c]));
            p.restore();
        }
        // A small diagram box beside the introduction, a hint of what the game is.
        const QRectF box(526, 96, 66, 66);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 40));
        p.drawRoundedRect(box.translated(2.5, 2.5), 3, 3);
        p.restore();
        Grid digits{};
        Kinds kinds{};
        const int sample[3][3] = {{5, 3, 8}, {1, 9, 4}, {7, 2, 6}};
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                digits[r][c] = sample[r][c];
                kinds[r][c] = (r + c) % 2 == 0 ? Cell::Given : Cell::Entered;
            }
        }
        p.save();
        p.fillRect(box, QColor(40, 60, 110));
        p.fillRect(box.adjusted(2, 2, -2, -2), Qt::white);
        p.setPen(QPen(QColor(150, 170, 205), 1));
        for (int i = 1; i < 3; ++i) {
            p.drawLine(QPointF(box.left() + 2 + i * 20.67, box.top() + 2), QPointF(box.left() + 2 + i * 20.67, box.bottom() - 2));
            p.drawLine(QPointF(box.left() + 2, box.top() + 2 + i * 20.67), QPointF(box.right() - 2, box.top() + 2 + i * 20.67));
        }
        p.setFont(Studio::font(Studio::serif(), 16, true));
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                p.setPen(kinds[r][c] == Cell::Given ? ink::gameBlue : ink::black);
                p.drawText(QRectF(box.left() + 2 + c * 20.67, box.top() + 2.5 + r * 20.67, 20.67, 20.67),
                           Qt::AlignCenter, QString::number(digits[r][c]));
            }
        }
        p.restore();
    });

    m_stills.push_back({"menu/Image1", {192, 8}, ""});
    add("menu/Image1", QSize(317, 65), [this](QPainter &p) {
        p.fillRect(QRectF(0, 0, 317, 65), paper::menu);
        m_studio.drawHeading(p, QRectF(0, 0, 317, 65), {"SUDOKU"}, ink::green, paper::menu);
    });
    const struct {
        const char *name;
        QSize size;
        QPoint pos;
        const char *panel;
        const char *text;
        QColor colour;
    } headings[] = {
        {"Image5", {357, 58}, {40, 16}, "PanelOpis", "Jak grać ???", ink::red},
        {"Image4", {270, 56}, {96, 16}, "PanelNew", "Nowa gra", ink::green},
        {"Image2", {309, 54}, {72, 16}, "PanelExit", "Wyjść z gry", ink::blue},
        {"Image3", {243, 54}, {96, 16}, "PanelAbout", "O grze ...", ink::yellow},
    };
    for (const auto &h : headings) {
        m_stills.push_back({QString("menu/") + h.name, QPoint(136, 208) + h.pos, h.panel});
        add(QString("menu/") + h.name, h.size, [this, h](QPainter &p) {
            p.fillRect(full(h.size), paper::menu);
            m_studio.drawHeading(p, full(h.size), {QString::fromUtf8(h.text)}, h.colour, paper::menu, 46);
        });
    }

    const QPoint panel(136, 208);
    auto column = [&](const char *name, QSize size, QPoint pos, const char *icon, QColor colour) {
        addButton({"menu", name, size, pos, "", "menu/background", pos, {},
                   {icon, "", colour, ButtonLayout::IconOnly}, false});
    };
    column("ImageButton1", {72, 99}, {16, 8}, "lightbulb", ink::red);
    column("ImageButton4", {91, 103}, {8, 120}, "checkbox-marked", ink::green);
    column("ImageButton2", {78, 109}, {16, 240}, "information-variant", ink::gold);
    column("ImageButton3", {89, 91}, {8, 376}, "exit-run", ink::blue);
    auto onPanel = [&](const char *name, const char *panelName, QSize size, QPoint pos, const char *icon,
                       const char *word, QColor colour) {
        addButton({"menu", name, size, panel + pos, panelName, "", {}, paper::menu,
                   {icon, QString::fromUtf8(word), colour, ButtonLayout::IconBeside}, false});
    };
    onPanel("ImageButton7", "PanelOpis", {156, 71}, {16, 184}, "magnify", "Podgląd", ink::gold);
    onPanel("ImageButton8", "PanelOpis", {133, 69}, {272, 184}, "pin", "Porady", ink::blue);
    onPanel("ImageButton9", "PanelNew", {173, 82}, {16, 144}, "pinwheel", "Przykład", ink::pink);
    onPanel("ImageButton10", "PanelNew", {175, 76}, {232, 148}, "timer-sand", "Rozpocznij", ink::gameBlue);
    onPanel("ImageButton5", "PanelExit", {102, 65}, {56, 152}, "check-bold", "Tak", ink::green);
    onPanel("ImageButton6", "PanelExit", {108, 67}, {288, 152}, "close-thick", "Nie", ink::red);
}

// ---------------------------------------------------------------- preview

void Catalogue::addPreview()
{
    const Outline &outline = outlineOf("preview");
    add("preview/background", QSize(359, 373), [this, &outline](QPainter &p) {
        m_studio.drawPane(p, outline, previewPane);
        m_studio.drawHeading(p, QRectF(12, 6, 190, 50), {"Podgląd"}, ink::yellow, paper::preview, 40);

        Grid digits;
        const Kinds kinds = kindsOf(sampleGivens(), {}, digits);
        const QRectF grid(112, 64, 236, 236);
        const Studio::DiagramGeometry g = m_studio.drawDiagram(p, grid, digits, kinds, ink::gameBlue, ink::black);
        Studio::outlinePart(p, g.rows(6, 6), ink::green);
        Studio::outlinePart(p, g.cols(7, 7), ink::black);
        Studio::outlinePart(p, g.box(1, 1), ink::red);

        const QFont label = Studio::font(Studio::sans(), 13, true);
        p.setFont(label);
        // The labels take their outline's colour, deepened where it would not read on the pane.
        auto labelInk = [](const QColor &colour) { return deepenedFor(colour, paper::preview, Studio::minimumContrast + 0.1); };
        // The box: label at the left, arrow into the box's left side.
        p.setPen(labelInk(ink::red));
        p.drawText(QRectF(8, 70, 96, 34), Qt::AlignCenter, "kwadrat\n(3x3 kratki)");
        Studio::drawArrow(p, QPointF(58, 108), QPointF(70, 128), QPointF(116, 126), ink::red);
        // The column: label above the grid at the right, arrow down onto the column's top.
        const QRectF column = g.cols(7, 7);
        p.setPen(ink::black);
        p.drawText(QRectF(290, 26, 62, 18), Qt::AlignCenter, "kolumna");
        Studio::drawArrow(p, QPointF(296, 44), QPointF(column.center().x() + 2, 44),
                          QPointF(column.center().x(), column.top() - 3), ink::black);
        // The row: label at the left, arrow into the row's left end.
        const QRectF row = g.rows(6, 6);
        p.setPen(labelInk(ink::green));
        p.drawText(QRectF(20, row.center().y() + 14, 60, 18), Qt::AlignCenter, "rząd");
        Studio::drawArrow(p, QPointF(60, row.center().y() + 16), QPointF(80, row.center().y()),
                          QPointF(row.left() - 4, row.center().y()), ink::green);
        // An empty cell in the bottom-left corner: what the player fills.
        const QRectF cell = g.cell(9, 1);
        Studio::outlinePart(p, cell, ink::violet, 2.5);
        p.setPen(labelInk(ink::violet));
        p.drawText(QRectF(8, 248, 96, 34), Qt::AlignCenter, "pusta\nkratka");
        Studio::drawArrow(p, QPointF(58, 284), QPointF(74, 298), QPointF(cell.left() - 4, cell.center().y() + 3),
                          ink::violet);

        // Under the diagram, the rule that ties the named parts together.
        const QRectF note(10, 309, 222, 52);
        p.save();
        p.setPen(QPen(QColor(176, 128, 14, 150), 1.2));
        p.setBrush(QColor(255, 255, 255, 150));
        p.drawRoundedRect(note, 7, 7);
        p.restore();
        m_studio.drawIcon(p, "lightbulb", QRectF(note.left() + 6, note.center().y() - 11, 22, 22), ink::gold);
        const QFont rule = Studio::font(Studio::sans(), 12, true);
        const QFontMetricsF metrics(rule);
        const QStringList lines = {QString::fromUtf8("W każdym rzędzie, kolumnie"),
                                   QString::fromUtf8("i kwadracie każda cyfra"), QString::fromUtf8("od 1 do 9 tylko raz.")};
        p.setFont(rule);
        p.setPen(QColor(84, 56, 0));
        const qreal top = note.center().y() - lines.size() * metrics.lineSpacing() / 2;
        for (int l = 0; l < lines.size(); ++l)
            p.drawText(QPointF(note.left() + 34, top + metrics.ascent() + l * metrics.lineSpacing()), lines[l]);
    });
    addButton({"preview", "ImageButton1", {100, 52}, {240, 309}, "", "preview/background", {240, 309}, {},
               {"check-bold", "OK", ink::green, ButtonLayout::IconBeside}, false});
}

// ---------------------------------------------------------------- tips

void Catalogue::addTips()
{
    const Outline &outline = outlineOf("tips");
    add("tips/background", QSize(231, 292), [this, &outline](QPainter &p) {
        m_studio.drawPane(p, outline, tipsPane);
        m_studio.drawHeading(p, QRectF(14, 8, 203, 38), {"Trzy dobre rady"}, ink::blue, paper::tips, 30);
        const QStringList tips = {
            QString::fromUtf8("Zaczynaj od uzupełniania rzędów, w których pozostało niewiele pustych kratek"),
            QString::fromUtf8("Przeszukuj małe kwadraty, w których jest niewiele pustych kratek"),
            QString::fromUtf8("Na końcu sprawdź w całym diagramie, czy wszystkie kratki są zapełnione"),
        };
        // The green is deepened so the white number on it reads as well as on the red.
        const QColor bursts[] = {deepenedFor(ink::green, Qt::white, Studio::minimumContrast + 0.1), ink::yellow, ink::red};
        const qreal tops[] = {54, 114, 174};
        const QFont f = Studio::font(Studio::sans(), 12, true);
        const QFontMetricsF m(f);
        for (int i = 0; i < 3; ++i) {
            const QRectF burst(8, tops[i], 30, 30);
            p.save();
            p.setPen(Qt::NoPen);
            m_studio.drawIcon(p, "decagram", burst.translated(1.2, 1.2), QColor(0, 0, 0, 60));
            m_studio.drawIcon(p, "decagram", burst, bursts[i]);
            p.setFont(Studio::font(Studio::garamond(), 17, true));
            p.setPen(i == 1 ? QColor(90, 60, 0) : QColor(255, 255, 255));
            p.drawText(burst.translated(0, 0.5), Qt::AlignCenter, QString::number(i + 1));
            p.restore();
            const QStringList lines = Studio::wrap(tips[i], f, 178);
            p.setFont(f);
            p.setPen(QColor(20, 40, 70));
            for (int l = 0; l < lines.size(); ++l)
                p.drawText(QPointF(44, tops[i] + 11 + l * m.lineSpacing()), lines[l]);
        }
    });
    addButton({"tips", "ImageButton1", {97, 58}, {120, 224}, "", "tips/background", {120, 224}, {},
               {"check-bold", "OK", ink::green, ButtonLayout::IconBeside}, false});
}

// ---------------------------------------------------------------- worked example

void Catalogue::addExample()
{
    const Outline &outline = outlineOf("example");
    add("example/background", QSize(440, 500), [this, &outline](QPainter &p) {
        m_studio.drawPane(p, outline, examplePane);
        m_studio.drawHeading(p, QRectF(100, 6, 240, 54), {"Przykład"}, ink::red, paper::example, 46);
        // A frame around the scrolling viewport (8, 64, 417 x 361), just outside it and above
        // the stop panel (from y 427), which would otherwise cut its bottom edge when shown.
        p.save();
        p.setPen(QPen(QColor(178, 34, 34, 150), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(5.5, 61.5, 422, 364.5), 4, 4);
        p.restore();
    });
    const QPoint pane(8, 64);
    auto still = [&](const QString &name, QSize size, QPoint pos, std::function<void(QPainter &)> draw) {
        m_stills.push_back({"example/" + name, pane + pos, "Panel2"});
        add("example/" + name, size, [size, draw](QPainter &p) {
            p.fillRect(full(size), paper::example);
            draw(p);
        });
    };
    auto diagram = [this](QPainter &p, QSize size, std::initializer_list<const std::vector<StepEntry> *> steps) {
        Grid digits;
        const Kinds kinds = kindsOf(sampleGivens(), steps, digits);
        return m_studio.drawDiagram(p, full(size).adjusted(3, 3, -3, -3), digits, kinds, ink::black, ink::red);
    };
    still("Image1", {192, 153}, {4, 9}, [=](QPainter &p) {
        const auto g = diagram(p, {192, 153}, {});
        Studio::outlinePart(p, g.rows(6, 6), ink::green);
    });
    still("Image4", {193, 153}, {4, 200}, [=](QPainter &p) {
        const auto g = diagram(p, {193, 153}, {&stepOneEntries()});
        Studio::outlinePart(p, g.cols(5, 5), ink::blue);
    });
    still("Image6", {192, 153}, {4, 376}, [=](QPainter &p) {
        const auto g = diagram(p, {192, 153}, {&stepOneEntries(), &stepTwoEntries()});
        Studio::outlinePart(p, g.box(3, 3), QColor(120, 80, 0), 4.5);
        Studio::outlinePart(p, g.box(3, 3), ink::yellow, 2.5);
    });
    still("Image9", {200, 156}, {80, 768}, [this](QPainter &p) {
        Grid digits;
        Kinds kinds = kindsOf(sampleGivens(), {}, digits);
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c)
                if (kinds[r][c] == Cell::Empty)
                    kinds[r][c] = Cell::Entered;
        m_studio.drawDiagram(p, QRectF(3, 3, 194, 150), sampleSolution(), kinds, ink::black, ink::red);
    });
    const struct {
        const char *name;
        QSize size;
        QPoint pos;
        QStringList lines;
        QColor colour;
    } words[] = {
        {"Image2", {81, 26}, {200, 8}, {"Krok 1."}, ink::green},
        {"Image3", {84, 27}, {200, 200}, {"Krok 2."}, ink::blue},
        {"Image5", {82, 25}, {200, 376}, {"Krok 3."}, ink::yellow},
        {"Image7", {233, 46}, {88, 656}, {QString::fromUtf8("Wypełnij w ten sposób"), QString::fromUtf8("cały diagram sudoku")}, ink::red},
        {"Image8", {142, 29}, {16, 736}, {QString::fromUtf8("Rozwiązanie:")}, ink::blue},
    };
    for (const auto &w : words) {
        still(w.name, w.size, w.pos, [this, w](QPainter &p) { m_studio.drawHeading(p, full(w.size), w.lines, w.colour, paper::example); });
    }

    addButton({"example", "ImageButton3", {129, 62}, {24, 432}, "", "example/background", {24, 432}, {},
               {"arrow-down-bold", QString::fromUtf8("Przewiń"), ink::blue, ButtonLayout::IconBeside}, false});
    addButton({"example", "ImageButton4", {118, 65}, {19, 427}, "StopPanel", "", {}, paper::example,
               {"hand-back-right", "Stop", ink::red, ButtonLayout::IconBeside}, false});
    addButton({"example", "ImageButton2", {121, 57}, {168, 436}, "", "example/background", {168, 436}, {},
               {"pin", "Porady", ink::blue, ButtonLayout::IconBeside}, false});
    addButton({"example", "ImageButton1", {109, 63}, {301, 426}, "", "example/background", {301, 426}, {},
               {"check-bold", "OK", ink::green, ButtonLayout::IconBeside}, false});
}

// ---------------------------------------------------------------- game window

namespace {

const int cellLefts[9] = {25, 67, 109, 151, 193, 235, 277, 319, 361};
const int cellTops[9] = {58, 91, 123, 155, 187, 219, 251, 284, 316};
const int cellHeights[9] = {32, 31, 31, 31, 31, 31, 32, 31, 31};

} // namespace

void Catalogue::addGame()
{
    const Outline &outline = outlineOf("game");
    add("game/background", QSize(587, 365), [this, &outline](QPainter &p) {
        m_studio.drawPane(p, outline, gamePane);
        m_studio.drawHeading(p, QRectF(24, 7, 380, 47), {"Diagram SUDOKU"}, ink::gameBlue, paper::game, 44);

        // The grid lies exactly under the cells: each cell's own rectangle is filled, and the
        // one-pixel gaps between cells carry the lines.
        const QColor thick(16, 56, 130);
        const QRectF outer(22, 55, 383, 295);   // three pixels around the cells 25..402 x 58..347
        p.fillRect(outer, thick);
        p.fillRect(QRectF(25, 58, 377, 289), QColor(150, 175, 215));
        for (int r = 0; r < 9; ++r) {
            for (int c = 0; c < 9; ++c) {
                const bool shaded = ((r / 3) + (c / 3)) % 2 == 1;
                p.fillRect(QRect(cellLefts[c], cellTops[r], 41, cellHeights[r]),
                           shaded ? QColor(232, 241, 255) : QColor(255, 255, 255));
            }
        }
        // The box lines: three pixels over the gap between the third and fourth cells.
        for (int c : {3, 6}) {
            const int gap = cellLefts[c] - 1;
            p.fillRect(QRect(gap - 1, 58, 3, 289), thick);
        }
        for (int r : {3, 6}) {
            const int gap = cellTops[r] - 1;
            p.fillRect(QRect(25, gap - 1, 377, 3), thick);
        }

        // The clock: its frame around the panel (440, 83, 113 x 25) and the words above it.
        p.save();
        p.setPen(QPen(thick, 2));
        p.setBrush(paper::clock);
        p.drawRoundedRect(QRectF(436.5, 79.5, 120, 31), 6, 6);
        p.restore();
        p.save();
        p.setFont(Studio::font(Studio::garamond(), 22, true));
        p.setPen(QColor(16, 56, 130));
        p.drawText(QRectF(436, 52, 121, 28), Qt::AlignCenter, "Czas gry");
        p.restore();
    });

    m_stills.push_back({"game/panel", {95, 92}, "PanelZle"});
    add("game/panel", QSize(380, 182), [this](QPainter &p) {
        const QColor frame(16, 80, 170);
        p.fillRect(QRectF(0, 0, 380, 182), frame);
        p.save();
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(226, 246, 255));
        p.drawRoundedRect(QRectF(4, 4, 372, 174), 6, 6);
        p.setBrush(paper::game);
        p.drawRoundedRect(QRectF(5.5, 5.5, 369, 171), 5, 5);
        // A title band behind UWAGA, one colour, so the letters read alike along their height.
        p.setBrush(QColor(214, 240, 255));
        p.drawRoundedRect(QRectF(6, 6, 368, 38), 5, 5);
        p.restore();
        m_studio.drawHeading(p, QRectF(110, 5, 160, 39), {"UWAGA"}, ink::gameBlue, paper::game, 36);
        // Kept above 48, where the end panel's transparent message begins.
        ornament(p, 30, 350, 43, QColor(16, 80, 170, 160));
    });

    auto column = [&](const char *name, int top, const char *icon, const char *word, QColor colour) {
        addButton({"game", name, {130, 44}, {416, top}, "", "game/background", {416, top}, {},
                   {icon, QString::fromUtf8(word), colour, ButtonLayout::IconBeside, 19}, true});
    };
    column("ImageButton7", 112, "crown", "Najlepsze wyniki", ink::gold);
    column("ImageButton1", 160, "timer-sand", "Nowa gra", ink::gameBlue);
    column("ImageButton3", 208, "restart", "Restart", ink::green);
    column("ImageButton8", 256, "magnify", "Sprawdź", ink::violet);
    column("ImageButton2", 304, "cancel", "Zakończ", ink::red);

    const QPoint panel(95, 92);
    auto onPanel = [&](const char *name, const char *panelName, QSize size, QPoint pos, const char *icon,
                       const char *word, QColor colour) {
        addButton({"game", name, size, panel + pos, panelName, "game/panel", pos, {},
                   {icon, QString::fromUtf8(word), colour, ButtonLayout::IconBeside}, false});
    };
    onPanel("ImageButton4", "PanelZle", {97, 58}, {267, 109}, "check-bold", "OK", ink::green);
    onPanel("ImageButton5", "PanelKoniec", {101, 65}, {128, 96}, "check-bold", "Tak", ink::green);
    onPanel("ImageButton6", "PanelKoniec", {104, 59}, {248, 101}, "close-thick", "Nie", ink::red);
}

// ---------------------------------------------------------------- results

void Catalogue::addResults()
{
    const Outline &outline = outlineOf("results");
    add("results/background", QSize(290, 338), [this, &outline](QPainter &p) {
        m_studio.drawPane(p, outline, resultsPane);
        m_studio.drawIcon(p, "crown", QRectF(14, 10, 26, 26), ink::gold);
        m_studio.drawIcon(p, "crown", QRectF(250, 10, 26, 26), ink::gold);
        m_studio.drawHeading(p, QRectF(40, 4, 210, 40), {"Najlepsze wyniki"}, ink::gold, paper::results, 34);
        const int tops[10] = {70, 91, 112, 134, 154, 177, 199, 220, 242, 263};
        // Alternate bands behind the rows, from each row's top to the next one's.
        for (int i = 0; i < 10; ++i) {
            const qreal top = tops[i] - 1;
            const qreal bottom = i < 9 ? tops[i + 1] - 1 : tops[i] + 20;
            if (i % 2 == 0)
                p.fillRect(QRectF(10, top, 270, bottom - top), QColor(246, 226, 160, 150));
        }
        const QColor brown(110, 76, 8);
        p.save();
        p.setFont(Studio::font(Studio::serif(), 16, true));
        p.setPen(brown);
        p.drawText(QPointF(46, 63), "gracz");
        p.drawText(QPointF(217, 63), "czas");
        p.setPen(QPen(QColor(170, 120, 10), 1.2));
        p.drawLine(QPointF(12, 67), QPointF(278, 67));
        p.setFont(Studio::font(Studio::serif(), 16, true));
        p.setPen(brown);
        for (int i = 0; i < 10; ++i)
            p.drawText(QRectF(8, tops[i], 32, 20), Qt::AlignRight | Qt::AlignVCenter, QString("%1.").arg(i + 1));
        p.restore();
    });
    addButton({"results", "ImageButton1", {88, 44}, {191, 287}, "", "results/background", {191, 287}, {},
               {"check-bold", "OK", ink::green, ButtonLayout::IconBeside}, false});
    addButton({"results", "ImageButton2", {161, 44}, {8, 288}, "", "results/background", {8, 288}, {},
               {"content-cut", QString::fromUtf8("Wyczyść listę"), ink::red, ButtonLayout::IconBeside}, true});
}

} // namespace painter
