#include "app/Form1.h"

#include "app/AlarmListView.h"
#include "app/AppIcon.h"
#include "app/AutostartChoice.h"
#include "app/CountdownButtons.h"
#include "app/CoveredControls.h"
#include "app/NotificationIcon.h"
#include "app/ProblemReporter.h"
#include "app/WindowIdPublisher.h"
#include "engine/AlarmEngine.h"
#include "engine/Clock.h"
#include "engine/NamedTimer.h"
#include "overlay/AccessibleRole.h"
#include "overlay/OverlayPort.h"
#include "overlay/ScreenLayout.h"
#include "schedule/EditorController.h"
#include "schedule/EditorPanel.h"
#include "widgets/Twips.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>

namespace {

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int left, int top)
{
    auto* result = new QPushButton(text, parent);
    result->setObjectName(name);
    result->setGeometry(Twips::rect(left, top, 1215, 255));
    return result;
}

// Where the window shows at start-up and whenever it is raised: 350 px right of and below the
// primary screen's top-left corner.
QPoint homePoint()
{
    return ScreenLayout::primaryTopLeft() + QPoint(Twips::toPixels(5250), Twips::toPixels(5250));
}
} // namespace

Form1::Form1(const Form1Services& services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      m_services(services)
{
    setObjectName(QStringLiteral("Form1"));
    // A screen reader takes the main window for a window, not an anonymous filler.
    AccessibleRole::give("Form1", QAccessible::Window);
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowIcon(AppIcon::make());
    setFixedSize(Twips::toPixels(5055), Twips::toPixels(2535));
    createControls();
    connectViews();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    // Made in the order of the row of buttons, which is also the keyboard's order.
    m_list = new AlarmListView(m_services.engine, *this);
    auto* Command7 = button(this, QStringLiteral("Command7"), QStringLiteral("9 秒后关机"), 1320, 2280);
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("隐藏"), 1920, 2160);
    auto* Command8 = button(this, QStringLiteral("Command8"), QStringLiteral("取消关机"), 2520, 2160);
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("退出"), 3720, 2160);
    new CountdownButtons(m_services.engine, Command7, Command8);

    Picture1 = new EditorPanel(this);
    Picture1->setGeometry(Twips::rect(120, 0, 4815, 2535));
    Picture1->hide();
    Picture1->setToday([this] { return m_services.clock.now().date(); });
    m_editor = new EditorController(*Picture1, *m_list->list(), m_services.store);
    new CoveredControls(
        Picture1, {m_list->list(), m_list->changeButton(), Command2, Command3, Command7, Command8}, this);

    Timer3 = namedTimer(this, QStringLiteral("Timer3"), 3000);
    trayIcon = new NotificationIcon(windowIcon(), this);
    m_problems = new ProblemReporter(*this, m_services.clock);
    const auto report = [this](const QString& message) { notifyUser(message); };
    m_autostart =
        std::make_unique<AutostartChoice>(m_services.store, *Picture1, m_services.setAutostart, report);
    m_windowId = new WindowIdPublisher(*this, m_services.store, report);
}

void Form1::connectViews()
{
    AlarmEngine& engine = m_services.engine;
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
    connect(trayIcon, &NotificationIcon::restoreRequested, this, &Form1::Ex);
    // A click in the list within the first seconds keeps the window up.
    connect(m_list, &AlarmListView::clicked, Timer3, &QTimer::stop);
    connect(m_list, &AlarmListView::openRequested, this,
            [this, &engine](int slot) { m_editor->open(slot, engine.entry(slot)); });
    connect(m_editor, &EditorController::entrySaved, this,
            [this, &engine](int slot, const AlarmEntry& entry) {
                engine.entrySaved(slot, entry);
                m_list->showRow(slot);
            });
    connect(m_editor, &EditorController::saveFailed, this, &Form1::notifyUser);

    connect(&engine, &AlarmEngine::raiseRequested, this, [this](bool focus) {
        RaiseMainWindow();
        if (focus) {
            raise();
            activateWindow();
        }
    });
    connect(&engine, &AlarmEngine::exitRequested, this, [this] { m_services.exitProgram(); });
    connect(&engine, &AlarmEngine::failureReported, this, &Form1::notifyUser);
}

void Form1::Form_Load()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Placed before it is shown, so the window manager puts the frame, not the client, at the point.
    move(homePoint());
    show();
    // A second copy never gets here: it hands over to this one before any window exists.
    m_windowId->start();
    ScreenLayout::onChange(this, [this] { move(homePoint()); });

    m_autostart->load();

    m_list->setListFont(Twips::font(QStringLiteral("宋体"), 9));
    m_services.engine.loadSlots();
    m_list->loadRows();
    m_editor->fillChoiceLists();

    if (m_services.loadAppearance)
        m_services.loadAppearance();

    m_services.engine.start();
    m_services.overlay.showOverlay();
    SetFont();
    Timer3->start();
}

void Form1::SetFont()
{
    const QFont listFont = Twips::font(QStringLiteral("宋体"), 9);
    Picture1->setFieldFont(listFont);
    m_list->setListFont(listFont);
    Picture1->move(Twips::toPixels(120), 0);
}

void Form1::notifyUser(const QString& message)
{
    m_problems->report(message);
}

void Form1::Command2_Click()
{
    // Without a tray a hidden window could not be found again; the taskbar keeps it instead.
    if (!NotificationIcon::trayAvailable()) {
        showMinimized();
        return;
    }
    trayIcon->add();
    hide();
}

void Form1::Command3_Click()
{
    m_services.exitProgram();
}

void Form1::Ex()
{
    trayIcon->remove();
    showNormal();
    raise();
    activateWindow();
}

void Form1::RaiseMainWindow()
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    showNormal();
    move(homePoint());
    raise();
}

void Form1::Timer3_Timer()
{
    Timer3->stop();
    Command2_Click();
}

void Form1::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && NotificationIcon::trayAvailable()) {
        // Minimising hides into the tray; the window comes back in its normal state.
        setWindowState(windowState() & ~Qt::WindowMinimized);
        QTimer::singleShot(0, this, &Form1::Command2_Click);
    }
}

bool Form1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_services.overlay.PosTop();
    return QWidget::event(event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    trayIcon->remove();
    m_autostart->applyOnClose();
    event->accept();
    m_services.exitProgram();
}
