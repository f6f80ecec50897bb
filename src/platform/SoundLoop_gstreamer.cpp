#include "platform/SoundLoop.h"

#include <QMetaObject>
#include <atomic>
#include <gst/gst.h>

// A playbin of our own. Looping by seeking back at the end of the stream leaves a gap and, in some
// pipelines, a stream that never ends again; instead, playbin asks for the next file shortly
// before the current one runs out ("about-to-finish") and plays it on without a gap. We give it
// the same file again until the plays are used up.
namespace {

// fluidsynth's default gain of 0.2 leaves a melody about 30 dB below mastered audio; this brings
// it to within a few dB, at the price of some clipping in dense, loud chords.
constexpr double kSynthGain = 3.5;
constexpr guint kAudioOnly = 0x2; // playbin's "audio" flag alone: no window for an mp3's cover art

bool gstreamerReady(QString* why)
{
    static QString failure = [] {
        GError* error = nullptr;
        if (gst_init_check(nullptr, nullptr, &error))
            return QString();
        const QString text = QString::fromUtf8(error ? error->message : "gst_init failed");
        g_clear_error(&error);
        return text.isEmpty() ? QStringLiteral("GStreamer") : text;
    }();
    *why = failure;
    return failure.isEmpty();
}

struct ErrorMessage
{
    QString text;
    // No element can decode the stream: playbin's own error, or a decoder that was wanted.
    bool decoderMissing = false;
};

ErrorMessage parseError(GstMessage* message)
{
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    ErrorMessage parsed;
    parsed.text = QString::fromUtf8(error ? error->message : "");
    parsed.decoderMissing = g_error_matches(error, GST_CORE_ERROR, GST_CORE_ERROR_MISSING_PLUGIN) ||
                            g_error_matches(error, GST_STREAM_ERROR, GST_STREAM_ERROR_CODEC_NOT_FOUND);
    g_clear_error(&error);
    return parsed;
}

} // namespace

struct SoundLoop::Private
{
    SoundLoop* q = nullptr;
    GstElement* pipeline = nullptr;
    GstElement* sink = nullptr; // owned by the pipeline
    QByteArray uri;
    QByteArray output;
    int plays = 0;
    std::atomic<int> begun{0};
    // Raised whenever the pipeline is replaced: messages still queued from an older one are dropped.
    quint64 generation = 0;

    struct Tag
    {
        Private* d;
        quint64 generation;
    };

    void run();
    void teardown();
    void handle(quint64 from, GstMessage* message);

    // Streaming threads: only atomics and the fields fixed while the pipeline runs.
    static void onAboutToFinish(GstElement* playbin, gpointer data);
    static void onElementAdded(GstBin*, GstBin*, GstElement* element, gpointer);
    static GstBusSyncReply onMessage(GstBus*, GstMessage* message, gpointer data);
};

void SoundLoop::Private::run()
{
    QString why;
    if (!gstreamerReady(&why)) {
        emit q->startFailed(why);
        return;
    }
    pipeline = gst_element_factory_make("playbin", nullptr);
    if (!output.isEmpty())
        sink = gst_parse_launch(output.constData(), nullptr);
    // The sound server's own sink, never a silent stand-in picked while the server is away.
    if (!sink)
        sink = gst_element_factory_make("pulsesink", nullptr);
    if (!sink)
        sink = gst_element_factory_make("autoaudiosink", nullptr);
    if (!pipeline || !sink) {
        if (sink)
            gst_object_unref(gst_object_ref_sink(sink));
        if (pipeline)
            gst_object_unref(pipeline);
        pipeline = sink = nullptr;
        emit q->startFailed(QStringLiteral("GStreamer playbin"));
        return;
    }
    g_object_set(pipeline, "uri", uri.constData(), "audio-sink", sink, "flags", kAudioOnly, nullptr);
    g_signal_connect(pipeline, "about-to-finish", G_CALLBACK(onAboutToFinish), this);
    g_signal_connect(pipeline, "deep-element-added", G_CALLBACK(onElementAdded), nullptr);
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, onMessage, new Tag{this, ++generation},
                             [](gpointer tag) { delete static_cast<Tag*>(tag); });
    gst_object_unref(bus);
    // A failure here (no server to connect to) also arrives as an error message.
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
}

