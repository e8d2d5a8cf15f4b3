#include "mainwindow/form2.h"

#include "mainwindow/form2_widgets.h"
#include "personlist/list_commands.h"
#include "training/form1.h"
#include "training/window_icon.h"
#include "reckoning/tables.h"
#include "uikit/accessibility.h"
#include "uikit/dialogs.h"
#include "uikit/input_method.h"
#include "uikit/look.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

namespace mainwindow {

namespace {

QString objectNameOf(const form2_layout::Control& c)
{
    QString name = uikit::qtText(c.name);
    if (c.index != form2_layout::NotArray) {
        name += u'(' + QString::number(c.index) + u')';
    }
    return name;
}

QFont fontOf(form2_layout::Font font)
{
    switch (font.face) {
    case form2_layout::Face::Mincho:
        return uikit::mincho(font.points);
    case form2_layout::Face::Gothic:
        return uikit::gothic(font.points);
    case form2_layout::Face::Ui:
        break;
    }
    return uikit::defaultUiFont();
}

// Rounded down: a caption that fills its label at 1:1 must still fit the
// smaller label, or it would break onto a line the label has no room for.
QFont scaledFont(form2_layout::Font font, double scale)
{
    QFont f = fontOf(font);
    if (scale != 1) {
        f.setPixelSize(std::max(1, static_cast<int>(f.pixelSize() * scale)));
    }
    return f;
}

// Below this the smallest captions (9 pt, 12 px) would come out under 9 px,
// where kanji no longer read; a screen that small sees the rest cut off, as it
// does today with the restored window.
constexpr double SmallestScale = 0.75;

int scaledPixel(int at, double scale) { return static_cast<int>(std::lround(at * scale)); }

// A bordered cell keeps the one pixel it shares with its right and lower
// neighbours: its last pixel is scaled, not the edge after it, so the two
// cells still overlap by exactly one pixel and draw one line between them.
QRect scaledRect(const form2_layout::Control& c, double scale)
{
    const form2_layout::Rect& r = c.rect;
    const int overlap = c.border ? 1 : 0;
    const int left = scaledPixel(r.x, scale);
    const int top = scaledPixel(r.y, scale);
    return {left, top, scaledPixel(r.x + r.width - overlap, scale) + overlap - left,
            scaledPixel(r.y + r.height - overlap, scale) + overlap - top};
}

// An input's fill is the background of its field; without one it keeps the
// toolkit's colours.
void setInputColours(QWidget* input, const form2_layout::Control& c)
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

// What a screen reader calls a control. A label that a reading writes is named
// by ReadingView; the others by their caption, which is the toolkit's default.
QString spokenName(const form2_layout::Control& c)
{
    if (c.name == form2_layout::LegendName) {
        return QStringLiteral("定位盤 ") + uikit::qtText(reckoning::spokenCell(c.index, reckoning::boardNumeral(c.index)));
    }
    if (c.kind == form2_layout::Kind::Label) {
        return {};
    }
    return uikit::qtText(c.accessibleName.empty() ? c.text : c.accessibleName);
}

QWidget* makeLabel(const form2_layout::Control& c, QWidget* parent)
{
    auto* label = new WidgetOf<form2_layout::Kind::Label>::type(parent);
    label->setText(uikit::qtText(c.text));
    label->setTextColour(c.textColour.value_or(DefaultLabelTextColour));
    label->setFill(c.fill);
    label->setBordered(c.border);
    label->setLines(c.lines);
    label->setAlignment(c.align == form2_layout::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
    label->setToolTip(uikit::qtText(c.tooltip));
    return label;
}

QWidget* makeLineEdit(const form2_layout::Control& c, QWidget* parent)
{
    WidgetOf<form2_layout::Kind::LineEdit>::type* edit =
        c.inputMethod ? new QLineEdit(parent) : new uikit::DirectLineEdit(parent);
    edit->setText(uikit::qtText(c.text));
    setInputColours(edit, c);
    return edit;
}

// Editable: the user may pick an item or type any text, and the commands read
// the text of the field, never a position in the list.
QWidget* makeCombo(const form2_layout::Control& c, QWidget* parent)
{
    auto* combo = new WidgetOf<form2_layout::Kind::Combo>::type(parent);
    // Placed and given its face before it turns editable and gets its items: a
    // combo with no size yet measures every item to size itself when it turns
    // editable, and a new face makes it measure its list again, all for a size
    // the layout then overrides.
    combo->setGeometry(c.rect.x, c.rect.y, c.rect.width, c.rect.height);
    combo->setFont(fontOf(c.font));
    combo->setEditable(true);
    if (!c.inputMethod) {
        combo->setLineEdit(new uikit::DirectLineEdit(combo));
    }
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
    setInputColours(combo, c);
    return combo;
}

QWidget* makeButton(const form2_layout::Control& c, QWidget* parent)
{
    // At 17 pixels high the caption fills the face from edge to edge; the style
    // draws the text unclipped over its margins, so nothing is cut off.
    return new WidgetOf<form2_layout::Kind::Button>::type(uikit::qtText(c.text), parent);
}

// The person list's grid. Only its place in the window is settled here: the grid
// itself (columns, header row, model, current row) belongs to the person list.
QWidget* makePersonGrid(const form2_layout::Control& /*c*/, QWidget* parent)
{
    return new WidgetOf<form2_layout::Kind::Grid>::type(parent);
}

QWidget* makeControl(const form2_layout::Control& c, QWidget* parent)
{
    switch (c.kind) {
    case form2_layout::Kind::Label:
        return makeLabel(c, parent);
    case form2_layout::Kind::LineEdit:
        return makeLineEdit(c, parent);
    case form2_layout::Kind::Combo:
        return makeCombo(c, parent);
    case form2_layout::Kind::Button:
        return makeButton(c, parent);
    case form2_layout::Kind::Grid:
        return makePersonGrid(c, parent);
    }
    return nullptr;
}

}  // namespace

Form2::Form2(uikit::Dialogs* dialogs, uikit::InputMethodSwitch* inputMethod, QWidget* parent)
    : QWidget(parent),
      m_ownDialogs(dialogs ? nullptr : std::make_unique<uikit::QtDialogs>(this)),
      m_dialogs(dialogs ? *dialogs : *m_ownDialogs),
      m_controls(buildControls(inputMethod ? *inputMethod : uikit::platformInputMethodSwitch())),
      m_display(startDisplay()),
      m_view(m_controls)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("九星方位学"));
    setWindowIcon(training::windowIcon());
    // No minimise button: the restored window is smaller than the layout, and
    // maximising is how the user gets all of it back.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    resize(form2_layout::RestoredClientSize.x, form2_layout::RestoredClientSize.y);
    m_view.show(m_display);
    using namespace form2_layout::control;
    const personlist::PersonInputs personInputs{widget(Text2), widget(Text1), widget(Combo1), widget(Combo2)};
    m_listCommands = new personlist::ListCommands(personInputs, personGrid(), m_dialogs, this);
    setBuddies();
    setFocusOrder();
    connectCommands();
    widget(Text1)->setFocus();
}

