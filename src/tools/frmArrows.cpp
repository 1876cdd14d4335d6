#include "frmArrows.h"

#include "ArrowPreview.h"
#include "ProgramVersion.h"
#include "Prompter.h"

#include <QColorDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QPainter>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const std::array<QString, 3> ComponentWords = {QStringLiteral("Red"), QStringLiteral("Green"),
                                               QStringLiteral("Blue")};

QFrame* lineShape(const QString& name, const QRect& geometry, QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setObjectName(name);
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    return line;
}

struct SwatchText
{
    const char* name;
    QString caption;
};
const std::array<SwatchText, 3> Swatches = {{
    {"allRoadsSwatch", QStringLiteral("Alle Straßen")},
    {"routeSwatch", QStringLiteral("Route")},
    {"frontSwatch", QStringLiteral("Spitze")},
}}; // [kind]

QIcon filled(const QColor& color)
{
    QPixmap pixmap(24, 16);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::gray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

void paint(QFrame* line, const QColor& color)
{
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
}

} // namespace

frmArrows::frmArrows(Prompter& prompter, const QString& skinFolder, QWidget* parent)
    : QDialog(parent)
    , m_prompter(prompter)
    , m_colors(skinFolder)
{
    setObjectName(QStringLiteral("frmArrows"));
    setWindowTitle(QStringLiteral("NavLib.ini"));

    auto* selection = new QGroupBox(QStringLiteral("Auswahl:"), this);
    auto* selectionLayout = new QHBoxLayout(selection);
    m_route = new QRadioButton(QStringLiteral("RouteColor"), selection);
    m_allRoads = new QRadioButton(QStringLiteral("AllColor"), selection);
    m_front = new QRadioButton(QStringLiteral("ForColor"), selection);
    for (QRadioButton* option : {m_route, m_allRoads, m_front}) {
        option->setObjectName(option->text());
        selectionLayout->addWidget(option);
    }
    selectionLayout->addStretch();
    // The route colour is what a skin author changes most.
    m_route->setChecked(true);

    auto* halves = new QHBoxLayout;
    halves->addWidget(buildSchematic(1));
    halves->addWidget(buildSchematic(2));

    auto* save = new QPushButton(QStringLiteral("Speichern"), this);
    save->setObjectName(QStringLiteral("BTNSave"));
    save->setAutoDefault(false);
    auto* version = new QLabel(this);
    version->setObjectName(QStringLiteral("lbl_Version"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(save);
    bottom->addStretch();
    bottom->addWidget(version);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(selection);
    layout->addLayout(halves);
    layout->addLayout(bottom);

    for (QRadioButton* option : {m_route, m_allRoads, m_front})
        connect(option, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                RefreshSelection();
        });
    connect(save, &QPushButton::clicked, this, [this] { BTNSave_Click(); });

    version->setText(VersionLabelText());
    Form_Load();
}

QWidget* frmArrows::buildSchematic(int nr)
{
    auto* half = new QWidget(this);
    auto* grid = new QGridLayout(half);
    auto* heading = new QLabel(nr == 1 ? QStringLiteral("MainSchematic") : QStringLiteral("SecondSchematic"), half);
    grid->addWidget(heading, 0, 0, 1, 5);

    const QString digit = QString::number(nr);
    for (int c = 0; c < 3; ++c) {
        auto* bar = new QScrollBar(Qt::Vertical, half);
        bar->setObjectName(QStringLiteral("VScroll") + ComponentWords[c] + digit);
        bar->setRange(0, 255);
        bar->setPageStep(16);
        bar->setMinimumHeight(128);
        // Dragging and stepping both report through valueChanged.
        connect(bar, &QScrollBar::valueChanged, this,
                [this, nr, c] { SetColors(nr, ArrowColors::Component(c)); });
        m_bars[nr - 1][c] = bar;
        grid->addWidget(bar, 1, c);
    }

    // A crossing seen from above: the route turns right, the other roads run on.
    auto* preview = new QWidget(half);
    preview->setFixedSize(90, 128);
    Preview& lines = m_previews[nr - 1];
    lines.allRoads = lineShape(QStringLiteral("LRouteA") + digit, {10, 40, 70, 4}, preview);
    lines.route[0] = lineShape(QStringLiteral("LRoute") + digit, {43, 42, 4, 80}, preview);
    lines.route[1] = lineShape(QStringLiteral("LRoute") + digit + u'1', {43, 40, 30, 4}, preview);
    lines.route[2] = lineShape(QStringLiteral("LRoute") + digit + u'2', {73, 30, 4, 24}, preview);
    lines.front = lineShape(QStringLiteral("LRouteC") + digit, {77, 36, 8, 12}, preview);
    grid->addWidget(preview, 1, 3);
    lines.picture = new ArrowPreview(half);
    lines.picture->setObjectName(QStringLiteral("arrowPreview") + digit);
    lines.picture->setAccessibleName(QStringLiteral("Vorschau des Abbiegepfeils ") + heading->text());
    grid->addWidget(lines.picture, 1, 4);

    auto* swatchRow = new QHBoxLayout;
    for (const ArrowColors::Kind kind : {ArrowColors::Route, ArrowColors::AllRoads, ArrowColors::Front}) {
        auto* swatch = new QToolButton(half);
        swatch->setObjectName(QLatin1String(Swatches[kind].name) + digit);
        swatch->setText(Swatches[kind].caption);
        swatch->setAccessibleName(Swatches[kind].caption + u' ' + heading->text());
        swatch->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        connect(swatch, &QToolButton::clicked, this, [this, nr, kind] { pickColor(nr, kind); });
        lines.swatches[kind] = swatch;
        swatchRow->addWidget(swatch);
    }
    swatchRow->addStretch();
    grid->addLayout(swatchRow, 3, 0, 1, 5);

    m_hex[nr - 1] = new QLabel(half);
    m_hex[nr - 1]->setObjectName(QStringLiteral("LHEX") + digit);
    grid->addWidget(m_hex[nr - 1], 2, 0, 1, 5);
    return half;
}

void frmArrows::Form_Load()
{
    m_colors.load();
    PaintPreview(1);
    PaintPreview(2);
    for (int nr = 1; nr <= 2; ++nr) {
        SetScrollBars(nr);
        SetHexLabel(nr);
    }
    m_colors.clearChanged();
}

void frmArrows::RefreshSelection()
{
    if (m_allRoads->isChecked())
        m_colors.select(ArrowColors::AllRoads);
    else if (m_front->isChecked())
        m_colors.select(ArrowColors::Front);
    else
        m_colors.select(ArrowColors::Route);
    // Showing another colour changes none.
    const bool changed = m_colors.changed();
    for (int nr = 1; nr <= 2; ++nr) {
        SetScrollBars(nr);
        SetHexLabel(nr);
    }
    if (!changed)
        m_colors.clearChanged();
}

void frmArrows::SetScrollBars(int nr)
{
    for (int c = 0; c < 3; ++c)
        m_bars[nr - 1][c]->setValue(m_colors.component(nr, ArrowColors::Component(c)));
}

void frmArrows::SetColors(int nr, ArrowColors::Component component)
{
    m_colors.SetColors(nr, component, m_bars[nr - 1][component]->value());
    PaintPreview(nr);
    SetHexLabel(nr);
}

void frmArrows::SetHexLabel(int nr)
{
    m_hex[nr - 1]->setText(m_colors.hexLabel(nr));
}

void frmArrows::PaintPreview(int nr)
{
    const Preview& lines = m_previews[nr - 1];
    for (QFrame* line : lines.route)
        paint(line, m_colors.color(nr, ArrowColors::Route));
    paint(lines.allRoads, m_colors.color(nr, ArrowColors::AllRoads));
    paint(lines.front, m_colors.color(nr, ArrowColors::Front));
    for (const ArrowColors::Kind kind : {ArrowColors::AllRoads, ArrowColors::Route, ArrowColors::Front}) {
        const QColor color = m_colors.color(nr, kind);
        lines.picture->setColor(kind, color);
        QToolButton* swatch = lines.swatches[kind];
        swatch->setIcon(filled(color));
        // The usual notation beside the one NavLib.ini keeps.
        swatch->setToolTip(QStringLiteral("%1: %2 (NavLib.ini: %3)")
                               .arg(swatch->text(), color.name(QColor::HexRgb).toUpper(), m_colors.colorText(nr, kind)));
    }
}

QRadioButton* frmArrows::option(ArrowColors::Kind kind) const
{
    switch (kind) {
    case ArrowColors::AllRoads: return m_allRoads;
    case ArrowColors::Front: return m_front;
    case ArrowColors::Route: break;
    }
    return m_route;
}

void frmArrows::pickColor(int nr, ArrowColors::Kind kind)
{
    QColorDialog dialog(m_colors.color(nr, kind), this);
    dialog.setObjectName(QStringLiteral("colorDialog"));
    dialog.setWindowTitle(m_previews[nr - 1].swatches[kind]->accessibleName());
    if (!m_prompter.runDialog(dialog))
        return;
    const QColor picked = dialog.currentColor();
    if (!picked.isValid())
        return;
    option(kind)->setChecked(true);
    const std::array<int, 3> values = {picked.red(), picked.green(), picked.blue()}; // [component]
    for (int c = 0; c < 3; ++c)
        m_bars[nr - 1][c]->setValue(values[c]);
}

bool frmArrows::BTNSave_Click()
{
    if (m_colors.save())
        return true;
    m_prompter.note(QStringLiteral("Hinweis:"),
                           QStringLiteral("NavLib.ini konnte nicht gespeichert werden."),
                           Prompter::Icon::Exclamation);
    return false;
}

void frmArrows::done(int result)
{
    if (m_colors.changed()) {
        // Cancel (or Escape) keeps the window open with the colours, as a failed save does.
        const auto answer = m_prompter.ask(QStringLiteral("Frage:"),
                                                  QStringLiteral("Sollen die Werte gespeichert werden?"),
                                                  Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
        if (answer == Prompter::Answer::Cancel || (answer == Prompter::Answer::Yes && !BTNSave_Click()))
            return;
    }
    QDialog::done(result);
}

void showArrowColours(QWidget* owner, Prompter& prompter, const QString& skinFolder)
{
    frmArrows window(prompter, skinFolder, owner);
    prompter.runDialog(window);
}
