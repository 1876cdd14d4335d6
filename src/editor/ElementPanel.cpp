#include "ElementPanel.h"

#include "Canvas.h"
#include "CanvasText.h"
#include "Elements.h"
#include "LayoutDocument.h"
#include "NumberText.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// An arrow pointing the given way (0 up, 90 right, 180 down, 270 left).
QIcon arrowIcon(int degrees, const QColor& colour)
{
    constexpr int Size = 20;
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(Size / 2.0, Size / 2.0);
    painter.rotate(degrees);
    const QPolygonF arrow{{0, -8}, {7, 0}, {2.5, 0}, {2.5, 8}, {-2.5, 8}, {-2.5, 0}, {-7, 0}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(arrow);
    return QIcon(pixmap);
}

} // namespace

ElementPanel::ElementPanel(LayoutDocument& document, Canvas& canvas, Elements& elements, QWidget* parent)
    : QWidget(parent), m_document(document), m_canvas(canvas), m_elements(elements)
{
    setObjectName(QStringLiteral("ElementPanel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 6);
    buildName();
    buildFields();
    buildCross();
    column->addStretch();
    // Reading order: the four values, then the cross from top to bottom.
    QWidget* const order[] = {txtX, txtY, txtCX, txtCY, MoveN, MoveW, BTNpos, MoveO, MoveS};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void ElementPanel::buildName()
{
    Label2 = new QLabel(QStringLiteral("aktives Element:"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    LBLiniName = new QLabel(m_canvas.nameLabel()->text(), this);
    LBLiniName->setObjectName(QStringLiteral("LBLiniName"));
    LBLiniName->setAccessibleName(QStringLiteral("aktives Element"));
    LBLiniName->setMinimumWidth(180);
    // A long name is cut rather than widening the dock; the tool tip shows it whole.
    LBLiniName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont bold = LBLiniName->font();
    bold.setBold(true);
    LBLiniName->setFont(bold);
    connect(m_canvas.nameLabel(), &CanvasText::textChanged, LBLiniName, [this](const QString& name) {
        LBLiniName->setText(name);
        LBLiniName->setToolTip(name);
    });
    layout()->addWidget(Label2);
    layout()->addWidget(LBLiniName);
}

void ElementPanel::buildFields()
{
    auto* grid = new QGridLayout;
    const struct { const char* label; QLineEdit** field; Field which; int row, col; } fields[] = {
        {"X", &txtX, FieldX, 0, 0},
        {"Y", &txtY, FieldY, 0, 2},
        {"CX", &txtCX, FieldCX, 1, 0},
        {"CY", &txtCY, FieldCY, 1, 2},
    };
    for (const auto& f : fields) {
        auto* label = new QLabel(QString::fromLatin1(f.label), this);
        *f.field = new QLineEdit(this);
        (*f.field)->setObjectName(fieldText(f.which)->objectName());
        (*f.field)->setAccessibleName(QString::fromLatin1(f.label));
        (*f.field)->setFixedWidth(64);
        (*f.field)->setAlignment(Qt::AlignRight);
        // A field paints its whole rectangle, so a new value during a drag
        // repaints the field alone and not the dock behind it.
        (*f.field)->setAttribute(Qt::WA_OpaquePaintEvent);
        label->setBuddy(*f.field);
        grid->addWidget(label, f.row, f.col, Qt::AlignRight);
        grid->addWidget(*f.field, f.row, f.col + 1);
        bindField(*f.field, f.which);
    }
    grid->setColumnStretch(4, 1);
    static_cast<QVBoxLayout*>(layout())->addLayout(grid);
}

void ElementPanel::buildCross()
{
    auto* box = new QGroupBox(QStringLiteral("Verschieben"), this);
    auto* row = new QHBoxLayout(box);
    auto* cross = new QGridLayout;
    cross->setSpacing(4);
    row->addStretch();
    row->addLayout(cross);
    row->addStretch();
    const QColor arrowColour = palette().color(QPalette::ButtonText);
    const struct { QPushButton** button; const char* name; const char* tip; NudgeDirection direction; int degrees, row, col; } arrows[] = {
        {&MoveN, "MoveN", "hoch", NudgeDirection::North, 0, 0, 1},
        {&MoveS, "MoveS", "runter", NudgeDirection::South, 180, 2, 1},
        {&MoveW, "MoveW", "links", NudgeDirection::West, 270, 1, 0},
        {&MoveO, "MoveO", "rechts", NudgeDirection::East, 90, 1, 2},
    };
    for (const auto& a : arrows) {
        *a.button = new QPushButton(box);
        (*a.button)->setObjectName(QString::fromLatin1(a.name));
        (*a.button)->setToolTip(QString::fromLatin1(a.tip));
        (*a.button)->setAccessibleName(QString::fromLatin1(a.tip));
        (*a.button)->setIcon(arrowIcon(a.degrees, arrowColour));
        (*a.button)->setIconSize(QSize(20, 20));
        (*a.button)->setFixedSize(56, 32);
        (*a.button)->setAutoRepeat(true);
        cross->addWidget(*a.button, a.row, a.col);
        const NudgeDirection direction = a.direction;
        connect(*a.button, &QPushButton::clicked, this, [this, direction] { emit nudgeClicked(direction); });
    }
    BTNpos = new QPushButton(box);
    BTNpos->setObjectName(QStringLiteral("BTNpos"));
    BTNpos->setToolTip(QStringLiteral("Modus"));
    BTNpos->setAccessibleName(QStringLiteral("Modus"));
    BTNpos->setFixedSize(56, 32);
    cross->addWidget(BTNpos, 1, 1);
    connect(BTNpos, &QPushButton::clicked, this, &ElementPanel::modeClicked);
    showMode(0);
    layout()->addWidget(box);
}

void ElementPanel::showMode(int mode)
{
    static const char* const captions[] = {"pos.", "scale+", "scale-"};
    BTNpos->setText(QString::fromLatin1(captions[mode]));
}

CanvasText* ElementPanel::fieldText(Field which) const
{
    CanvasText* const texts[] = {m_canvas.txtX(), m_canvas.txtY(), m_canvas.txtCX(), m_canvas.txtCY()};
    return texts[which];
}

QLineEdit* ElementPanel::field(Field which) const
{
    QLineEdit* const fields[] = {txtX, txtY, txtCX, txtCY};
    return fields[which];
}

std::optional<Field> ElementPanel::fieldOf(const QObject* widget) const
{
    for (const Field f : {FieldX, FieldY, FieldCX, FieldCY})
        if (widget && widget == field(f))
            return f;
    return std::nullopt;
}

void ElementPanel::bindField(QLineEdit* field, Field which)
{
    CanvasText* text = fieldText(which);
    field->setText(text->text());
    connect(text, &CanvasText::textChanged, field, [field](const QString& value) {
        // Rewriting an equal text would move the caret while the user types.
        if (field->text() != value)
            field->setText(value);
    });
    // Each edit places the selection, when the text is a number other than the one shown.
    connect(field, &QLineEdit::textEdited, this, [this, which, text](const QString& typed) {
        text->setText(typed);
        if (typed == m_elements.fieldText(which))
            return;
        const auto value = ParseNumberOrPoint(typed, m_elements.locale());
        if (!value)
            return;
        // The field keeps the user's text: rewriting "-0" as "0" would turn the next "5" into "05".
        const QSignalBlocker keep(text);
        m_document.typeValue(which, *value);
    });
    // Enter, Tab and leaving the field end the typing: it shows the element's value.
    connect(field, &QLineEdit::editingFinished, this, &ElementPanel::showActiveValues);
}

void ElementPanel::showActiveValues()
{
    m_document.finishStep();
    m_elements.paintSelector();
    for (const Field f : {FieldX, FieldY, FieldCX, FieldCY})
        field(f)->setText(fieldText(f)->text());
}

void ElementPanel::stepField(Field which, int step)
{
    if (m_document.current() < 0)
        return;
    // From what the field holds, typed or shown; with several selected that differ, from the current one.
    const auto typed = ParseNumberOrPoint(field(which)->text(), m_elements.locale());
    const double value = typed ? *typed : Layout::FieldNumbers(m_document.shown(m_document.current()))[which];
    m_document.typeValue(which, value + step);
    field(which)->setText(m_elements.fieldText(which));
}
