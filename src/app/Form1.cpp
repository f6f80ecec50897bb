#include "app/Form1.h"

#include "app/AppIcon.h"
#include "app/CoveredControls.h"
#include "app/NotificationIcon.h"
#include "app/ProblemReporter.h"
#include "app/RingingAnnouncer.h"
#include "app/RowBar.h"
#include "app/SoundFileChooser.h"
#include "engine/AlarmEngine.h"
#include "engine/Clock.h"
#include "overlay/AccessibleRole.h"
#include "overlay/OverlayPort.h"
#include "overlay/ScreenLayout.h"
#include "schedule/DateCue.h"
#include "schedule/EditorPanel.h"
#include "schedule/EntryEdit.h"
#include "widgets/ListRowDelegate.h"
#include "widgets/Twips.h"
#include "settings/SettingsValues.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <utility>

namespace {

// The sound-file chooser's types, "description|pattern|...".
const QString kSoundFileFilter =
    QStringLiteral("压缩音频(*.mp3)|*.mp3|波型声音(*.wav)|*.wav|合成音乐(*.mid)|*.mid|所有类型(*.*)|*.*");

QPushButton* button(QWidget* parent, const QString& name, const QString& text, int left, int top)
{
    auto* result = new QPushButton(text, parent);
    result->setObjectName(name);
    result->setGeometry(Twips::rect(left, top, 1215, 255));
    return result;
}

QTimer* timer(QObject* parent, const QString& name, int interval)
{
    auto* result = new QTimer(parent);
    result->setObjectName(name);
    result->setInterval(interval);
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
}

Form1::~Form1() = default;

void Form1::createControls()
{
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("闹钟列表"));
    List1->setGeometry(Twips::rect(120, 120, 4815, 1860));
    List1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    List1->setLineWidth(2);
    List1->setUniformItemSizes(true);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setItemDelegate(new ListRowDelegate(List1));

    for (int i = 0; i < kSlotCount; ++i) {
        auto* bar = new RowBar(this);
        bar->setObjectName(QStringLiteral("Ptt(%1)").arg(i));
        bar->resize(Twips::toPixels(4725), Twips::toPixels(i == 0 ? 180 : 195));
        Ptt[i] = bar;
    }

    Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("更改"), 120, 2160);
    Command1->setEnabled(false);
    Command7 = button(this, QStringLiteral("Command7"), QStringLiteral("9 秒后关机"), 1320, 2280);
    Command7->hide();
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("隐藏"), 1920, 2160);
    Command8 = button(this, QStringLiteral("Command8"), QStringLiteral("取消关机"), 2520, 2160);
    Command8->hide();
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("退出"), 3720, 2160);

    Picture1 = new EditorPanel(this);
    Picture1->setGeometry(Twips::rect(120, 0, 4815, 2535));
    Picture1->hide();
    new CoveredControls(Picture1, {List1, Command1, Command2, Command3, Command7, Command8}, this);

    Timer1 = timer(this, QStringLiteral("Timer1"), 20000);
    Timer2 = timer(this, QStringLiteral("Timer2"), 390);
    Timer3 = timer(this, QStringLiteral("Timer3"), 3000);
    Tclo = timer(this, QStringLiteral("Tclo"), 1000);

    trayIcon = new NotificationIcon(windowIcon(), this);
    m_problems = new ProblemReporter(*this, m_services.clock);

    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Picture1, &EditorPanel::cancelRequested, this, &Form1::Command5_Click);
    connect(Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);
    connect(List1, &QListWidget::itemClicked, this, [this] {
        m_mouseSelected = false;
        List1_Click();
    });
    // Selecting with the keyboard counts as a click too; a mouse click is handled once, on its
    // release. The current row that a list sets for itself on getting the focus is no selection.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            List1_Click();
        else
            m_mouseSelected = true;
    });
    // A selection dragged to another row ends without a click; its release counts as one.
    List1->viewport()->installEventFilter(this);
    // Enter on a row opens it as a double-click does.
    List1->installEventFilter(this);
    connect(trayIcon, &NotificationIcon::restoreRequested, this, &Form1::Ex);
    connect(Picture1, &EditorPanel::soundFileRequested, this, &Form1::Command6_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &Form1::List1_DblClick);
    connect(Picture1, &EditorPanel::saveRequested, this, &Form1::Command4_Click);
    Picture1->setToday([this] { return m_services.clock.now().date(); });

    connectEngine();
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);

    m_chooseSoundFile = [this](const QString& preset, const QString& filter) {
        return SoundFileChooser::choose(this, preset, filter);
    };
}

