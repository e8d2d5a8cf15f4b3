#include "mainwindow/form2.h"

#include "mainwindow/caption_label.h"
#include "mainwindow/form2_layout.h"
#include "personlist/list_commands.h"
#include "personlist/person_grid.h"
#include "training/form1.h"
#include "uikit/dialogs.h"
#include "uikit/look.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace mainwindow {

namespace {

QString objectNameOf(const layout::Control& c)
{
    QString name = uikit::qtText(c.name);
    if (c.index != layout::NotArray) {
        name += u'(' + QString::number(c.index) + u')';
    }
    return name;
}

QFont fontOf(layout::Font font)
{
    switch (font.face) {
    case layout::Face::Mincho:
        return uikit::mincho(font.points);
    case layout::Face::Gothic:
        return uikit::gothic(font.points);
    case layout::Face::Ui:
        break;
    }
    return uikit::defaultUiFont();
}

// An input's fill is the background of its field; without one it keeps the
// toolkit's colours.
void setColours(QWidget* input, const layout::Control& c)
{
    if (!c.fill && !c.textColour) {
        return;
    }
    QPalette palette = input->palette();
    if (c.fill) {
        palette.setColor(QPalette::Base, uikit::colour(*c.fill));
    }
    if (c.textColour) {
        palette.setColor(QPalette::Text, uikit::colour(*c.textColour));
    }
    input->setPalette(palette);
}

QWidget* makeLabel(const layout::Control& c, QWidget* parent)
{
    auto* label = new CaptionLabel(parent);
    label->setText(uikit::qtText(c.text));
    label->setTextColour(c.textColour.value_or(DefaultLabelTextColour));
    label->setFill(c.fill);
    label->setBordered(c.border);
    label->setLines(c.lines);
    label->setAlignment(c.align == layout::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
    label->setToolTip(uikit::qtText(c.tooltip));
    return label;
}

QWidget* makeLineEdit(const layout::Control& c, QWidget* parent)
{
    auto* edit = new QLineEdit(uikit::qtText(c.text), parent);
    setColours(edit, c);
    return edit;
}

// Editable: the user may pick an item or type any text, and the commands read
// the text of the field, never a position in the list.
QWidget* makeCombo(const layout::Control& c, QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    // Placed and given its face before it turns editable and gets its items: a
    // combo with no size yet measures every item to size itself when it turns
    // editable, and a new face makes it measure its list again, all for a size
    // the layout then overrides.
    combo->setGeometry(c.rect.x, c.rect.y, c.rect.width, c.rect.height);
    combo->setFont(fontOf(c.font));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    QStringList items;
    for (int n = 1; n <= c.items; ++n) {
        items += QString::number(n);
    }
    combo->addItems(items);
    const QString start = uikit::qtText(c.text);
    const int at = combo->findText(start);
    if (at >= 0) {
        combo->setCurrentIndex(at);
    } else {
        combo->setEditText(start);
    }
    setColours(combo, c);
    return combo;
}

QWidget* makeButton(const layout::Control& c, QWidget* parent)
{
    // At 17 pixels high the caption fills the face from edge to edge; the style
    // draws the text unclipped over its margins, so nothing is cut off.
    return new QPushButton(uikit::qtText(c.text), parent);
}

// The person list's grid. Only its place in the window is settled here: the grid
// itself (columns, header row, model, current row) belongs to the person list.
QWidget* makePersonGrid(const layout::Control& /*c*/, QWidget* parent)
{
    return new personlist::PersonGrid(parent);
}

QWidget* makeControl(const layout::Control& c, QWidget* parent)
{
    switch (c.kind) {
    case layout::Kind::Label:
        return makeLabel(c, parent);
    case layout::Kind::LineEdit:
        return makeLineEdit(c, parent);
    case layout::Kind::Combo:
        return makeCombo(c, parent);
    case layout::Kind::Button:
        return makeButton(c, parent);
    case layout::Kind::Grid:
        return makePersonGrid(c, parent);
    }
    return nullptr;
}

}  // namespace

Form2::Form2(uikit::Dialogs* dialogs, QWidget* parent)
    : QWidget(parent),
      m_ownDialogs(dialogs ? nullptr : std::make_unique<uikit::QtDialogs>(this)),
      m_dialogs(dialogs ? *dialogs : *m_ownDialogs),
      m_controls(buildControls()),
      m_display(startDisplay()),
      m_view(m_controls)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("九星方位学"));
    setWindowIcon(uikit::windowIcon());
    // No minimise button: the restored window is smaller than the layout, and
    // maximising is how the user gets all of it back.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    resize(layout::RestoredClientSize.x, layout::RestoredClientSize.y);
    m_view.show(m_display);
    const personlist::PersonInputs personInputs{
        static_cast<QLineEdit*>(control("Text2")), static_cast<QLineEdit*>(control("Text1")),
        static_cast<QComboBox*>(control("Combo1")), static_cast<QComboBox*>(control("Combo2"))};
    m_listCommands = new personlist::ListCommands(personInputs, personGrid(), m_dialogs, this);
    setBuddies();
    setFocusOrder();
    connectCommands();
    control("Text1")->setFocus();
}

