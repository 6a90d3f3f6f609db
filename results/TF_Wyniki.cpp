// The results window: the ten best times with the players' names, and clearing the list.
#include "TF_Wyniki.h"

#include "ui_TF_Wyniki.h"

#include "Accessibility.h"
#include "BestResults.h"
#include "StandardDialogs.h"
#include "TPictureText.h"
#include "TimeText.h"

#include <QFont>
#include <QLabel>

#include <algorithm>

TF_Wyniki* F_Wyniki = nullptr;

namespace {

constexpr int NameLeft = 46;
constexpr int TimeLeft = 217;
constexpr std::array<int, 10> PlaceTops = {70, 91, 112, 134, 154, 177, 199, 220, 242, 263};
// The window picture's row stripes end here; the frame's shading follows.
constexpr int StripeEnd = 280;
// Between a name and the time beside it.
constexpr int NameGap = 6;
// No row shows more of a name than this many characters (it holds about 25);
// a hand-edited name of thousands is cut before it is measured.
constexpr qsizetype LongestNameShown = 200;

const QString EmptyName = QStringLiteral("(brak)");
const QString EmptyTime = QStringLiteral("-- : -- : --");

// A line break in a hand-edited name would spill into the next place: it shows as a blank.
QString oneLine(QString text)
{
    for (QChar& c : text)
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    return text;
}

QFont resultsFont()
{
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(17);
    font.setBold(true);
    return font;
}

// Places a row's name and time on their stripe. The time starts where the
// layout puts it, unless its letters come out wider (Windows draws them a few
// pixels wider than Linux; a hand-edited time may have many hours): then it
// ends at the stripe's end. The name fills the row up to the time, and a name
// too long for it ends in an ellipsis.
void placeRow(QLabel* name, QLabel* time, const QString& wholeName, int top)
{
    time->adjustSize();
    time->move(std::min(TimeLeft, StripeEnd - time->width()), top);
    const int room = time->x() - NameGap - NameLeft;
    name->setText(name->fontMetrics().elidedText(wholeName.left(LongestNameShown), Qt::ElideRight, room));
    name->adjustSize();
    name->move(NameLeft, top);
}

} // namespace

TF_Wyniki::TF_Wyniki(QWidget* parent)
    : SkinnedWindow(parent)
    , ui(std::make_unique<Ui::TF_Wyniki>())
{
    ui->setupUi(this);
    setFont(resultsFont());
    FinishLayout(ui->ShapedForm1);

    // The heading on the window's picture, for screen readers.
    new TPictureText(QStringLiteral("Najlepsze wyniki"), QRect(40, 4, 210, 34), this);

    // The twenty labels follow one formula, so they are made here rather than
    // stored one by one: name at left 46, time at left 217, one row per place.
    for (int place = 0; place < 10; ++place) {
        auto* name = new QLabel(this);
        name->setObjectName(QStringLiteral("n%1").arg(place + 1));
        auto* time = new QLabel(this);
        // A screen reader reads a place as one line, the name's label with
        // the time ("1. Zofia, 00:12:34"); the time's label alone is passed over.
        HideFromScreenReaders(time);
        time->setObjectName(QStringLiteral("t%1").arg(place + 1));
        for (QLabel* label : {name, time}) {
            label->setFont(resultsFont());
            // A stored name is never markup: "<b>" shows as typed.
            label->setTextFormat(Qt::PlainText);
        }
        time->setText(EmptyTime);
        placeRow(name, time, EmptyName, PlaceTops[place]);
        m_names[place] = name;
        m_times[place] = time;
    }
    // The buttons lie above the labels, as in the stored layout; Tab goes
    // left to right, and the window opens with OK.
    ui->ImageButton1->raise();
    ui->ImageButton2->raise();
    setFocusOrder({ui->ImageButton2, ui->ImageButton1});

    connect(ui->ImageButton1, &TImageButton::OnClick, this, &TF_Wyniki::ImageButton1Click);
    connect(ui->ImageButton2, &TImageButton::OnClick, this, &TF_Wyniki::ImageButton2Click);
}

TF_Wyniki::~TF_Wyniki() = default;

void TF_Wyniki::FormShow()
{
    BestResults results;
    ui->ImageButton2->setEnabled(results.Count() != 0);
    for (int place = 1; place <= 10; ++place) {
        QLabel* name = m_names[place - 1];
        QLabel* time = m_times[place - 1];
        if (const auto entry = results.Entry(place)) {
            const QString wholeName = oneLine(QString::fromStdString(entry->name));
            time->setText(QString::fromStdString(TimeText(entry->seconds)));
            placeRow(name, time, wholeName, PlaceTops[place - 1]);
            // Screen readers hear the whole name, however long.
            name->setAccessibleName(
                QStringLiteral("%1. %2, %3").arg(QString::number(place), wholeName, time->text()));
        } else {
            time->setText(EmptyTime);
            placeRow(name, time, EmptyName, PlaceTops[place - 1]);
            name->setAccessibleName(QStringLiteral("%1. %2").arg(QString::number(place), EmptyName));
        }
    }
}

QWidget* TF_Wyniki::FirstControl()
{
    return ui->ImageButton1;
}

TImageButton* TF_Wyniki::EscapeButton() const
{
    return ui->ImageButton1;
}

void TF_Wyniki::ImageButton1Click()
{
    close();
}

void TF_Wyniki::ImageButton2Click()
{
    if (!AskYesNo(this, QStringLiteral("UWAGA"),
                  QStringLiteral("Czy na pewno chcesz usunąć wszystkie pozycje z listy najlepszych wyników ???")))
        return;
    try {
        BestResults().ClearAll();
    } catch (...) {
        // A clear that failed half-way may already have deleted entries: show
        // what the registry holds now before the error is reported.
        FormShow();
        throw;
    }
    FormShow();
}
