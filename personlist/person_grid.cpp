#include "personlist/person_grid.h"

#include "uikit/device_pixels.h"
#include "uikit/focus_frame.h"
#include "uikit/look.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>

namespace personlist {

namespace {

constexpr std::uint32_t BeyondLastRowColour = 0x808080;
constexpr std::uint32_t CellLineColour = 0xC0C0C0;
constexpr std::uint32_t FixedLineColour = 0x000000;
constexpr int TextMargin = 2;

Qt::Alignment alignmentOf(const QVariant& v)
{
    return v.isValid() ? Qt::Alignment(v.toInt()) : (Qt::AlignLeft | Qt::AlignVCenter);
}

// Draws one cell with its own right and bottom line, so that the lines between
// headings can be black while the lines between persons are light grey.
void paintCell(QPainter* painter, const QRect& rect, const QColor& fill, const QColor& textColour,
               std::uint32_t line, Qt::Alignment alignment, const QString& text)
{
    {
        // On device pixels, so that every line between two headings or two cells
        // is as wide as the others at any display scale.
        uikit::DevicePixels device(*painter);
        const QRect cell = device.area(rect);
        painter->fillRect(cell, fill);
        device.drawRightAndBottom(cell, uikit::colour(line));
    }
    painter->setPen(textColour);
    painter->drawText(rect.adjusted(TextMargin, 0, -TextMargin - 1, -1), static_cast<int>(alignment), text);
}

void paintHeading(QPainter* painter, const QRect& rect, const QWidget& on, const QString& text, Qt::Alignment alignment)
{
    painter->save();
    painter->setFont(on.font());
    paintCell(painter, rect, on.palette().color(QPalette::Active, QPalette::Button),
              on.palette().color(QPalette::Active, QPalette::ButtonText), FixedLineColour, alignment, text);
    painter->restore();
}

class CellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // The selection keeps its highlight when the grid loses the focus, so the
        // person that 読み出し and 削除 act on stays marked.
        const QPalette& palette = option.palette;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QColor fill = palette.color(QPalette::Active, selected ? QPalette::Highlight : QPalette::Base);
        const QColor text = palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text);
        painter->save();
        painter->setFont(option.font);
        paintCell(painter, option.rect, fill, text, CellLineColour, alignmentOf(index.data(Qt::TextAlignmentRole)),
                  index.data().toString());
        if (option.state.testFlag(QStyle::State_HasFocus)) {
            QPen dotted(text);
            dotted.setStyle(Qt::DotLine);
            painter->setPen(dotted);
            painter->drawRect(option.rect.adjusted(0, 0, -2, -2));
        }
        painter->restore();
    }
};

// The header row (horizontal) and the number column (vertical): headings in
// button colours with black lines, and the grid's grey past the last heading.
class Headings final : public QHeaderView {
public:
    Headings(Qt::Orientation orientation, QWidget* parent) : QHeaderView(orientation, parent)
    {
        setMinimumSectionSize(1);
        setSectionResizeMode(QHeaderView::Fixed);
        setStretchLastSection(false);
        setSectionsClickable(false);
        setHighlightSections(false);
        setSectionsMovable(false);
    }

    // The view reads only the header row's height, which is fixed, and the
    // number column's width, which follows the number of persons. Qt's own
    // hint would measure the headings (up to 200 of them) in a bold face,
    // opening at start a font that nothing is drawn in.
    QSize sizeHint() const override
    {
        return orientation() == Qt::Horizontal ? QSize(length(), PersonGrid::RowHeight)
                                               : QSize(PersonGrid::numberColumnWidth(fontMetrics(), count()), length());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(viewport());
        painter.fillRect(viewport()->rect(), uikit::colour(BeyondLastRowColour));
        if (count() == 0) {
            return;
        }
        // Only the sections in sight: the number column may have 100,000.
        const int extent = orientation() == Qt::Horizontal ? viewport()->width() : viewport()->height();
        const int first = std::max(logicalIndexAt(0), 0);
        const int atEnd = logicalIndexAt(extent - 1);
        const int last = atEnd < 0 ? count() - 1 : atEnd;
        for (int section = first; section <= last; ++section) {
            const int at = sectionViewportPosition(section);
            const QRect rect = orientation() == Qt::Horizontal
                                   ? QRect(at, 0, sectionSize(section), viewport()->height())
                                   : QRect(0, at, viewport()->width(), sectionSize(section));
            paintSection(&painter, rect, section);
        }
    }

