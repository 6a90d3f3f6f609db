// Contact sheets: each window composed as the player sees it, for the README and for reviewing the set.
#include "ContactSheets.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainterPath>

namespace painter {

namespace {

const QColor desk(58, 66, 82);

QImage sheet(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(desk);
    return image;
}

void begin(QPainter &p)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
}

void caption(QPainter &p, QPointF at, const QString &text)
{
    p.save();
    p.setFont(Studio::font(Studio::sans(), 14, true));
    p.setPen(QColor(225, 230, 240));
    p.drawText(at, text);
    p.restore();
}

// Lines of a label written one under another from the label's top.
void lines(QPainter &p, QPointF topLeft, const QStringList &text, const QFont &font, const QColor &colour = Qt::black)
{
    p.save();
    p.setFont(font);
    p.setPen(colour);
    const QFontMetricsF m(font);
    for (int i = 0; i < text.size(); ++i)
        p.drawText(QPointF(topLeft.x(), topLeft.y() + m.ascent() + i * m.height()), text[i]);
    p.restore();
}

QString u(const char *text)
{
    return QString::fromUtf8(text);
}

const int cellLefts[9] = {25, 67, 109, 151, 193, 235, 277, 319, 361};
const int cellTops[9] = {58, 91, 123, 155, 187, 219, 251, 284, 316};
const int cellHeights[9] = {32, 31, 31, 31, 31, 31, 32, 31, 31};

} // namespace

ContactSheets::ContactSheets(const Studio &studio, const Catalogue &catalogue)
    : m_studio(studio), m_catalogue(catalogue)
{
    m_sheets.emplace_back("menu", menuSheet());
    m_sheets.emplace_back("guides", guidesSheet());
    m_sheets.emplace_back("example", exampleSheet());
    m_sheets.emplace_back("game", gameSheet());
    m_sheets.emplace_back("results", resultsSheet());
    m_sheets.emplace_back("buttons", buttonsSheet());
}

QImage ContactSheets::window(const QString &name, const QString &visiblePanel,
                             const std::function<void(QPainter &)> &controls) const
{
    const QImage &background = m_catalogue.render(name + "/background", 1);
    QImage composed(background.size(), QImage::Format_ARGB32_Premultiplied);
    composed.fill(Qt::transparent);
    QPainter p(&composed);
    begin(p);
    // The outline cuts the window; outside it the desk shows, as on the player's screen.
    p.setClipRegion(outlineOf(name).region());
    p.drawImage(0, 0, background);
    placeStills(p, name, visiblePanel);
    controls(p);
    return composed;
}

void ContactSheets::placeStills(QPainter &p, const QString &window, const QString &visiblePanel) const
{
    for (const StillPlan &still : m_catalogue.stills()) {
        if (!still.path.startsWith(window + "/") || still.panel == "Panel2")
            continue;
        if (!still.panel.isEmpty() && still.panel != visiblePanel)
            continue;
        p.drawImage(still.windowPos, m_catalogue.render(still.path, 1));
    }
}

void ContactSheets::placeButtons(QPainter &p, const QString &window, const QString &visiblePanel,
                                 const QStringList &disabled, const QString &lit, bool panelOnly) const
{
    for (const ButtonPlan &button : m_catalogue.buttons()) {
        if (button.window != window)
            continue;
        if (!button.panel.isEmpty() && button.panel != visiblePanel)
            continue;
        if (panelOnly && button.panel.isEmpty())
            continue;
        QString picture = button.window + "/" + button.name;
        if (button.name == lit)
            picture += "_over";
        else if (disabled.contains(button.name) && button.ownDisabled)
            picture += "_disabled";
        p.drawImage(button.windowPos, m_catalogue.render(picture, 1));
    }
}

// ---------------------------------------------------------------- menu

