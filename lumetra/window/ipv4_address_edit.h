#pragma once

// The IPv4 address box: four number fields of 0 to 255 between dots, in one sunken frame.

#include <QFrame>
#include <QString>

#include <array>

class QLineEdit;

namespace lumetra {

class Ipv4AddressEdit : public QFrame
{
    Q_OBJECT

public:
    explicit Ipv4AddressEdit(QWidget *parent = nullptr);

    // Dotted text of the four fields. An empty field counts as 0, and a box with all four
    // fields empty gives empty text.
    QString address() const;

    // Fills the fields from dotted text: the leading decimal digits of each dot-separated part,
    // at most 255; a part without digits leaves its field empty, parts after the fourth are
    // ignored. So empty text empties the box, and malformed text keeps what is readable.
    void setAddress(const QString &text);

    QLineEdit *field(int index) const { return m_fields[std::size_t(index)]; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeFields();
    void moveToField(int index);
    void handleFieldEdited(int index);

    std::array<QLineEdit *, 4> m_fields{};
};

} // namespace lumetra
