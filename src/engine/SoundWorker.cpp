#include "engine/SoundWorker.h"

#include "platform/SoundLoop.h"

#include <QFileInfo>

namespace {
QString withDetail(const QString& text, const QString& detail)
{
    return detail.isEmpty() ? text : QStringLiteral("%1（%2）").arg(text, detail);
}
} // namespace

SoundWorker::SoundWorker(const QString& fallbackFile, const QString& quietDefault, SoundLoop* loop,
                         QObject* parent)
    : QObject(parent), m_fallbackFile(fallbackFile), m_quietDefault(quietDefault), m_loop(loop), m_retry(this)
{
    m_loop->setParent(this);
    m_retry.setSingleShot(true);
    m_retry.setInterval(RetryMs);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        if (m_stage != Stage::Silent)
            m_loop->resume();
    });
    connect(m_loop, &SoundLoop::playing, this, &SoundWorker::onPlaying);
    connect(m_loop, &SoundLoop::finished, this, &SoundWorker::onFinished);
    connect(m_loop, &SoundLoop::fileFailed, this, &SoundWorker::onFileFailed);
    connect(m_loop, &SoundLoop::decoderMissing, this, &SoundWorker::onDecoderMissing);
    connect(m_loop, &SoundLoop::startFailed, this, &SoundWorker::onStartFailed);
    connect(m_loop, &SoundLoop::outputFailed, this, &SoundWorker::onOutputFailed);
}

SoundWorker::~SoundWorker()
{
    release();
}

void SoundWorker::play(const QString& fileName)
{
    release();
    m_chosen = fileName;
    m_isDefault = fileName == m_quietDefault;
    m_reason.clear();
    // No file at all is a silent alarm by choice, not a failure.
    if (fileName.isEmpty())
        return;
    switch (fileProblem(fileName)) {
    case FileProblem::None:
        start(fileName, Stage::Chosen);
        break;
    case FileProblem::Missing:
        useFallback(QStringLiteral("找不到声音文件“%1”").arg(fileName));
        break;
    case FileProblem::Unreadable:
        useFallback(QStringLiteral("无法读取声音文件“%1”").arg(fileName));
        break;
    }
}

void SoundWorker::stop()
{
    release();
    m_chosen.clear();
    m_reason.clear();
}

void SoundWorker::start(const QString& file, Stage stage)
{
    m_stage = stage;
    m_loop->start(SoundLoop::sourceFor(file), Plays);
}

void SoundWorker::release()
{
    m_stage = Stage::Silent;
    m_retry.stop();
    m_loop->stop(); // where GStreamer blocks for a source that failed
    setHeard(false);
}

void SoundWorker::setHeard(bool heard)
{
    if (heard == m_heard)
        return;
    m_heard = heard;
    emit sounding(heard ? (m_stage == Stage::Fallback ? m_fallbackFile : m_chosen) : QString());
}

void SoundWorker::useFallback(const QString& reason)
{
    release();
    // The default names no file the user chose: the desktop's sound is what it means.
    m_reason = m_isDefault ? QString() : reason;
    const FileProblem fallbackProblem = fileProblem(m_fallbackFile);
    if (fallbackProblem == FileProblem::None)
        start(m_fallbackFile, Stage::Fallback);
    else
        tellSilent(fallbackFailure(fallbackProblem == FileProblem::Missing ? QStringLiteral("找不到")
                                                                           : QStringLiteral("无法读取")));
}

QString SoundWorker::fallbackFailure(const QString& problem) const
{
    return QStringLiteral("系统闹钟声“%1”%2%3")
        .arg(m_fallbackFile, m_reason.isEmpty() ? QString() : QStringLiteral("也"), problem);
}

void SoundWorker::tellSilent(const QString& why)
{
    const QString lead = m_reason.isEmpty() ? QString() : m_reason + QStringLiteral("。");
    release();
    m_reason.clear();
    emit cannotPlay(m_chosen, QStringLiteral("%1%2，闹钟没有声音。").arg(lead, why));
}

void SoundWorker::onPlaying()
{
    if (m_stage == Stage::Silent)
        return;
    m_lossTold = false;
    setHeard(true);
    // Told once the fallback is heard, so the message says what really happens.
    if (m_stage == Stage::Fallback && !m_reason.isEmpty()) {
        emit cannotPlay(m_chosen, QStringLiteral("%1，改用系统闹钟声。").arg(m_reason));
        m_reason.clear();
    }
}

void SoundWorker::onFinished()
{
    // The plays are used up: silent, but the file stays chosen, so the same sound is not restarted.
    m_stage = Stage::Silent;
    setHeard(false);
}

void SoundWorker::onFileFailed(const QString& detail)
{
    onLoopFailed(withDetail(QStringLiteral("无法播放声音文件“%1”").arg(m_chosen), detail),
                 withDetail(QStringLiteral("无法播放"), detail));
}

void SoundWorker::onDecoderMissing(const QString& detail)
{
    onLoopFailed(withDetail(QStringLiteral("缺少播放声音文件“%1”所需的解码器").arg(m_chosen), detail),
                 withDetail(QStringLiteral("缺少所需的解码器"), detail));
}

void SoundWorker::onLoopFailed(const QString& chosenProblem, const QString& fallbackProblem)
{
    if (m_stage == Stage::Chosen)
        useFallback(chosenProblem);
    else if (m_stage == Stage::Fallback)
        tellSilent(fallbackFailure(fallbackProblem));
}

void SoundWorker::onStartFailed(const QString& detail)
{
    // The fallback would fail the same way: no file is to blame.
    if (m_stage != Stage::Silent)
        tellSilent(withDetail(QStringLiteral("声音播放器无法启动"), detail));
}

void SoundWorker::onOutputFailed(const QString& detail)
{
    if (m_stage == Stage::Silent)
        return;
    setHeard(false);
    if (!m_lossTold) {
        m_lossTold = true;
        emit outputLost(
            QStringLiteral("声音服务器连接失败（%1），闹钟暂时没有声音；声音服务器恢复后继续响铃。")
                .arg(detail));
    }
    m_retry.start();
}

SoundWorker::FileProblem SoundWorker::fileProblem(const QString& fileName)
{
    const QUrl source = SoundLoop::sourceFor(fileName);
    if (!source.isLocalFile())
        return FileProblem::None; // streams are the player's business
    const QFileInfo file(source.toLocalFile());
    if (!file.exists())
        return FileProblem::Missing;
    if (!file.isFile() || !file.isReadable())
        return FileProblem::Unreadable;
    return FileProblem::None;
}