std::vector<QWidget*> Form2::buildControls()
{
    std::vector<QWidget*> controls;
    controls.reserve(layout::Controls.size());
    for (const layout::Control& c : layout::Controls) {
        QWidget* w = makeControl(c, this);
        w->setObjectName(objectNameOf(c));
        w->setGeometry(c.rect.x, c.rect.y, c.rect.width, c.rect.height);
        w->setFont(fontOf(c.font));
        // Japanese conversion is no use in a date; only the name box allows it.
        w->setAttribute(Qt::WA_InputMethodEnabled, c.inputMethod);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, c.inputMethod);
        }
        w->setHidden(c.hidden);
        if (c.kind != layout::Kind::Label) {
            w->setAccessibleName(uikit::qtText(c.accessibleName.empty() ? c.text : c.accessibleName));
        }
        controls.push_back(w);
    }
    return controls;
}

void Form2::setBuddies()
{
    for (std::size_t i = 0; i < layout::Controls.size(); ++i) {
        if (!layout::Controls[i].buddy.empty()) {
            static_cast<QLabel*>(m_controls[i])->setBuddy(control(layout::Controls[i].buddy));
        }
    }
}

void Form2::setFocusOrder()
{
    for (std::size_t i = 0; i + 1 < layout::TabOrder.size(); ++i) {
        setTabOrder(control(layout::TabOrder[i]), control(layout::TabOrder[i + 1]));
    }
}

void Form2::connectCommands()
{
    connect(static_cast<QPushButton*>(control("Command1")), &QPushButton::clicked, this,
            &Form2::calculateReading);
    connect(static_cast<QPushButton*>(control("Command2")), &QPushButton::clicked, this, &Form2::openTraining);
    auto button = [this](std::string_view name) { return static_cast<QPushButton*>(control(name)); };
    using personlist::ListCommands;
    connect(button("Command3"), &QPushButton::clicked, m_listCommands, &ListCommands::registerPerson);
    connect(button("Command4"), &QPushButton::clicked, m_listCommands, &ListCommands::loadPerson);
    connect(button("Command7"), &QPushButton::clicked, m_listCommands, &ListCommands::deletePerson);
    connect(button("Command5"), &QPushButton::clicked, m_listCommands, &ListCommands::saveList);
    connect(button("Command6"), &QPushButton::clicked, m_listCommands, &ListCommands::openList);
}

Form2::~Form2() = default;

personlist::PersonGrid& Form2::personGrid() const
{
    return *static_cast<personlist::PersonGrid*>(control("MSFlexGrid1"));
}

QWidget* Form2::control(std::string_view name, int index) const
{
    const std::size_t at = layout::indexOf(name, index);
    return at < m_controls.size() ? m_controls[at] : nullptr;
}

ReadingInputs Form2::readingInputs() const
{
    auto lineText = [this](std::string_view name) {
        return static_cast<const QLineEdit*>(control(name))->text().toStdString();
    };
    auto comboText = [this](std::string_view name) {
        return static_cast<const QComboBox*>(control(name))->currentText().toStdString();
    };
    return {lineText("Text1"), comboText("Combo1"), comboText("Combo2"),
            lineText("Text4"), comboText("Combo3"), comboText("Combo4")};
}

void Form2::showReading(ReadingDisplay display)
{
    m_display = std::move(display);
    m_view.show(m_display);
}

void Form2::calculateReading()
{
    // The previous display is handed over, not copied: steps that fail keep
    // its values, exactly as the labels would.
    showReading(calculate(readingInputs(), std::move(m_display)));
}

void Form2::openTraining()
{
    // Shown before this window hides, so that the program always has a window
    // on screen; the training window deletes itself when it closes.
    auto* training = new Form1;
    connect(training, &Form1::returnToMain, this, &QWidget::show);
    training->show();
    hide();
}

void Form2::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

}  // namespace mainwindow
