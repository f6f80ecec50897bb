#include "platform/MidiLoudness.h"

#include <glib-object.h>

// Qt Multimedia plays MIDI through GStreamer's fluidsynth element, which decodebin creates deep
// inside Qt's pipeline where Qt offers no handle on it. An emission hook on every bin's
// "element-added" sees each element as it is plugged in, before it has synthesised anything.
namespace {

// fluidsynth's default gain of 0.2 leaves a melody about 30 dB below mastered audio; this brings
// it to within a few dB, at the price of some clipping in dense, loud chords.
constexpr double kSynthGain = 3.5;

gboolean onElementAdded(GSignalInvocationHint*, guint count, const GValue* values, gpointer)
{
    if (count < 2 || !G_VALUE_HOLDS_OBJECT(&values[1]))
        return TRUE;
    GObject* element = static_cast<GObject*>(g_value_get_object(&values[1]));
    if (element && g_strcmp0(G_OBJECT_TYPE_NAME(element), "GstFluidDec") == 0 &&
        g_object_class_find_property(G_OBJECT_GET_CLASS(element), "synth-gain"))
        g_object_set(element, "synth-gain", kSynthGain, nullptr);
    return TRUE; // stay installed
}

bool installHook()
{
    // Registered by gst_init, which Qt's GStreamer backend runs when the first player is made.
    const GType bin = g_type_from_name("GstBin");
    if (bin == 0)
        return false;
    g_type_class_unref(g_type_class_ref(bin)); // makes sure the class's signals exist
    const guint signal = g_signal_lookup("element-added", bin);
    return signal != 0 && g_signal_add_emission_hook(signal, 0, onElementAdded, nullptr, nullptr) != 0;
}

} // namespace

void MidiLoudness::raise()
{
    static const bool installed = installHook();
    (void)installed;
}
