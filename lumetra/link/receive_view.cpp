#include "link/receive_view.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QtMath>

#include <algorithm>

namespace lumetra {

namespace {

constexpr int margin = 3;

// Line breaks are LF inside the view, whatever the clipboard or the caller used.
QString normalizedBreaks(QString text)
{
    if (text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

bool isBreakOrSpace(QChar c)
{
    return c == QLatin1Char('\n') || c.isSpace();
}

} // namespace

ReceiveView::ReceiveView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);

    QFont boxFont(QStringLiteral("Monospace"));
    boxFont.setStyleHint(QFont::TypeWriter);
    boxFont.setPixelSize(14);
    boxFont.setWeight(QFont::Normal);
    setFont(boxFont);
    updateMetrics();
    relayoutAll();
}

void ReceiveView::setPlainText(const QString &text)
{
    m_text = normalizedBreaks(text);
    m_cursor = m_anchor = 0;
    m_preferredX = -1;
    relayoutAll();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit textChanged();
}

void ReceiveView::appendAtEnd(const QString &text)
{
    if (text.isEmpty())
        return;
    const qsizetype lastRow = rowCount() - 1;
    m_text.append(normalizedBreaks(text));
    layoutFromRow(lastRow);
    m_cursor = m_anchor = m_text.size();
    m_preferredX = -1;
    updateScrollBar();
    ensureCursorVisible();
    viewport()->update();
    emit textChanged();
}

void ReceiveView::setCursorPosition(qsizetype position)
{
    m_preferredX = -1;
    moveCursor(std::clamp<qsizetype>(position, 0, m_text.size()), false);
}

QString ReceiveView::selectedText() const
{
    const qsizetype start = std::min(m_anchor, m_cursor);
    return m_text.mid(start, std::max(m_anchor, m_cursor) - start);
}

void ReceiveView::setSelection(qsizetype start, qsizetype end)
{
    m_anchor = std::clamp<qsizetype>(start, 0, m_text.size());
    m_preferredX = -1;
    moveCursor(std::clamp<qsizetype>(end, 0, m_text.size()), true);
}

void ReceiveView::selectAll()
{
    setSelection(0, m_text.size());
}

void ReceiveView::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void ReceiveView::cut()
{
    if (!hasSelection())
        return;
    copy();
    replaceSelection(QString());
}

void ReceiveView::paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        replaceSelection(normalizedBreaks(text));
}

// --- layout -------------------------------------------------------------------------------

qsizetype ReceiveView::unitLength(qsizetype position) const
{
    if (position + 1 < m_text.size() && m_text[position].isHighSurrogate() &&
        m_text[position + 1].isLowSurrogate())
        return 2;
    return 1;
}

qsizetype ReceiveView::previousPosition(qsizetype position) const
{
    if (position <= 0)
        return 0;
    if (position >= 2 && m_text[position - 1].isLowSurrogate() &&
        m_text[position - 2].isHighSurrogate())
        return position - 2;
    return position - 1;
}

qreal ReceiveView::advance(qsizetype position) const
{
    const char16_t c = m_text[position].unicode();
    if (c < 128)
        return m_asciiAdvance[c];
    if (unitLength(position) == 2)
        return QFontMetricsF(font()).horizontalAdvance(m_text.mid(position, 2));
    auto found = m_otherAdvances.constFind(c);
    if (found == m_otherAdvances.constEnd())
        found = m_otherAdvances.insert(c, QFontMetricsF(font()).horizontalAdvance(QChar(c)));
    return *found;
}

void ReceiveView::updateMetrics()
{
    const QFontMetricsF metrics(font());
    m_lineHeight = std::max(1, qCeil(metrics.lineSpacing()));
    m_ascent = qRound(metrics.ascent());
    const qreal spaceAdvance = metrics.horizontalAdvance(QLatin1Char(' '));
    for (int c = 0; c < 128; ++c) {
        m_asciiAdvance[c] = (c < 0x20 || c == 0x7F)
                                ? spaceAdvance
                                : metrics.horizontalAdvance(QLatin1Char(char(c)));
    }
    m_otherAdvances.clear();
}

int ReceiveView::layoutWidth() const
{
    return std::max(1, viewport()->width() - 2 * margin);
}