QImage ContactSheets::menuSheet() const
{
    // The menu at start-up (no panel yet), then with each of its four panels.
    const QStringList panels = {"", "PanelOpis", "PanelNew", "PanelExit", "PanelAbout"};
    const QFont intro = Studio::font(Studio::sans(), 16, false);
    const QFont panelFont = Studio::font(Studio::sans(), 13, false);
    QImage result = sheet(QSize(3 * 607 + 80, 2 * 479 + 100));
    QPainter s(&result);
    begin(s);
    for (int i = 0; i < panels.size(); ++i) {
        const QString panel = panels[i];
        const QImage composed = window("menu", panel, [&](QPainter &p) {
            lines(p, {136, 88},
                  {u("W sudoku gra cała Europa! To łatwe i wciągające!"), u("Nie jest to zabawa matematyczna. "),
                   u("Nie musisz niczego liczyć."), u("Ważna jest Twoja spostrzegawczość i cierpliwość.")},
                  intro);
            const QPointF at(136, 208);
            if (!panel.isEmpty())
                p.fillRect(QRectF(at, QSizeF(457, 257)), paper::menu);
            placeStills(p, "menu", panel);
            if (panel == "PanelOpis") {
                lines(p, at + QPointF(16, 80),
                      {u("Diagram należy uzupełnić wpisując w puste kratki cyfry od 1 do 9."), u("Pamiętaj !"),
                       u("Po pierwsze - w każdym rzędzie każda cyfra może wystąpić tylko raz."),
                       u("Po drugie - w każdej kolumnie każda cyfra może wystąpić tylko raz."),
                       u("Po trzecie - w każdym 9-cio polowym kwadracie każda cyfra"),
                       QString(22, ' ') + u("może wystąpić tylko raz.")},
                      panelFont);
            } else if (panel == "PanelNew") {
                lines(p, at + QPointF(8, 104), {u("Rozpocznij nową grę")}, panelFont);
            } else if (panel == "PanelExit") {
                p.setFont(panelFont);
                p.drawText(QRectF(at + QPointF(8, 112), QSizeF(441, 16)), Qt::AlignHCenter | Qt::AlignTop,
                           u("Czy na pewno chcesz wyjść z gry ???"));
            } else if (panel == "PanelAbout") {
                lines(p, at + QPointF(8, 80), {u("Sudoku  v. 2.0.0.432")}, panelFont);
                lines(p, at + QPointF(8, 104), {u("Wszelkie prawa zastrzeżone © Kalvora 2006 - 2026")}, panelFont);
                lines(p, at + QPointF(8, 128), {u("E-mail:")}, panelFont);
                lines(p, at + QPointF(8, 152), {u("WWW:")}, panelFont);
                lines(p, at + QPointF(56, 128), {u("kontakt@kalvora.pl")}, panelFont);
                lines(p, at + QPointF(56, 152), {u("http://www.kalvora.pl")}, panelFont);
                lines(p, at + QPointF(8, 176), {u("Autor: Kalvora")}, panelFont);
            }
            placeButtons(p, "menu", panel, {}, panel == "PanelOpis" ? "ImageButton7" : QString());
        });
        const QPointF at(20 + (i % 3) * (607 + 20), 40 + (i / 3) * (479 + 50));
        caption(s, at + QPointF(0, -12), panel.isEmpty() ? u("TForm1: po uruchomieniu") : QString("TForm1: %1").arg(panel));
        s.drawImage(at, composed);
    }
    return result;
}

// ---------------------------------------------------------------- preview and tips

QImage ContactSheets::guidesSheet() const
{
    QImage result = sheet(QSize(20 + 359 + 30 + 231 + 20, 373 + 70));
    QPainter s(&result);
    begin(s);
    caption(s, {20, 28}, "TFPodglad");
    s.drawImage(QPointF(20, 40), window("preview", {}, [&](QPainter &p) { placeButtons(p, "preview", {}); }));
    caption(s, {409, 28}, "TFRady");
    s.drawImage(QPointF(409, 40), window("tips", {}, [&](QPainter &p) { placeButtons(p, "tips", {}, {}, "ImageButton1"); }));
    return result;
}

