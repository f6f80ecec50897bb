#include "settings/QSettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QtDebug>

// One application's settings: the QSettings on its file, or, when a damaged file could not be
// moved aside, values kept for this run only so that the damaged file is never overwritten.
struct QSettingsStore::AppSettings
{
    std::shared_ptr<QSettings> settings;
    QHash<QString, QString> unsaved;
    QString file;
    QString damagedCopy;
    QString message;
};

namespace {

// Qt's verdict on these bytes alone, read from a private copy: the process-wide cache of files
// already read, and the fallback files a native QSettings also reads, play no part.
bool parsesCleanly(const QByteArray& bytes)
{
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes) != bytes.size() || !copy.flush())
        return true; // no verdict; keep the file
    const QSettings settings(copy.fileName(), QSettings::IniFormat);
    return settings.status() == QSettings::NoError;
}

// Why the bytes of a settings file cannot be trusted; null when they can.
const char* damageIn(const QByteArray& bytes, QSettings::Status status)
{
    if (bytes.contains('\0'))
        return "NUL bytes";
    if (!QByteArrayView(bytes).isValidUtf8())
        return "invalid UTF-8";
    if (status != QSettings::NoError && !parsesCleanly(bytes))
        return "unparsable";
    return nullptr;
}

constexpr QFileDevice::Permissions kGroupAndOthers = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                     QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                     QFileDevice::WriteOther | QFileDevice::ExeOther;

// The settings hold the commands alarms run and the user's reminders: nobody but the owner may
// read them, whatever the umask. Only the group's and others' rights are taken away; the owner's
// stay as they are.
void keepToOwner(const QString& path)
{
    const QFileDevice::Permissions permissions = QFile::permissions(path);
    if (permissions & kGroupAndOthers)
        QFile::setPermissions(path, permissions & ~kGroupAndOthers);
}

// Creates the settings folder (0700) and an empty file (0600) where they are missing, before
// QSettings would make them with the umask's modes. Its atomic rewrite keeps the file's mode.
void preparePrivateFile(const QString& file)
{
    const QString folder = QFileInfo(file).path();
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(QFileInfo(folder).path());
        QDir().mkdir(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    keepToOwner(folder);
    if (!QFileInfo::exists(file)) {
        QFile created(file);
        if (created.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                         QFileDevice::ReadOwner | QFileDevice::WriteOwner))
            created.close();
    }
}

// The first of "<file>.damaged", "<file>.damaged.1", ... that nothing occupies.
QString freeDamagedName(const QString& file, int* next)
{
    for (;; ++*next) {
        const QString name = file + QStringLiteral(".damaged") +
                             (*next == 0 ? QString() : QLatin1Char('.') + QString::number(*next));
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink())
            return name;
    }
}

enum class SetAside
{
    Cleared,
    KeptOnly,
    Failed
};

// Keeps the damaged bytes under a free ".damaged" name and clears the original. Existing damaged
// copies are never replaced: rename and copy both refuse an occupied name, and a name taken in
// the meantime just moves on to the next number.
SetAside setAside(const QString& file, QString* copy)
{
    int next = 0;
    for (int attempt = 0; attempt < 100; ++attempt, ++next) {
        const QString target = freeDamagedName(file, &next);
        if (QFile::rename(file, target)) {
            keepToOwner(target);
            *copy = target;
            return SetAside::Cleared;
        }
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(file, target)) {
            if (QFileInfo::exists(target))
                continue;
            return SetAside::Failed;
        }
        keepToOwner(target);
        *copy = target;
        return QFile::resize(file, 0) ? SetAside::Cleared : SetAside::KeptOnly;
    }
    return SetAside::Failed;
}

// Qt reads the text of a value as UTF-8 and drops a U+FEFF that starts it, taking it for a byte order
// mark; such texts are kept as their UTF-8 bytes ("@ByteArray(...)" in the file) instead.
bool needsBytes(const QString& value)
{
    return value.contains(QChar(0xfeff));
}

QString fromBytes(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

// Why the settings file cannot be replaced: the steps of an atomic rewrite (a new file beside it,
// as large as the old one and a little more, then thrown away) tried once more, in the system's words.
QString replaceProblem(const QString& file)
{
    QSaveFile probe(file);
    if (!probe.open(QIODevice::WriteOnly))
        return probe.errorString();
    const QByteArray filler(QFileInfo(file).size() + 4096, ' ');
    QString problem;
    if (probe.write(filler) != filler.size() || !probe.flush())
        problem = probe.errorString();
    probe.cancelWriting();
    return problem.isEmpty() ? QStringLiteral("原因不明") : problem;
}

} // namespace