double Form2::layoutScale() const
{
    if (!(windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return 1;
    }
    const form2_layout::Rect& all = form2_layout::LayoutArea;
    const double fits = std::min(double(width()) / all.width, double(height()) / all.height);
    return std::clamp(fits, SmallestScale, 1.0);
}

void Form2::fitLayout()
{
    const double scale = layoutScale();
    if (scale == m_scale) {
        return;
    }
    m_scale = scale;
    for (std::size_t i = 0; i < form2_layout::Controls.size(); ++i) {
        m_controls[i]->setGeometry(scaledRect(form2_layout::Controls[i], scale));
        m_controls[i]->setFont(scaledFont(form2_layout::Controls[i].font, scale));
    }
    scaleGrid();
}

// The grid sizes its columns, rows and header row in pixels of its own; they
// follow the layout's scale, or the grid would need a scroll bar to show its
// columns. Where the layout is drawn 1:1 the grid is left exactly as it made
// itself.
void Form2::scaleGrid()
{
    using personlist::PersonGrid;
    PersonGrid& grid = personGrid();
    QHeaderView* columns = grid.horizontalHeader();
    QHeaderView* numbers = grid.verticalHeader();
    // First: resizing the sections lays the grid out again, with this height.
    if (m_scale == 1) {
        columns->setMinimumHeight(0);
        columns->setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        columns->setFixedHeight(scaledPixel(PersonGrid::RowHeight, m_scale));
    }
    for (int c = 0; c + 1 < int(PersonGrid::ColumnWidths.size()); ++c) {
        columns->resizeSection(c, scaledPixel(PersonGrid::ColumnWidths[std::size_t(c) + 1], m_scale));
    }
    numbers->setDefaultSectionSize(scaledPixel(PersonGrid::RowHeight, m_scale));
    fitNumberColumn();
    // Nothing else tells the grid that its header row changed height.
    QMetaObject::invokeMethod(&grid, "updateGeometries");
}

// The number column keeps at least its own 33 pixels, scaled; it grows only when
// the largest number needs more in the scaled face.
void Form2::fitNumberColumn()
{
    using personlist::PersonGrid;
    PersonGrid& grid = personGrid();
    const bool floorOnly = PersonGrid::numberColumnWidth(grid.fontMetrics(), grid.lastRow()) == PersonGrid::ColumnWidths[0];
    grid.verticalHeader()->setMaximumWidth(m_scale == 1 || !floorOnly ? QWIDGETSIZE_MAX
                                                                        : scaledPixel(PersonGrid::ColumnWidths[0], m_scale));
}

void Form2::resizeEvent(QResizeEvent* event)
{
    fitLayout();
    QWidget::resizeEvent(event);
}

void Form2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        fitLayout();
    }
    QWidget::changeEvent(event);
}