// ---------------------------------------------------------------- worked example

QImage ContactSheets::exampleSheet() const
{
    // The content pane in full, with its labels, as it scrolls through the viewport.
    QImage content(401, 937, QImage::Format_RGB32);
    content.fill(paper::example);
    {
        QPainter p(&content);
        begin(p);
        for (const StillPlan &still : m_catalogue.stills()) {
            if (still.panel == "Panel2")
                p.drawImage(still.windowPos - QPoint(8, 64), m_catalogue.render(still.path, 1));
        }
        const QFont f = Studio::font(Studio::sans(), 13, false);
        lines(p, {200, 32},
              {u("Spójrz na zaznaczony rząd. "), u("Brakuje w  nim tylko dwóch cyfr "), u("1 i 2. Popatrz na  pierwszą pustą"),
               u("kratkę od lewej. Czy możesz tam"), u("wpisać 2? Nie, ponieważ pod"), u("kratką do uzupełnienia w tej"),
               u("kolumnie jest już wpisane 2."), u("Cyfry zaś w kolumnie nie mogą")},
              f);
        lines(p, {8, 160},
              {u("się powtarzać. Musisz tam zatem wpisać cyfrę 1. Natomiast 2"),
               u("wpisz w ostatnią,  pustą kratkę rzędu czwartego od dołu.")},
              f);
        lines(p, {200, 224},
              {u("Popatrz na zaznaczoną kolumnę."), u("W niej też brakuje tylko dwóch "), u("cyfr - 3 i 4. Nie możesz wpisać 4"),
               u("do dolnej  kratki bo w tym"), u("kwadracie jest już wpisane 4."), u("Cyfry nie mogą się w nim"),
               u("powtarzać. Dlatego możesz tam"), u("wpisać tylko 3. Natomiast cyfrę 4"), u("wpisz na górze.")},
              f);
        lines(p, {200, 400},
              {u("Popatrz na zaznaczony kwadrat."), u("Brakuje w nim 4, 5, 6 i 9. Cyfra 5"), u("jest już wpisana w kolumnach 1 i"),
               u("3 od  prawej. W tym kwadracie"), u("cyfrę 5  możesz zatem wpisać"), u("tylko w jedną pustą kratkę:"),
               u("w kolumnie drugiej od  prawej."), u("Zrób to ! Kolejną cyfrą do")},
              f);
        lines(p, {8, 528},
              {u("wpisania jest 4. Jedno 4 jest już wpisane w rzędzie pierwszym "),
               u("od tyłu. Jedynym zatem miejscem dla niego jest kratka w prawym"),
               u("górnym rogu zaznaczonego kwadratu. Musimy znaleźć jeszcze"),
               u("miejsce dla cyfr 6 i 9. Jedno 6 jest już  wpisane w kolumnie"),
               u("pierwszej od prawej, zatem mamy dla niego  tylko jedno miejsce:"),
               u("w kolumnie trzeciej od prawej. W ostatnią pustą kratkę w kolumnie"), u("pierwszej od prawej wpisz 9. ")},
              f);
    }
    const QImage composed = window("example", {}, [&](QPainter &p) {
        p.drawImage(QPointF(8, 64), content, QRectF(0, 0, 401, 361));
        // The scroll bar at the viewport's right edge, at its top position.
        p.fillRect(QRectF(409, 64, 16, 361), QColor(236, 236, 236));
        p.fillRect(QRectF(410, 80, 14, 40), QColor(190, 190, 190));
        placeButtons(p, "example", {});
    });
    QImage result = sheet(QSize(20 + 440 + 30 + 401 + 20, 937 + 60));
    QPainter s(&result);
    begin(s);
    caption(s, {20, 28}, "TFPrzyklad");
    s.drawImage(QPointF(20, 40), composed);
    caption(s, {490, 28}, u("Panel2 (cała treść)"));
    s.drawImage(QPointF(490, 40), content);
    return result;
}

// ---------------------------------------------------------------- game window