// Rows from the given one to the end are laid out again; rows before it keep their starts.
// Appending lays out only the last row and what follows, so its cost is that of the new text.
void ReceiveView::layoutFromRow(qsizetype row)
{
    row = std::clamp<qsizetype>(row, 0, rowCount() - 1);
    qsizetype position = m_rowStarts[size_t(row)];
    m_rowStarts.resize(size_t(row));
    const qsizetype size = m_text.size();
    const int width = layoutWidth();
    for (;;) {
        m_rowStarts.push_back(position);
        qreal x = 0;
        qsizetype i = position;
        bool endedByBreak = false;
        while (i < size) {
            if (m_text[i] == QLatin1Char('\n')) {
                ++i;
                endedByBreak = true;
                break;
            }
            const qreal w = advance(i);
            if (i > position && x + w > width)
                break;
            x += w;
            i += unitLength(i);
        }
        if (i >= size && !endedByBreak)
            break;
        position = i;
    }
}

void ReceiveView::relayoutAll()
{
    const qsizetype topPosition =
        m_rowStarts[size_t(std::clamp<qsizetype>(verticalScrollBar()->value(), 0, rowCount() - 1))];
    m_rowStarts.assign(1, 0);
    layoutFromRow(0);
    updateScrollBar();
    verticalScrollBar()->setValue(int(rowOf(topPosition)));
}

qsizetype ReceiveView::rowOf(qsizetype position) const
{
    const auto after = std::upper_bound(m_rowStarts.begin(), m_rowStarts.end(), position);
    return std::max<qsizetype>(0, (after - m_rowStarts.begin()) - 1);
}

qsizetype ReceiveView::rowEnd(qsizetype row) const
{
    if (row + 1 >= rowCount())
        return m_text.size();
    const qsizetype next = m_rowStarts[size_t(row + 1)];
    return m_text[next - 1] == QLatin1Char('\n') ? next - 1 : next;
}

// Where a position of the given row is drawn; the end of a wrapped row is the same position
// as the start of the next, so the row has to be named.
qreal ReceiveView::xInRow(qsizetype row, qsizetype position) const
{
    qreal x = margin;
    for (qsizetype i = m_rowStarts[size_t(row)]; i < position; i += unitLength(i))
        x += advance(i);
    return x;
}

qreal ReceiveView::xOf(qsizetype position) const
{
    return xInRow(rowOf(position), position);
}

qsizetype ReceiveView::positionInRow(qsizetype row, qreal x) const
{
    const qsizetype end = rowEnd(row);
    qreal left = margin;
    for (qsizetype i = m_rowStarts[size_t(row)]; i < end; i += unitLength(i)) {
        const qreal w = advance(i);
        if (x < left + w / 2)
            return i;
        left += w;
    }
    return end;
}

qsizetype ReceiveView::positionAt(const QPoint &point) const
{
    const int offset = point.y() - margin;
    const qsizetype row = verticalScrollBar()->value() + (offset < 0 ? -1 : offset / m_lineHeight);
    if (row < 0)
        return 0;
    if (row >= rowCount())
        return m_text.size();
    return positionInRow(row, point.x());
}

int ReceiveView::visibleRows() const
{
    return std::max(1, (viewport()->height() - margin) / m_lineHeight);
}

void ReceiveView::updateScrollBar()
{
    QScrollBar *bar = verticalScrollBar();
    const int rows = visibleRows();
    bar->setRange(0, int(std::max<qsizetype>(0, rowCount() - rows)));
    bar->setPageStep(rows);
    bar->setSingleStep(1);
}

void ReceiveView::ensureCursorVisible()
{
    QScrollBar *bar = verticalScrollBar();
    const qsizetype row = rowOf(m_cursor);
    if (row < bar->value())
        bar->setValue(int(row));
    else if (row >= bar->value() + visibleRows())
        bar->setValue(int(row - visibleRows() + 1));
}

// --- editing ------------------------------------------------------------------------------

void ReceiveView::moveCursor(qsizetype position, bool keepAnchor)
{
    m_cursor = position;
    if (!keepAnchor)
        m_anchor = position;
    ensureCursorVisible();
    viewport()->update();
}

