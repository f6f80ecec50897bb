#include "platform/DesktopNotifier.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QImage>
#include <QTimer>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
// The name of the installed icon and desktop entry, for services that look them up.
const QString kIconName = QStringLiteral("quorvel");
const QString kDesktopEntry = QStringLiteral("org.quorvel.quorvel");
constexpr int kImageSize = 48;

// The icon's pixels as the "image-data" hint carries them, so that the service shows our icon
// even where it is not installed (a build run from its folder).
QVariant imageData(const QIcon& icon)
{
    const QImage image =
        icon.pixmap(kImageSize, kImageSize).toImage().convertToFormat(QImage::Format_RGBA8888);
    if (image.isNull())
        return {};
    QDBusArgument data;
    data.beginStructure();
    data << image.width() << image.height() << int(image.bytesPerLine()) << true << 8 << 4
         << QByteArray(reinterpret_cast<const char*>(image.constBits()), int(image.sizeInBytes()));
    data.endStructure();
    return QVariant::fromValue(data);
}

} // namespace

DesktopNotifier::DesktopNotifier(const QString& appName, const QIcon& icon, QObject* parent)
    : QObject(parent), m_appName(appName), m_icon(icon)
{}

void DesktopNotifier::notify(const QString& summary, const QString& body)
{
    const auto giveBack = [this, summary, body] { emit unanswered(summary, body); };
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QTimer::singleShot(0, this, giveBack);
        return;
    }
    QVariantMap hints{{QStringLiteral("desktop-entry"), kDesktopEntry},
                      {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    const QVariant image = imageData(m_icon);
    if (image.isValid())
        hints.insert(QStringLiteral("image-data"), image);

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    call << m_appName << uint(0) << kIconName << summary << body << QStringList() << hints << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, giveBack] {
        if (watcher->isError())
            giveBack();
        watcher->deleteLater();
    });
}