QImage ContactSheets::gameSheet() const
{
    const QFont cellFont = Studio::font(Studio::garamond(), 21, true);
    auto cells = [&](QPainter &p, const std::function<std::pair<QString, QColor>(int, int)> &text) {
        p.save();
        p.setFont(cellFont);
        for (int r = 1; r <= 9; ++r) {
            for (int c = 1; c <= 9; ++c) {
                const auto [caption, colour] = text(r, c);
                p.setPen(colour);
                p.drawText(QRect(cellLefts[c - 1], cellTops[r - 1], 41, cellHeights[r - 1]), Qt::AlignCenter, caption);
            }
        }
        p.restore();
    };
    auto clock = [&](QPainter &p, const QString &time) {
        p.fillRect(QRect(440, 83, 113, 25), paper::clock);
        p.save();
        p.setFont(Studio::font(Studio::mono(), 19, true));
        p.drawText(QRect(440, 83, 113, 25), Qt::AlignLeft | Qt::AlignVCenter, time);
        p.restore();
    };
    // The welcome board of a fresh start.
    const QImage welcome = window("game", {}, [&](QPainter &p) {
        static const char *board[9] = {"#########", "         ", " KLIKNIJ ", "         ", " NOWA    ",
                                       "     GRA ", "         ", "         ", "#########"};
        cells(p, [&](int r, int c) { return std::make_pair(QString(QChar(board[r - 1][c - 1])).trimmed(), ink::gameBlue); });
        clock(p, "00:00:00");
        placeButtons(p, "game", {}, {"ImageButton3", "ImageButton8"}, "ImageButton1");
    });
    // A game with one of the message panels up: the shadowed message over the panel picture.
    auto withPanel = [&](const QString &panel, bool solved) {
        return window("game", panel, [&](QPainter &p) {
            const Grid &givens = sampleGivens();
            const Grid &solution = sampleSolution();
            cells(p, [&](int r, int c) {
                if (givens[r - 1][c - 1] != 0)
                    return std::make_pair(QString::number(givens[r - 1][c - 1]), ink::gameBlue);
                if (solved || (r * 7 + c * 3) % 4 == 0)
                    return std::make_pair(QString::number(solution[r - 1][c - 1]), QColor(Qt::black));
                return std::make_pair(QString(), QColor(Qt::black));
            });
            clock(p, solved ? "00:14:09" : "00:07:42");
            placeButtons(p, "game", {});
            // The panel lies above the cells and the buttons, and its own buttons above it.
            const QPoint at(95, 92);
            p.drawImage(at, m_catalogue.render("game/panel", 1));
            p.save();
            // The game steps its Garamond down until the message's two lines fit the label's 48 pixels.
            QFont messageFont = cellFont;
            while (2 * QFontMetrics(messageFont).lineSpacing() > 48)
                messageFont.setPixelSize(messageFont.pixelSize() - 1);
            p.setFont(messageFont);
            QRect label;
            QString message;
            int alignment;
            if (panel == "PanelZle") {
                label = QRect(at + QPoint(16, 56), QSize(342, 48));
                p.fillRect(label, paper::game);
                message = u("Diagram SUDOKU został wypełniony\nw całości, ale niestety niepoprawnie.");
                alignment = Qt::AlignLeft | Qt::AlignTop;
            } else {
                label = QRect(at + QPoint(8, 48), QSize(348, 48));
                message = u("Diagram został poprawnie wypełniony\nCzy chcesz zagrać jeszcze raz ?");
                alignment = Qt::AlignHCenter | Qt::AlignTop;
            }
            // As the shadow label draws it: a pixel in from each side, the highlight up and to the left.
            p.setClipRect(label);
            const QRect text = label.adjusted(1, 0, -1, 0);
            p.setPen(QColor(255, 255, 255));
            p.drawText(text.translated(-1, -1), alignment, message);
            p.setPen(QColor(0, 0, 0));
            p.drawText(text, alignment, message);
            p.restore();
            placeButtons(p, "game", panel, {}, {}, true);
        });
    };
    const QImage wrong = withPanel("PanelZle", false);
    const QImage solved = withPanel("PanelKoniec", true);
    QImage result = sheet(QSize(20 + 3 * (587 + 30), 365 + 70));
    QPainter s(&result);
    begin(s);
    caption(s, {20, 28}, u("TFSudoku: plansza powitalna"));
    s.drawImage(QPointF(20, 40), welcome);
    caption(s, {637, 28}, u("TFSudoku: PanelZle"));
    s.drawImage(QPointF(637, 40), wrong);
    caption(s, {1254, 28}, u("TFSudoku: PanelKoniec"));
    s.drawImage(QPointF(1254, 40), solved);
    return result;
}

