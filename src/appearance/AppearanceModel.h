#pragma once

#include "appearance/Appearance.h"

#include <QObject>

// The appearance the strip renders with. The appearance dialog edits it; the strip observes it.
class AppearanceModel : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    const Appearance& value() const { return m_value; }

    // Each setter emits changed() only when the value really changes.
    void set(const Appearance& appearance);
    void setColour(int index, quint32 colour);
    void setNoColour(int index, bool off);
    void setShadowSize(int size);
    void setFontName(const QString& family);
    void setOpacity(int opacity);

signals:
    void changed();

private:
    template <typename T> void update(T& field, const T& to);

    Appearance m_value;
};
