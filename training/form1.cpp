#include "training/form1.h"

#include "training/speed_slider.h"
#include "training/window_icon.h"
#include "reckoning/tables.h"
#include "uikit/accessibility.h"
#include "uikit/look.h"
#include "uikit/push_button.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace training {

namespace {

// The training window's layout, in pixels of its client area at 96 dpi.
namespace form1_layout {

constexpr QSize ClientSize{792, 573};
constexpr std::uint32_t WindowColour = 0x000000;

// The board: a 3 x 3 grid, south at the top and east at the left. Cells are one
// pixel wider than the pitch, so neighbours overlap and no black shows between
// them; the 北西 cell (palace 6) alone is one pixel shorter.
constexpr QPoint BoardOrigin{8, 8};
constexpr int CellPitch = 176;
constexpr QSize CellSize{177, 177};
constexpr int ShortCellPalace = 6;
constexpr std::uint32_t CellTextColour = 0xC0C0FF;
constexpr double CellPoints = 36;

constexpr QRect ScratchRect{584, 320, 73, 49};

struct TextLabel {
    QRect rect;
    std::uint32_t text;
    std::uint32_t background;
    double points;
};
constexpr TextLabel DirectionLabel{{648, 24, 89, 41}, 0xC0FFC0, 0x000000, 27.75};
constexpr TextLabel PeriodLabel{{664, 480, 89, 33}, 0xFFFFC0, 0x000000, 20.25};

constexpr QRect SliderRect{760, 0, 33, 577};
constexpr SpeedSlider::Settings SliderSettings{
    .minimum = -120, .maximum = 120, .value = 4, .singleStep = 1, .pageStep = 5, .tickInterval = 10};

constexpr QRect ReturnRect{664, 536, 81, 25};

// Captions are centred across the label and start at its top, as on every label
// of the program; a caption too wide for its label breaks onto further lines.
constexpr Qt::Alignment CaptionAlignment = Qt::AlignHCenter | Qt::AlignTop;

QRect cellRect(int palace)
{
    const reckoning::GridCell at = reckoning::gridCell(palace);
    QSize size = CellSize;
    if (palace == ShortCellPalace) {
        size.rheight() -= 1;
    }
    return {BoardOrigin + QPoint(at.column * CellPitch, at.row * CellPitch), size};
}

}  // namespace form1_layout

QString cellName(std::size_t palace) { return QStringLiteral("Label1(%1)").arg(palace); }

QLabel* makeLabel(QWidget* parent, const QString& name, const QRect& rect)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(rect);
    label->setWordWrap(true);
    return label;
}

void setLabelColours(QLabel* label, std::optional<std::uint32_t> text, std::optional<std::uint32_t> background)
{
    QPalette palette = label->palette();
    if (text) {
        palette.setColor(QPalette::WindowText, uikit::colour(*text));
    }
    if (background) {
        palette.setColor(QPalette::Window, uikit::colour(*background));
    }
    label->setPalette(palette);
    label->setAutoFillBackground(background.has_value());
}

void setLook(QLabel* label, const form1_layout::TextLabel& look)
{
    label->setFont(uikit::mincho(look.points));
    label->setAlignment(form1_layout::CaptionAlignment);
    setLabelColours(label, look.text, look.background);
}

}  // namespace

Form1::Form1() : QWidget(nullptr, Qt::Window), m_board(initialTrainingBoard())
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("トヴァラ"));
    setWindowIcon(training::windowIcon());
    // No minimise or maximise button: only the title, the system menu and close.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(form1_layout::ClientSize);

    createControls();
    showBoard();
    connectControls();
    m_slider->setFocus();
    // The load sets the labels and the period as they stand in the layout; it runs
    // no handler, and the first tick comes one period after the window opens.
    m_timer->start(tickPeriod(m_slider->value()));
}

