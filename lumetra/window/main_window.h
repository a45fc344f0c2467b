#pragma once

// Lumetra's main window: the controls, the window-created and about-to-be-destroyed steps
// with the settings file, and the connect button bound to the host link.

#include "codec/channel_send.h"
#include "window/window_services.h"

#include <QPoint>
#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTreeWidget;

namespace lumetra {

class ChannelPanel;
class HostLink;
class ReceivePath;
class ReceiveView;
class Ipv4AddressEdit;

class MainWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int defaultWidth = 476;
    static constexpr int defaultHeight = 543;
    static constexpr int designedWidth = 724;
    static constexpr int designedHeight = 562;

    explicit MainWindow(WindowServices services, QWidget *parent = nullptr);
    ~MainWindow() override;

    HostLink *hostLink() const { return m_hostLink; }
    // Learning and the receive box; receivedText() reads the box as GBK.
    ReceivePath *receivePath() const { return m_receivePath; }
    // Status bar part 0, where every status text of the tool goes.
    void setStatusText(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildLayout();
    void buildConnectionGroup();
    void buildLibraryFileGroup();
    void buildLearningGroup();
    void buildStatusBar();
    void bindHostLink();
    void runCreatedStep();
    void runAboutToBeDestroyedStep();
    void placeStatusBar();
    void showLinkState();

    WindowServices m_services;
    HostLink *m_hostLink = nullptr;
    // Written by the channel step, read by the receive path's acknowledgement.
    ChannelMemory m_channelMemory;
    ChannelPanel *m_channelPanel = nullptr;
    ReceivePath *m_receivePath = nullptr;

    // Connection group
    QGroupBox *m_connectionGroup = nullptr;
    Ipv4AddressEdit *m_addressBox = nullptr;
    QLineEdit *m_portBox = nullptr;
    QPushButton *m_connectButton = nullptr;

    // Library file group, key name and library list
    QGroupBox *m_libraryFileGroup = nullptr;
    QPushButton *m_openButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QLineEdit *m_keyNameBox = nullptr;
    QPushButton *m_renameKeyButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QTreeWidget *m_libraryList = nullptr;

    // Learning group
    QGroupBox *m_learningGroup = nullptr;
    QPushButton *m_learnStartButton = nullptr;
    QPushButton *m_learnStopButton = nullptr;
    QPushButton *m_clearReceiveButton = nullptr;
    QPushButton *m_addToLibraryButton = nullptr;
    QPushButton *m_replaceSelectedButton = nullptr;
    ReceiveView *m_receiveBox = nullptr;
    std::array<QPushButton *, 8> m_channelButtons{};
    QPlainTextEdit *m_sendBox = nullptr;

    QLabel *m_hintLabel = nullptr;
    QCheckBox *m_copyCodeBox = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_statusPart0 = nullptr;
    QLabel *m_statusPart1 = nullptr;

    QPoint m_dragOffset;
    bool m_dragging = false;
    bool m_destroyStepDone = false;
};

} // namespace lumetra