std::vector<QWidget*> Form2::buildControls(uikit::InputMethodSwitch& inputMethod)
{
    std::vector<QWidget*> controls;
    controls.reserve(form2_layout::Controls.size());
    for (const form2_layout::Control& c : form2_layout::Controls) {
        QWidget* w = makeControl(c, this);
        w->setObjectName(objectNameOf(c));
        w->setGeometry(c.rect.x, c.rect.y, c.rect.width, c.rect.height);
        w->setFont(fontOf(c.font));
        // Japanese conversion is no use in a date; only the name box allows it
        // (the date inputs are DirectLineEdits: the attribute alone is not enough),
        // and switches it on when the user moves to it.
        w->setAttribute(Qt::WA_InputMethodEnabled, c.inputMethod);
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            combo->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, c.inputMethod);
        }
        if (c.inputMethod) {
            uikit::switchOnJapaneseOnFocus(w, inputMethod);
        }
        w->setHidden(c.hidden);
        if (c.silent) {
            uikit::setSilent(w);
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            uikit::setComboName(combo, spokenName(c));
        } else if (const QString name = spokenName(c); !name.isEmpty()) {
            w->setAccessibleName(name);
        }
        controls.push_back(w);
    }
    return controls;
}

void Form2::setBuddies()
{
    for (std::size_t i = 0; i < form2_layout::Controls.size(); ++i) {
        if (!form2_layout::Controls[i].buddy.empty()) {
            static_cast<QLabel*>(m_controls[i])->setBuddy(m_controls[form2_layout::indexOf(form2_layout::Controls[i].buddy)]);
        }
    }
}

void Form2::setFocusOrder()
{
    for (std::size_t i = 0; i + 1 < form2_layout::TabStops.size(); ++i) {
        setTabOrder(m_controls[form2_layout::TabStops[i]], m_controls[form2_layout::TabStops[i + 1]]);
    }
}