    void paintSection(QPainter* painter, const QRect& rect, int section) const override
    {
        paintHeading(painter, rect, *this, model()->headerData(section, orientation()).toString(),
                     alignmentOf(model()->headerData(section, orientation(), Qt::TextAlignmentRole)));
    }
};

}  // namespace

PersonGrid::PersonGrid(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new Headings(Qt::Horizontal, this));
    setVerticalHeader(new Headings(Qt::Vertical, this));
    setModel(&m_model);
    setItemDelegate(new CellDelegate(this));

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);

    for (int column = 0; column < PersonGridModel::ColumnCount; ++column) {
        horizontalHeader()->resizeSection(column, ColumnWidths[static_cast<std::size_t>(column) + 1]);
    }
    // Uniform rows, so that 100,000 persons cost the view no per-row work.
    verticalHeader()->setDefaultSectionSize(RowHeight);

    QPalette beyond = viewport()->palette();
    beyond.setColor(viewport()->backgroundRole(), uikit::colour(BeyondLastRowColour));
    viewport()->setPalette(beyond);

    // The corner cell is the view's select-all button, switched off above; it
    // shows the number column's heading instead of a blank.
    m_corner = findChild<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (m_corner != nullptr) {
        m_corner->installEventFilter(this);
    }
}

int PersonGrid::numberColumnWidth(const QFontMetrics& metrics, int lastRow)
{
    // The largest number has the most digits, but in a proportional face not
    // necessarily the widest: leave room for that many of the widest digit.
    const auto digits = QString::number(std::max(lastRow, 1)).size();
    int widest = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit) {
        widest = std::max(widest, metrics.horizontalAdvance(QString(digits, QChar(digit))));
    }
    return std::max(ColumnWidths[0], widest + 2 * TextMargin + 1);
}

int PersonGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void PersonGrid::setCurrentRow(int row)
{
    if (row < 1 || row > lastRow()) {
        selectionModel()->clear();
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : int{PersonGridModel::Name};
    const QModelIndex cell = m_model.index(row - 1, column);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    // A row just added is not yet in the scroll range, which Qt updates later.
    executeDelayedItemsLayout();
    // The scroll bars come and go by a queued call once the range has changed; a
    // list that just grew past the grid's height brings both, and the viewport
    // shrinks. Let that happen first, so that the row is scrolled into the
    // viewport that will be on screen, not half under the horizontal bar.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    scrollTo(cell);
}

void PersonGrid::keyboardSearch(const QString& /*search*/) {}

QItemSelectionModel::SelectionFlags PersonGrid::selectionCommand(const QModelIndex& index,
                                                                 const QEvent* /*event*/) const
{
    // Whatever the click or key (Ctrl-click, Ctrl+Space, a drag, a click past the
    // last row), the highlight becomes the current cell or stays as it is.
    return index.isValid() ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate;
}

void PersonGrid::focusInEvent(QFocusEvent* event)
{
    // Qt's views make the first cell current when they get the focus with no
    // current cell; the grid keeps the header row current until a click or a
    // command moves it.
    const bool hadCurrent = currentIndex().isValid();
    QTableView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid()) {
        selectionModel()->clearCurrentIndex();
    }
}

void PersonGrid::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(viewport());
        uikit::drawFocusFrame(painter, viewport()->rect(), uikit::colour(BeyondLastRowColour));
    }
}

void PersonGrid::scrollContentsBy(int dx, int dy)
{
    // Scrolling moves the pixels already drawn, the frame's edges with them, and
    // paints only the strip that comes into sight: a frame moved into the list
    // would stay there. With the focus, the whole list area is drawn again.
    QTableView::scrollContentsBy(dx, dy);
    if (hasFocus()) {
        viewport()->update();
    }
}

bool PersonGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_corner && event->type() == QEvent::Paint) {
        QPainter painter(m_corner);
        paintHeading(&painter, m_corner->rect(), *this, PersonGridModel::numberHeading(),
                     Qt::AlignLeft | Qt::AlignVCenter);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

}  // namespace personlist