QSettingsStore::QSettingsStore() = default;
QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::GetSetting(const QString& app, const QString& section, const QString& key,
                                   const QString& defaultValue) const
{
    const AppSettings& entry = settingsFor(app);
    const QString address = section + QLatin1Char('/') + key;
    if (!entry.settings)
        return entry.unsaved.value(address, defaultValue);
    const QVariant value = entry.settings->value(address);
    if (value.typeId() == QMetaType::QByteArray)
        return fromBytes(value.toByteArray());
    // A value edited by hand into a list or another type is not one the program wrote.
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return defaultValue;
    return value.toString();
}

SaveOutcome QSettingsStore::SaveSettings(const QString& app, const QList<SettingsWrite>& writes)
{
    AppSettings& entry = settingsFor(app);
    if (!entry.settings) {
        for (const SettingsWrite& write : writes)
            entry.unsaved.insert(write.section + QLatin1Char('/') + write.key, write.value);
        return {false, entry.damagedCopy.isEmpty() ? entry.file : entry.damagedCopy,
                QStringLiteral("设置文件已损坏，无法移开")};
    }
    preparePrivateFile(entry.file);
    // QSettings never clears an error once reported: after a failed write a fresh object on the
    // file tells whether the next one works. It shares the values still waiting to be written.
    if (entry.settings->status() != QSettings::NoError)
        entry.settings = std::make_shared<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, app);
    QSettings& settings = *entry.settings;
    for (const SettingsWrite& write : writes) {
        const QString address = write.section + QLatin1Char('/') + write.key;
        settings.setValue(address,
                          needsBytes(write.value) ? QVariant(write.value.toUtf8()) : QVariant(write.value));
    }
    // Qt writes lazily; the values must be on disk before the caller goes on.
    settings.sync();
    // A file replaced from outside since the last write lends the rewrite its mode.
    keepToOwner(entry.file);
    if (settings.status() == QSettings::NoError)
        return {};
    const QString reason = replaceProblem(entry.file);
    qWarning("Quorvel: could not write %s: %s", qPrintable(entry.file), qPrintable(reason));
    return {false, entry.file, reason};
}

QString QSettingsStore::fileName(const QString& app) const
{
    return settingsFor(app).file;
}

QString QSettingsStore::recoveryMessage(const QString& app) const
{
    return settingsFor(app).message;
}

QString QSettingsStore::damagedCopy(const QString& app) const
{
    return settingsFor(app).damagedCopy;
}

bool QSettingsStore::readWhole(const QString& file, QByteArray* bytes) const
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    *bytes = in.readAll();
    return in.error() == QFileDevice::NoError;
}

QSettingsStore::AppSettings& QSettingsStore::settingsFor(const QString& app) const
{
    auto& entry = m_settings[app];
    if (!entry) {
        entry = std::make_shared<AppSettings>();
        checkFile(*entry, app);
    }
    return *entry;
}

void QSettingsStore::checkFile(AppSettings& entry, const QString& app) const
{
    auto settings = std::make_shared<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, app);
    entry.file = settings->fileName();
    // Files written before they were kept private are made so at the first look.
    keepToOwner(QFileInfo(entry.file).path());
    keepToOwner(entry.file);
    if (!QFileInfo::exists(entry.file)) {
        entry.settings = settings;
        return;
    }
    QByteArray bytes;
    const char* damage = readWhole(entry.file, &bytes) ? damageIn(bytes, settings->status()) : "unreadable";
    if (!damage) {
        entry.settings = settings;
        return;
    }

    // Let go of the file before it moves; the next QSettings sees the new, empty one.
    settings.reset();
    const SetAside outcome = setAside(entry.file, &entry.damagedCopy);
    if (outcome == SetAside::Cleared) {
        preparePrivateFile(entry.file);
        entry.settings = std::make_shared<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, app);
        entry.message = QStringLiteral("设置文件已损坏，已使用默认设置。损坏的文件保存在：%1")
                            .arg(QDir::toNativeSeparators(entry.damagedCopy));
        qWarning("Quorvel: settings file %s was damaged (%s); kept as %s", qPrintable(entry.file), damage,
                 qPrintable(entry.damagedCopy));
        return;
    }
    // The damaged bytes could not be cleared away: rather than write over them, this run keeps
    // its changes in memory.
    entry.message =
        QStringLiteral("设置文件已损坏，已使用默认设置，本次的更改不会保存。损坏的文件：%1")
            .arg(QDir::toNativeSeparators(entry.damagedCopy.isEmpty() ? entry.file : entry.damagedCopy));
    qWarning("Quorvel: settings file %s is damaged (%s) and could not be moved aside; changes stay unsaved",
             qPrintable(entry.file), damage);
}
