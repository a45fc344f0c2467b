#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QString>

#include <vector>

namespace lumetra {

// The receive box: an editable plain-text view whose rows are laid out by the view itself, so
// that appending a run of text costs only the run. A text edit that shapes its paragraph as a
// whole relays the entire line at each append, and a host that floods the link would stall the
// window for seconds. The text is kept exactly as appended or typed; wrapping is display only.
class ReceiveView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit ReceiveView(QWidget *parent = nullptr);

    QString toPlainText() const { return m_text; }
    void setPlainText(const QString &text);
    void clear() { setPlainText(QString()); }

    // Appends at the very end wherever the caret is; the caret follows to the end and the end
    // is scrolled into view.
    void appendAtEnd(const QString &text);

    qsizetype cursorPosition() const { return m_cursor; }
    void setCursorPosition(qsizetype position);
    QString selectedText() const;
    void setSelection(qsizetype start, qsizetype end);
    bool hasSelection() const { return m_anchor != m_cursor; }

    qsizetype rowCount() const { return qsizetype(m_rowStarts.size()); }

public slots:
    void selectAll();
    void copy() const;
    void cut();
    void paste();

signals:
    void textChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    qreal advance(qsizetype position) const;
    qsizetype unitLength(qsizetype position) const;
    qsizetype previousPosition(qsizetype position) const;
    int layoutWidth() const;
    void updateMetrics();
    void layoutFromRow(qsizetype row);
    void relayoutAll();
    qsizetype rowOf(qsizetype position) const;
    qsizetype rowEnd(qsizetype row) const;
    qreal xOf(qsizetype position) const;
    qreal xInRow(qsizetype row, qsizetype position) const;
    qsizetype positionAt(const QPoint &point) const;
    qsizetype positionInRow(qsizetype row, qreal x) const;
    int visibleRows() const;
    void updateScrollBar();
    void ensureCursorVisible();
    void moveCursor(qsizetype position, bool keepAnchor);
    void replaceSelection(const QString &text);
    void drawRow(QPainter &painter, qsizetype row, int y) const;

    QString m_text;
    qsizetype m_cursor = 0;
    qsizetype m_anchor = 0;
    qreal m_preferredX = -1; // kept across up/down moves
    std::vector<qsizetype> m_rowStarts{0};
    int m_lineHeight = 16;
    int m_ascent = 12;
    qreal m_asciiAdvance[128] = {};
    mutable QHash<char16_t, qreal> m_otherAdvances;
    bool m_dragging = false;
};

} // namespace lumetra
