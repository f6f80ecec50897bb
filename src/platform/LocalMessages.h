#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>

// One-line messages between copies of the program run by one user, through a local socket.
class LocalListener : public QObject
{
    Q_OBJECT
public:
    explicit LocalListener(QObject* parent = nullptr);
    ~LocalListener() override;

    // Listens at the path, replacing whatever was left there; only the user may connect.
    bool listen(const QString& path);
    QString errorString() const { return m_error; }

signals:
    // A sender's line has arrived whole.
    void lineReceived();

private:
    struct Private;
    std::unique_ptr<Private> d;
    QString m_error;
};

namespace LocalMessages {
// Sends one line to the listener at the path, trying again until the timeout; false when none
// took it.
bool send(const QString& path, const QByteArray& line, int timeoutMs);
} // namespace LocalMessages
