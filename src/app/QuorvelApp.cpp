#include "app/QuorvelApp.h"

#include "app/Form1.h"
#include "appearance/FontNames.h"
#include "appearance/Form3.h"
#include "engine/AlarmEngine.h"
#include "overlay/Form2.h"
#include "platform/Autostart.h"
#include "platform/PlatformSounds.h"
#include "platform/RestingMemory.h"
#include "schedule/AlarmTable.h"
#include "settings/SettingsValues.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>

QuorvelApp::QuorvelApp() : m_sound(PlatformSounds::fallbackAlarmSound(), AlarmDefault::Music)
{
    installQtTranslations();
    FontNames::installSubstitutes();
    m_overlay = std::make_unique<Form2>(m_capList, m_appearance);
    m_engine = std::make_unique<AlarmEngine>(m_store, m_clock, m_runner, m_sound, *m_overlay, m_capList);
    Form1Services services{
        m_store,
        m_clock,
        *m_engine,
        *m_overlay,
        [this] { m_appearance.set(Appearance::load(m_store)); },
        &QuorvelApp::exitProgram,
        [](bool enabled) { return Autostart::setEnabled(enabled, QCoreApplication::applicationFilePath()); }};
    m_form1 = std::make_unique<Form1>(services);
    // Without a tray the main window is minimised rather than hidden; that counts as hidden too.
    connect(m_overlay.get(), &Form2::mainWindowRequested, m_form1.get(), [this] {
        if (!m_form1->isVisible() || m_form1->isMinimized())
            m_form1->Ex();
    });
    connect(m_overlay.get(), &Form2::appearanceDialogRequested, this,
            [this] { appearanceDialog().showCentred(); });
    m_restingTimer.setSingleShot(true);
    m_restingTimer.setInterval(kSettleMs);
    connect(&m_restingTimer, &QTimer::timeout, this, &RestingMemory::release);
    m_form1->installEventFilter(this);
}

QuorvelApp::~QuorvelApp() = default;

Form3& QuorvelApp::appearanceDialog()
{
    // Its widgets and its list of fonts cost memory that a program resting in the tray would
    // otherwise keep for a dialog that is seldom opened.
    if (!m_form3) {
        m_form3 = std::make_unique<Form3>(m_appearance, m_store);
        connect(m_form3.get(), &Form3::saveFailed, m_form1.get(), &Form1::notifyUser);
    }
    return *m_form3;
}

void QuorvelApp::start()
{
    m_form1->Form_Load();
    const QString recovered = m_store.recoveryMessage(kAppName);
    if (!recovered.isEmpty())
        m_form1->notifyUser(recovered);
}

bool QuorvelApp::eventFilter(QObject* watched, QEvent* event)
{
    // Hidden into the tray, the program rests until an alarm or the user wakes it. Once the hiding
    // is done and the tray has taken and drawn its icon, what showing the window needed can go.
    if (event->type() == QEvent::Hide && !event->spontaneous())
        m_restingTimer.start();
    else if (event->type() == QEvent::Show)
        m_restingTimer.stop();
    return QObject::eventFilter(watched, event);
}

void QuorvelApp::installQtTranslations()
{
    // The interface is Chinese whatever the system's language, so Qt's dialogs must be too.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    if (m_qtTranslations.load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTranslations);
    else
        qWarning("Quorvel: Qt's Chinese translations (qtbase_zh_CN.qm) are not installed");
}

void QuorvelApp::raiseMainWindow()
{
    // The user started the program again: the window comes to the front and takes the keyboard.
    m_form1->RaiseMainWindow();
    m_form1->activateWindow();
}

void QuorvelApp::exitProgram()
{
    // Leaves the event loop now; before the loop has started, as soon as it starts.
    QCoreApplication::exit(0);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}
