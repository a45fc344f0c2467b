#include "window/ipv4_address_edit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QStringList>

namespace lumetra {

namespace {

constexpr int dotWidth = 6;

// The leading decimal digits of a part, at most 255; empty when it has none.
QString fieldText(const QString &part)
{
    const QString trimmed = part.trimmed();
    qsizetype digits = 0;
    while (digits < trimmed.size() && trimmed[digits] >= u'0' && trimmed[digits] <= u'9')
        ++digits;
    if (digits == 0)
        return {};
    bool ok = false;
    const qlonglong value = trimmed.left(std::min<qsizetype>(digits, 4)).toLongLong(&ok);
    return QString::number(ok ? std::min<qlonglong>(value, 255) : 255);
}

} // namespace

Ipv4AddressEdit::Ipv4AddressEdit(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setFocusPolicy(Qt::StrongFocus);

    for (int i = 0; i < int(m_fields.size()); ++i) {
        auto *field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        // Digits only; a number above 255 is turned into 255 once typed, so that a third digit
        // still moves on to the next field.
        field->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { handleFieldEdited(i); });
        m_fields[std::size_t(i)] = field;
        if (i > 0) {
            auto *dot = new QLabel(QStringLiteral("."), this);
            dot->setObjectName(QStringLiteral("dot%1").arg(i));
            dot->setAlignment(Qt::AlignCenter);
        }
    }
    setFocusProxy(m_fields[0]);
    placeFields();
}

QString Ipv4AddressEdit::address() const
{
    bool allEmpty = true;
    QStringList parts;
    for (const QLineEdit *field : m_fields) {
        allEmpty = allEmpty && field->text().isEmpty();
        parts << QString::number(std::min(field->text().toInt(), 255));
    }
    return allEmpty ? QString() : parts.join(u'.');
}

void Ipv4AddressEdit::setAddress(const QString &text)
{
    const QStringList parts = text.split(u'.');
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i]->setText(i < std::size_t(parts.size()) ? fieldText(parts[qsizetype(i)])
                                                           : QString());
}

bool Ipv4AddressEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QFrame::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    for (int i = 0; i < int(m_fields.size()); ++i) {
        QLineEdit *field = m_fields[std::size_t(i)];
        if (field != watched)
            continue;
        // The dot and Right at the end go on to the next field; Backspace and Left at the
        // start go back, as in one continuous address line.
        const bool atEnd = field->cursorPosition() == field->text().size();
        const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
        if ((key->key() == Qt::Key_Period || (key->key() == Qt::Key_Right && atEnd)) &&
            i + 1 < int(m_fields.size())) {
            if (key->key() == Qt::Key_Period && field->text().isEmpty())
                return true;
            moveToField(i + 1);
            return true;
        }
        if ((key->key() == Qt::Key_Backspace || key->key() == Qt::Key_Left) && atStart && i > 0) {
            moveToField(i - 1);
            m_fields[std::size_t(i - 1)]->end(false);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void Ipv4AddressEdit::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    placeFields();
}

void Ipv4AddressEdit::placeFields()
{
    const QRect inner = contentsRect();
    const int fieldWidth = (inner.width() - 3 * dotWidth) / 4;
    int left = inner.left();
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (i > 0) {
            if (auto *dot = findChild<QLabel *>(QStringLiteral("dot%1").arg(i)))
                dot->setGeometry(left, inner.top(), dotWidth, inner.height());
            left += dotWidth;
        }
        m_fields[i]->setGeometry(left, inner.top(), fieldWidth, inner.height());
        left += fieldWidth;
    }
}

void Ipv4AddressEdit::moveToField(int index)
{
    QLineEdit *next = m_fields[std::size_t(index)];
    next->setFocus();
    next->selectAll();
}

void Ipv4AddressEdit::handleFieldEdited(int index)
{
    QLineEdit *field = m_fields[std::size_t(index)];
    if (field->text().toInt() > 255)
        field->setText(QStringLiteral("255"));
    if (field->text().size() == 3 && index + 1 < int(m_fields.size()))
        moveToField(index + 1);
}

} // namespace lumetra
