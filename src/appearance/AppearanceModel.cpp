#include "appearance/AppearanceModel.h"

template <typename T> void AppearanceModel::update(T& field, const T& to)
{
    if (field == to)
        return;
    field = to;
    emit changed();
}

void AppearanceModel::set(const Appearance& appearance)
{
    update(m_value, appearance);
}

void AppearanceModel::setColour(int index, quint32 colour)
{
    update(m_value.colours.at(std::size_t(index)), colour);
}

void AppearanceModel::setNoColour(int index, bool off)
{
    update(m_value.noColour.at(std::size_t(index)), off);
}

void AppearanceModel::setShadowSize(int size)
{
    update(m_value.shadowSize, size);
}

void AppearanceModel::setFontName(const QString& family)
{
    update(m_value.fontName, family);
}

void AppearanceModel::setOpacity(int opacity)
{
    update(m_value.opacity, opacity);
}