void ReceiveView::replaceSelection(const QString &text)
{
    const qsizetype start = std::min(m_anchor, m_cursor);
    const qsizetype end = std::max(m_anchor, m_cursor);
    if (start == end && text.isEmpty())
        return;
    // The row before the edit may take in what now follows it, so it is laid out again too.
    const qsizetype firstRow = std::max<qsizetype>(0, rowOf(start) - 1);
    m_text.replace(start, end - start, text);
    m_cursor = m_anchor = start + text.size();
    m_preferredX = -1;
    layoutFromRow(firstRow);
    updateScrollBar();
    ensureCursorVisible();
    viewport()->update();
    emit textChanged();
}

void ReceiveView::keyPressEvent(QKeyEvent *event)
{
    const qsizetype row = rowOf(m_cursor);
    const auto verticalMove = [&](qsizetype rows, bool keep) {
        if (m_preferredX < 0)
            m_preferredX = xOf(m_cursor);
        const qsizetype target = row + rows;
        qsizetype position;
        if (target < 0)
            position = 0;
        else if (target >= rowCount())
            position = m_text.size();
        else
            position = positionInRow(target, m_preferredX);
        moveCursor(position, keep);
    };
    const auto horizontalMove = [&](qsizetype position, bool keep) {
        m_preferredX = -1;
        moveCursor(position, keep);
    };

    if (event == QKeySequence::SelectAll) {
        selectAll();
    } else if (event == QKeySequence::Copy) {
        copy();
    } else if (event == QKeySequence::Cut) {
        cut();
    } else if (event == QKeySequence::Paste) {
        paste();
    } else if (event == QKeySequence::MoveToNextChar || event == QKeySequence::SelectNextChar) {
        horizontalMove(std::min(m_text.size(),
                                m_cursor + (m_cursor < m_text.size() ? unitLength(m_cursor) : 0)),
                       event == QKeySequence::SelectNextChar);
    } else if (event == QKeySequence::MoveToPreviousChar ||
               event == QKeySequence::SelectPreviousChar) {
        horizontalMove(previousPosition(m_cursor), event == QKeySequence::SelectPreviousChar);
    } else if (event == QKeySequence::MoveToStartOfLine ||
               event == QKeySequence::SelectStartOfLine) {
        horizontalMove(m_rowStarts[size_t(row)], event == QKeySequence::SelectStartOfLine);
    } else if (event == QKeySequence::MoveToEndOfLine || event == QKeySequence::SelectEndOfLine) {
        horizontalMove(rowEnd(row), event == QKeySequence::SelectEndOfLine);
    } else if (event == QKeySequence::MoveToStartOfDocument ||
               event == QKeySequence::SelectStartOfDocument) {
        horizontalMove(0, event == QKeySequence::SelectStartOfDocument);
    } else if (event == QKeySequence::MoveToEndOfDocument ||
               event == QKeySequence::SelectEndOfDocument) {
        horizontalMove(m_text.size(), event == QKeySequence::SelectEndOfDocument);
    } else if (event == QKeySequence::MoveToNextLine || event == QKeySequence::SelectNextLine) {
        verticalMove(1, event == QKeySequence::SelectNextLine);
    } else if (event == QKeySequence::MoveToPreviousLine ||
               event == QKeySequence::SelectPreviousLine) {
        verticalMove(-1, event == QKeySequence::SelectPreviousLine);
    } else if (event == QKeySequence::MoveToNextPage || event == QKeySequence::SelectNextPage) {
        verticalMove(visibleRows(), event == QKeySequence::SelectNextPage);
    } else if (event == QKeySequence::MoveToPreviousPage ||
               event == QKeySequence::SelectPreviousPage) {
        verticalMove(-visibleRows(), event == QKeySequence::SelectPreviousPage);
    } else if (event == QKeySequence::Delete) {
        if (!hasSelection() && m_cursor < m_text.size())
            m_cursor += unitLength(m_cursor);
        replaceSelection(QString());
    } else if (event->key() == Qt::Key_Backspace) {
        if (!hasSelection())
            m_cursor = previousPosition(m_cursor);
        replaceSelection(QString());
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        replaceSelection(QStringLiteral("\n"));
    } else {
        const QString text = event->text();
        const bool printable =
            !text.isEmpty() && std::none_of(text.begin(), text.end(), [](QChar c) {
                return c.category() == QChar::Other_Control;
            });
        // Ctrl with Alt is AltGr on some keyboards and types a character; Ctrl alone is a
        // shortcut.
        const Qt::KeyboardModifiers modifiers = event->modifiers();
        const bool shortcut = (modifiers & Qt::MetaModifier) ||
                              ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier));
        if (!printable || shortcut) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        replaceSelection(text);
    }
    event->accept();
}