void Form1::createControls()
{
    for (std::size_t p = 1; p <= 9; ++p) {
        QLabel* cell = makeLabel(this, cellName(p), form1_layout::cellRect(static_cast<int>(p)));
        cell->setFont(uikit::mincho(form1_layout::CellPoints));
        cell->setAlignment(form1_layout::CaptionAlignment);
        m_cells[p] = cell;
    }
    m_cells[ScratchCell] = makeLabel(this, cellName(ScratchCell), form1_layout::ScratchRect);
    m_cells[ScratchCell]->hide();
    uikit::setSilent(m_cells[ScratchCell]);

    m_direction = makeLabel(this, QStringLiteral("Label2"), form1_layout::DirectionLabel.rect);
    setLook(m_direction, form1_layout::DirectionLabel);
    m_direction->setText(uikit::qtText(OnwardDirection));

    m_period = makeLabel(this, QStringLiteral("Label3"), form1_layout::PeriodLabel.rect);
    setLook(m_period, form1_layout::PeriodLabel);
    m_period->setText(uikit::qtText(periodText(form1_layout::SliderSettings.value)));

    // The slider is created before the button so that it comes first in the
    // keyboard order; the labels take no focus.
    m_slider = new SpeedSlider(form1_layout::SliderSettings, this);
    m_slider->setObjectName(QStringLiteral("Slider1"));
    m_slider->setGeometry(form1_layout::SliderRect);
    m_slider->setToolTip(QStringLiteral("スピードコントロール"));
    m_slider->setAccessibleName(m_slider->toolTip());
    // Its own background, as a slider control has: on the window's black, the
    // toolkit's dark tick marks would not show.
    m_slider->setAutoFillBackground(true);

    m_return = new uikit::PushButton(QStringLiteral("戻る"), this);
    m_return->setObjectName(QStringLiteral("Command1"));
    m_return->setGeometry(form1_layout::ReturnRect);
    m_return->setFont(uikit::defaultUiFont());
    m_return->setAccessibleName(m_return->text());
    setTabOrder(m_slider, m_return);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    // Evenly spaced ticks: a coarse timer may drift a tick by 5% of its period.
    m_timer->setTimerType(Qt::PreciseTimer);
}

void Form1::connectControls()
{
    connect(m_timer, &QTimer::timeout, this, &Form1::tick);
    connect(m_slider, &QSlider::valueChanged, this, &Form1::onSliderChanged);
    connect(m_return, &QPushButton::clicked, this, &QWidget::close);
}

void Form1::tick()
{
    FlightStep step = flightStep(m_board, m_slider->value());
    m_direction->setText(uikit::qtText(step.direction));
    m_board = std::move(step.board);
    showBoard();
}

void Form1::onSliderChanged(int value)
{
    // The direction label is left alone: the next tick reads the sign and says so.
    m_period->setText(uikit::qtText(periodText(value)));
    const std::chrono::milliseconds period = tickPeriod(value);
    if (period.count() == 0) {
        m_timer->stop();
    } else if (!m_timer->isActive() || m_timer->intervalAsDuration() != period) {
        // A new period counts from now, so a faster setting is felt at once.
        m_timer->start(period);
    }
}

void Form1::showBoard()
{
    for (std::size_t p = 0; p < m_cells.size(); ++p) {
        const Cell& cell = m_board.cell[p];
        m_cells[p]->setText(uikit::qtText(cell.caption));
        const bool scratch = p == ScratchCell;
        setLabelColours(m_cells[p], scratch ? std::nullopt : std::optional{form1_layout::CellTextColour}, cell.background);
        if (!scratch) {
            m_cells[p]->setAccessibleName(uikit::qtText(reckoning::spokenCell(static_cast<int>(p), cell.caption)));
        }
    }
}

void Form1::closeEvent(QCloseEvent* event)
{
    m_timer->stop();
    // Before the window goes: while it is still visible the main window appears,
    // so the program never passes through a moment with no window (which would
    // end it).
    emit returnToMain();
    event->accept();
}

void Form1::paintEvent(QPaintEvent* /*event*/)
{
    // Painted rather than set in the palette, which the slider and the button
    // would inherit: they keep the toolkit's own colours.
    QPainter(this).fillRect(rect(), uikit::colour(form1_layout::WindowColour));
}

}  // namespace training
