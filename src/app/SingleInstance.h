#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <memory>

// One running copy per user: the first copy holds a lock file and listens on a local socket in
// the user's runtime folder; a later copy asks it to come forward and then ends.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    // `folder` defaults to the user's runtime folder.
    explicit SingleInstance(const QString& folder = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the running copy. A lock left by a crashed copy is taken over.
    bool becomePrimary();
    // From a later copy: asks the running one to show its window. False when nobody answered.
    bool askPrimaryToRaise(int timeoutMs = 3000);

    QString socketPath() const;

signals:
    void raiseRequested();

private:
    void onNewConnection();

    QString m_folder;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
