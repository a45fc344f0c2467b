#pragma once

#include "builder/command_builder.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace cordanex {

// The assistant's one window: the form at the top, the output box below it. The window only
// reads the form and writes the output box; the command text comes from BuildCommandText.
class AssistantWindow : public QWidget
{
    Q_OBJECT

public:
    // The client area; with a 3-pixel fixed frame and a 22-pixel caption bar the window is
    // 770 x 445 pixels outside.
    static constexpr QSize clientSize{764, 417};
    static constexpr QSize outerSize{770, 445};

    explicit AssistantWindow(QWidget *parent = nullptr);

    // The form as it stands: the code of each list's selected entry, the options and the
    // input box's text as GBK, also while the box is disabled.
    CommandForm ReadCommandForm() const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void FillDeviceIdList();
    void centreOnScreen();

    void ApplyPortRules();
    void ApplyRs485DeviceRules();
    void runCommandBuilder();
    void showOutputText(const QByteArray &before, const QByteArray &after);

    QComboBox *m_sendPortList = nullptr;
    QComboBox *m_baudList = nullptr;
    QComboBox *m_dataFormatList = nullptr;
    QComboBox *m_rs485DeviceList = nullptr;
    QComboBox *m_deviceIdList = nullptr;
    QButtonGroup *m_payloadModeGroup = nullptr;
    QRadioButton *m_hexOption = nullptr;
    QRadioButton *m_asciiOption = nullptr;
    QLineEdit *m_inputBox = nullptr;
    QCheckBox *m_lineBreakCheck = nullptr;
    QCheckBox *m_escapedFormCheck = nullptr;
    QPushButton *m_okButton = nullptr;
    QLabel *m_separatorLine = nullptr;
    QPlainTextEdit *m_outputBox = nullptr;
};

} // namespace cordanex