// ---------------------------------------------------------------- results

QImage ContactSheets::resultsSheet() const
{
    const QFont f = Studio::font(Studio::serif(), 17, true);
    const int tops[10] = {70, 91, 112, 134, 154, 177, 199, 220, 242, 263};
    const std::pair<const char *, const char *> rows[10] = {
        {"Ala", "00:06:40"}, {"Bartek", "00:08:02"}, {"Zosia", "00:11:15"}, {"(brak)", "-- : -- : --"},
        {"(brak)", "-- : -- : --"}, {"(brak)", "-- : -- : --"}, {"(brak)", "-- : -- : --"},
        {"(brak)", "-- : -- : --"}, {"(brak)", "-- : -- : --"}, {"(brak)", "-- : -- : --"}};
    const QImage filled = window("results", {}, [&](QPainter &p) {
        for (int i = 0; i < 10; ++i) {
            lines(p, {46, qreal(tops[i])}, {u(rows[i].first)}, f);
            lines(p, {217, qreal(tops[i])}, {u(rows[i].second)}, f);
        }
        placeButtons(p, "results", {});
    });
    const QImage empty = window("results", {}, [&](QPainter &p) {
        for (int i = 0; i < 10; ++i) {
            lines(p, {46, qreal(tops[i])}, {u("(brak)")}, f);
            lines(p, {217, qreal(tops[i])}, {u("-- : -- : --")}, f);
        }
        placeButtons(p, "results", {}, {"ImageButton2"});
    });
    QImage result = sheet(QSize(20 + 290 + 30 + 290 + 20, 338 + 70));
    QPainter s(&result);
    begin(s);
    caption(s, {20, 28}, u("TF_Wyniki: trzy wyniki"));
    s.drawImage(QPointF(20, 40), filled);
    caption(s, {340, 28}, u("TF_Wyniki: lista pusta"));
    s.drawImage(QPointF(340, 40), empty);
    return result;
}

// ---------------------------------------------------------------- every button in every look

QImage ContactSheets::buttonsSheet() const
{
    const QStringList looks = {"", "_over", "_down", "_disabled"};
    const int columnWidth = 190;
    int height = 50;
    for (const ButtonPlan &button : m_catalogue.buttons())
        height += button.size.height() + 34;
    QImage result = sheet(QSize(150 + 4 * columnWidth, height));
    QPainter s(&result);
    begin(s);
    const QStringList titles = {"Bitmap", "BitmapOver / BitmapUp", "BitmapDown", "BitmapDisabled"};
    for (int i = 0; i < 4; ++i)
        caption(s, {qreal(150 + i * columnWidth), 28}, titles[i]);
    int y = 50;
    for (const ButtonPlan &button : m_catalogue.buttons()) {
        caption(s, {10, qreal(y + 16)}, button.window);
        caption(s, {10, qreal(y + 34)}, button.name);
        for (int i = 0; i < 4; ++i) {
            if (looks[i] == "_disabled" && !button.ownDisabled)
                continue;
            s.drawImage(QPoint(150 + i * columnWidth, y), m_catalogue.render(button.window + "/" + button.name + looks[i], 1));
        }
        y += button.size.height() + 34;
    }
    return result;
}

} // namespace painter