void Form1::connectEngine()
{
    AlarmEngine& engine = m_services.engine;
    connect(Timer2, &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(Tclo, &QTimer::timeout, &engine, &AlarmEngine::Tclo_Timer);
    connect(Command7, &QPushButton::clicked, &engine, &AlarmEngine::Command7_Click);
    connect(Command8, &QPushButton::clicked, &engine, &AlarmEngine::Command8_Click);
    for (int slot = 0; slot < kSlotCount; ++slot)
        connect(Ptt[slot], &RowBar::clicked, &engine, [&engine, slot] { engine.Ptt_Click(slot); });

    connect(&engine, &AlarmEngine::ringingStarted, this, [this](int slot, const QString& line) {
        Timer2->start();
        Ptt[slot]->setLine(line);
    });
    connect(&engine, &AlarmEngine::ringingStopped, this, [this](int slot, bool anyRinging) {
        Ptt[slot]->setLit(false);
        if (!anyRinging)
            Timer2->stop();
    });
    new RingingAnnouncer(engine, *List1, this);
    connect(&engine, &AlarmEngine::countdownChanged, this, &Form1::applyCountdown);
    connect(&engine, &AlarmEngine::raiseRequested, this, [this](bool focus) {
        RaiseMainWindow();
        if (focus) {
            raise();
            activateWindow();
        }
    });
    connect(&engine, &AlarmEngine::exitRequested, this, [this] { m_services.exitProgram(); });
    connect(&engine, &AlarmEngine::failureReported, this, &Form1::notifyUser);
    connect(&engine, &AlarmEngine::slotFired, this, [this](int slot) {
        if (List1->item(slot)->isSelected())
            Command1->setEnabled(false);
    });
}

void Form1::applyCountdown()
{
    const Countdown& countdown = m_services.engine.countdown();
    if (countdown.running())
        Tclo->start();
    else
        Tclo->stop();
    const auto apply = [](QPushButton* button, const CountdownButton& state) {
        button->setText(state.caption);
        button->setVisible(state.visible);
        button->setEnabled(state.enabled);
    };
    apply(Command7, countdown.Command7());
    apply(Command8, countdown.Command8());
}

void Form1::Form_Load()
{
    using namespace SettingsValues;
    SettingsStore& store = m_services.store;

    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Placed before it is shown, so the window manager puts the frame, not the client, at the point.
    move(homePoint());
    show();
    // A second copy never gets here: it hands over to this one before any window exists.
    m_publishWindowId = true;
    publishWindowId();
    ScreenLayout::onChange(this, [this] { move(homePoint()); });

    const int run = readInt(store, QStringLiteral("set"), QStringLiteral("run"), 0, 0, 1);
    Picture1->setStartsWithSession(run == 1);
    m_check2Tag = QString::number(run);

    List1->setFont(Twips::font(QStringLiteral("宋体"), 9));
    loadSlots();
    fillChoiceLists();

    if (m_services.loadAppearance)
        m_services.loadAppearance();

    Timer1_Timer();
    m_services.overlay.showOverlay();
    SetFont();

    Timer1->start();
    Timer3->start();
}

void Form1::loadSlots()
{
    m_services.engine.loadSlots();
    for (int i = 0; i < kSlotCount; ++i) {
        Ptt[i]->move(Twips::toPixels(180), Twips::toPixels(150 + 180 * i));
        auto* item = new QListWidgetItem(m_services.engine.listLine(i));
        // Rows as far apart as the row bars laid over them.
        item->setSizeHint(QSize(1, ListRowDelegate::kRowHeight));
        List1->addItem(item);
    }
}

void Form1::fillChoiceLists()
{
    using DateCue::Field;
    Picture1->setChoices(DateCue::items(Field::Year), DateCue::items(Field::Month),
                         DateCue::items(Field::Day), actionLabels());
}

void Form1::SetFont()
{
    const QFont listFont = Twips::font(QStringLiteral("宋体"), 9);
    Picture1->setFieldFont(listFont);
    List1->setFont(listFont);
    List1->resize(List1->width(), Twips::toPixels(1860));
    Picture1->move(Twips::toPixels(120), 0);
}

void Form1::Timer1_Timer()
{
    m_services.engine.Timer1_Timer();
}

void Form1::Timer2_Timer()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (m_services.engine.isRinging(slot))
            Ptt[slot]->setLit(!Ptt[slot]->isLit());
    }
}