void SoundLoop::Private::teardown()
{
    if (!pipeline)
        return;
    ++generation;
    GstBus* bus = gst_element_get_bus(pipeline);
    gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
    gst_object_unref(bus);
    gst_element_set_state(pipeline, GST_STATE_NULL); // joins the streaming threads
    gst_object_unref(pipeline);
    pipeline = sink = nullptr;
}

void SoundLoop::Private::handle(quint64 from, GstMessage* message)
{
    if (from != generation || !pipeline)
        return;
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_STATE_CHANGED: {
        GstState newState = GST_STATE_NULL;
        gst_message_parse_state_changed(message, nullptr, &newState, nullptr);
        if (GST_MESSAGE_SRC(message) == GST_OBJECT(pipeline) && newState == GST_STATE_PLAYING)
            emit q->playing();
        break;
    }
    case GST_MESSAGE_EOS:
        teardown();
        emit q->finished();
        break;
    case GST_MESSAGE_ERROR: {
        GstObject* source = GST_MESSAGE_SRC(message);
        const bool output =
            source == GST_OBJECT(sink) || gst_object_has_as_ancestor(source, GST_OBJECT(sink));
        const ErrorMessage error = parseError(message);
        teardown();
        if (output)
            emit q->outputFailed(error.text);
        else if (error.decoderMissing)
            emit q->decoderMissing(error.text);
        else
            emit q->fileFailed(error.text);
        break;
    }
    default:
        break;
    }
}

void SoundLoop::Private::onAboutToFinish(GstElement* playbin, gpointer data)
{
    auto* d = static_cast<Private*>(data);
    int begun = d->begun.load();
    if (begun >= d->plays)
        return; // no next play: the stream ends
    d->begun.store(begun + 1);
    g_object_set(playbin, "uri", d->uri.constData(), nullptr);
}

void SoundLoop::Private::onElementAdded(GstBin*, GstBin*, GstElement* element, gpointer)
{
    if (g_strcmp0(G_OBJECT_TYPE_NAME(element), "GstFluidDec") == 0 &&
        g_object_class_find_property(G_OBJECT_GET_CLASS(element), "synth-gain"))
        g_object_set(element, "synth-gain", kSynthGain, nullptr);
}

GstBusSyncReply SoundLoop::Private::onMessage(GstBus*, GstMessage* message, gpointer data)
{
    const GstMessageType type = GST_MESSAGE_TYPE(message);
    if (type == GST_MESSAGE_STATE_CHANGED || type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
        const Tag tag = *static_cast<Tag*>(data);
        std::shared_ptr<GstMessage> held(gst_message_ref(message), gst_message_unref);
        QMetaObject::invokeMethod(
            tag.d->q, [tag, held] { tag.d->handle(tag.generation, held.get()); }, Qt::QueuedConnection);
    }
    return GST_BUS_DROP; // nobody pops the bus; dropping keeps it from filling up
}

SoundLoop::SoundLoop(QObject* parent) : QObject(parent), d(std::make_unique<Private>())
{
    d->q = this;
}

SoundLoop::~SoundLoop()
{
    d->teardown();
}

void SoundLoop::setOutput(const QString& description)
{
    d->output = description.toUtf8();
}

void SoundLoop::start(const QUrl& source, int plays)
{
    d->teardown();
    d->uri = source.toEncoded();
    d->plays = plays;
    d->begun.store(plays > 0 ? 1 : 0);
    if (plays > 0)
        d->run();
}

void SoundLoop::resume()
{
    d->teardown();
    if (!d->uri.isEmpty() && d->begun.load() > 0)
        d->run();
}

void SoundLoop::stop()
{
    d->teardown();
    d->uri.clear();
    d->begun.store(0);
}

int SoundLoop::playsBegun() const
{
    return d->begun.load();
}