void Form2::connectCommands()
{
    using namespace form2_layout::control;
    using personlist::ListCommands;
    connect(widget(Command1), &QPushButton::clicked, this, &Form2::calculateReading);
    connect(widget(Command2), &QPushButton::clicked, this, &Form2::openTraining);
    connect(widget(Command3), &QPushButton::clicked, m_listCommands, &ListCommands::registerPerson);
    connect(widget(Command4), &QPushButton::clicked, m_listCommands, &ListCommands::loadPerson);
    connect(widget(Command7), &QPushButton::clicked, m_listCommands, &ListCommands::deletePerson);
    connect(widget(Command5), &QPushButton::clicked, m_listCommands, &ListCommands::saveList);
    connect(widget(Command6), &QPushButton::clicked, m_listCommands, &ListCommands::openList);
    const personlist::PersonGridModel* persons = &personGrid().model();
    connect(persons, &QAbstractItemModel::rowsInserted, this, &Form2::fitNumberColumn);
    connect(persons, &QAbstractItemModel::rowsRemoved, this, &Form2::fitNumberColumn);
    connect(persons, &QAbstractItemModel::modelReset, this, &Form2::fitNumberColumn);
}

Form2::~Form2() = default;

personlist::PersonGrid& Form2::personGrid() const { return *widget(form2_layout::control::MSFlexGrid1); }

template <form2_layout::Kind K>
typename WidgetOf<K>::type* Form2::widget(form2_layout::Handle<K> handle) const
{
    return widgetAt(m_controls, handle);
}

ReadingInputs Form2::readingInputs() const
{
    using namespace form2_layout::control;
    auto text = [](const auto* input) {
        if constexpr (std::is_same_v<decltype(input), const QComboBox*>) {
            return uikit::coreText(input->currentText());
        } else {
            return uikit::coreText(input->text());
        }
    };
    return {text(widget(Text1)), text(widget(Combo1)), text(widget(Combo2)),
            text(widget(Text4)), text(widget(Combo3)), text(widget(Combo4))};
}

void Form2::showReading(ReadingDisplay display)
{
    m_display = std::move(display);
    m_view.show(m_display);
}

void Form2::calculateReading()
{
    const ReadingInputs inputs = readingInputs();
    if (yearBoxEmpty(inputs)) {
        return;
    }
    if (const std::optional<ReadingField> field = firstNonNumber(inputs)) {
        refuseInput(*field);
        return;
    }
    showReading(calculate(inputs, std::move(m_display)));
}

void Form2::refuseInput(ReadingField field)
{
    using namespace form2_layout::control;
    const std::array<QWidget*, 6> inputs = {widget(Text1), widget(Combo1), widget(Combo2),
                                            widget(Text4), widget(Combo3), widget(Combo4)};
    QWidget* input = inputs[static_cast<std::size_t>(field)];
    // The reading on screen stays whole; the user hears that nothing happened and
    // finds the text to retype already selected.
    QApplication::beep();
    input->setFocus(Qt::OtherFocusReason);
    if (auto* combo = qobject_cast<QComboBox*>(input)) {
        combo->lineEdit()->selectAll();
    } else if (auto* edit = qobject_cast<QLineEdit*>(input)) {
        edit->selectAll();
    }
}

void Form2::openTraining()
{
    // One training window at most: a second click queued while the program was
    // busy finds this window hidden and the training window already open.
    if (m_training) {
        return;
    }
    // Shown before this window hides, so that the program always has a window
    // on screen; the training window deletes itself when it closes.
    m_training = new training::Form1;
    connect(m_training, &training::Form1::returnToMain, this, &QWidget::show);
    m_training->show();
    hide();
}

void Form2::closeEvent(QCloseEvent* event)
{
    // Closing this window ends the program at once, whatever else is open. The
    // training window goes too, without handing back to a window that is
    // closing; as the last window on screen, its closing ends the program even
    // when this window was hidden (a session that logs out closes both).
    if (m_training) {
        m_training->disconnect(this);
        m_training->close();
    }
    QWidget::closeEvent(event);
}

void Form2::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

}  // namespace mainwindow