void Form1::Command1_Click()
{
    const int slot = selectedRow();
    if (slot < 0)
        return;
    // The record the engine holds: what rings and what the editor shows never differ.
    m_loadedEntry = m_services.engine.entry(slot);
    Picture1->load(m_loadedEntry);
    Picture1->show();
    m_editedSlot = slot;
    Picture1->focusTime();
}

void Form1::List1_DblClick()
{
    Command1_Click();
}

void Form1::Command4_Click()
{
    if (!m_editedSlot)
        return;
    const int slot = *m_editedSlot;
    const EntrySave save = EntryEdit::save(m_loadedEntry, Picture1->fields());
    // Enter saves what leaving the field would show: the time in its five-character form.
    Picture1->showSavedTime(save.fields.time);
    // Called even with nothing changed, so values a failed save left in memory are tried again.
    const SaveOutcome outcome = EntryEdit::apply(m_services.store, SlotKey(slot), save.writes);
    // A save that did not reach the disk still holds for this run, and the user hears of it.
    m_services.engine.entrySaved(slot, save.fields);
    List1->item(slot)->setText(m_services.engine.listLine(slot));
    Command5_Click();
    if (!outcome.saved)
        notifyUser(SettingsValues::saveFailureMessage(QStringLiteral("闹钟"), outcome));
}

void Form1::Command6_Click()
{
    Picture1->setSoundFile(
        m_chooseSoundFile(Picture1->soundFile(), SoundFileChooser::nameFilters(kSoundFileFilter)));
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

void Form1::Command5_Click()
{
    // The keyboard goes back to the row the editor was opened on, not to whatever follows it.
    const bool editing = Picture1->isAncestorOf(focusWidget());
    Picture1->hide();
    if (editing)
        List1->setFocus();
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

void Form1::List1_Click()
{
    const int row = selectedRow();
    const bool ringing = row >= 0 && m_services.engine.isRinging(row);
    Command1->setEnabled(row >= 0 && !ringing);
    Timer3->stop();
    if (ringing)
        m_services.engine.Ptt_Click(row);
}

int Form1::selectedRow() const
{
    const QListWidgetItem* current = List1->currentItem();
    return current && current->isSelected() ? List1->row(current) : -1;
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

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && List1->currentItem()) {
            // The click rule first, as a double-click's first click runs it.
            if (List1->currentItem()->isSelected())
                List1_Click();
            else
                List1->setCurrentRow(List1->currentRow(), QItemSelectionModel::ClearAndSelect);
            List1_DblClick();
            return true;
        }
    }
    if (watched == List1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // Once the list has handled the release: a click it reports has been handled already.
        QTimer::singleShot(0, this, [this] {
            if (std::exchange(m_mouseSelected, false))
                List1_Click();
        });
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::publishWindowId()
{
    // The native window's own id: the widget's copy goes stale when the platform recreates the
    // window on its own, as X11 does when the stays-on-top flag changes.
    const QWindow* window = windowHandle();
    if (!m_publishWindowId || !window || !window->handle())
        return;
    const QString id = QString::number(quint64(window->winId()));
    if (id == m_publishedWindowId)
        return;
    m_publishedWindowId = id;
    SettingsValues::saveText(m_services.store, QStringLiteral("hwnd"), QStringLiteral("main"), id);
}

bool Form1::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        m_services.overlay.PosTop();
    // A recreated window is shown again before its id is final; publish it once that is done.
    if (event->type() == QEvent::WinIdChange)
        QTimer::singleShot(0, this, &Form1::publishWindowId);
    return QWidget::event(event);
}

void Form1::closeEvent(QCloseEvent* event)
{
    trayIcon->remove();
    const int chosen = Picture1->startsWithSession() ? 1 : 0;
    if (m_check2Tag.toInt() != chosen) {
        SettingsValues::saveText(m_services.store, QStringLiteral("set"), QStringLiteral("run"),
                                 QString::number(chosen)); // the exit path's only key: one write
        if (m_services.setAutostart && !m_services.setAutostart(chosen == 1))
            qWarning("Quorvel: could not change the autostart entry");
    }
    event->accept();
    m_services.exitProgram();
}