void ReceiveView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_preferredX = -1;
    m_dragging = true;
    moveCursor(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void ReceiveView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        moveCursor(positionAt(event->position().toPoint()), true);
    else
        m_dragging = false;
}

// A double click takes the whole run of text around the click, which for the hex of a learned
// code is the code itself.
void ReceiveView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const qsizetype position = positionAt(event->position().toPoint());
    qsizetype start = position;
    while (start > 0 && !isBreakOrSpace(m_text[start - 1]))
        --start;
    qsizetype end = position;
    while (end < m_text.size() && !isBreakOrSpace(m_text[end]))
        ++end;
    m_dragging = false;
    setSelection(start, end);
}

void ReceiveView::focusInEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusInEvent(event);
}

void ReceiveView::focusOutEvent(QFocusEvent *event)
{
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void ReceiveView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!event->commitString().isEmpty())
        replaceSelection(normalizedBreaks(event->commitString()));
    event->accept();
}

QVariant ReceiveView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const qsizetype row = rowOf(m_cursor);
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle: {
        const int y = margin + int(row - verticalScrollBar()->value()) * m_lineHeight;
        return QRect(QPoint(qRound(xOf(m_cursor)), y) + viewport()->geometry().topLeft(),
                     QSize(1, m_lineHeight));
    }
    case Qt::ImCursorPosition:
        return int(m_cursor - m_rowStarts[size_t(row)]);
    case Qt::ImSurroundingText:
        return m_text.mid(m_rowStarts[size_t(row)], rowEnd(row) - m_rowStarts[size_t(row)]);
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void ReceiveView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("剪切"), this, &ReceiveView::cut)->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("复制"), this, &ReceiveView::copy)->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("粘贴"), this, &ReceiveView::paste)
        ->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    menu.addSeparator();
    menu.addAction(QStringLiteral("全选"), this, &ReceiveView::selectAll)
        ->setEnabled(!m_text.isEmpty());
    menu.exec(event->globalPos());
}

// --- display ------------------------------------------------------------------------------

void ReceiveView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ReceiveView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    relayoutAll();
    ensureCursorVisible();
}

void ReceiveView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
        relayoutAll();
        viewport()->update();
    }
}

void ReceiveView::drawRow(QPainter &painter, qsizetype row, int y) const
{
    const qsizetype start = m_rowStarts[size_t(row)];
    const qsizetype end = rowEnd(row);
    QString shown = m_text.mid(start, end - start);
    for (QChar &c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    const int baseline = y + m_ascent;
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QPointF(margin, baseline), shown);

    const qsizetype selStart = std::max(std::min(m_anchor, m_cursor), start);
    const qsizetype selEnd = std::min(std::max(m_anchor, m_cursor), end);
    if (selStart < selEnd) {
        const qreal left = xInRow(row, selStart);
        const qreal right = xInRow(row, selEnd);
        painter.fillRect(QRectF(left, y, right - left, m_lineHeight),
                         palette().color(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(QPointF(left, baseline), shown.mid(selStart - start, selEnd - selStart));
    }
}

void ReceiveView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype last = std::min(rowCount(), first + visibleRows() + 1);
    for (qsizetype row = first; row < last; ++row)
        drawRow(painter, row, margin + int(row - first) * m_lineHeight);

    const qsizetype cursorRow = rowOf(m_cursor);
    if (hasFocus() && cursorRow >= first && cursorRow < last) {
        const int x = qRound(xOf(m_cursor));
        const int y = margin + int(cursorRow - first) * m_lineHeight;
        painter.fillRect(QRect(x, y, 1, m_lineHeight), palette().color(QPalette::Text));
    }
}

} // namespace lumetra
