#pragma once

#include <QImage>
#include <QWidget>

// One look of the letters inside the sliding panel: shows its image with the key colour as
// transparent pixels, and reports presses on pixels that are not the key colour (the see-through
// ones never receive clicks on screen). The image may be finer than the widget: its device pixel
// ratio says by how much. A layer laid over another flashes by painting rather than by showing and
// hiding, so that a screen reader hears nothing of the flash.
class StyleLayer : public QWidget
{
    Q_OBJECT

public:
    explicit StyleLayer(QWidget* parent = nullptr);

    // The letters as they show: ARGB32 premultiplied, transparent where see-through, so the strip
    // is see-through there even where the window system ignores the window's shape.
    void setImage(const QImage& shown);
    // The same as RGB32 with the key colour in place of the transparent pixels.
    QImage image() const;
    // Unlit, the layer paints nothing and takes no clicks: the one below shows and takes them.
    void setLit(bool lit);
    bool isLit() const { return m_lit; }

signals:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_shown;
    bool m_lit = true;
};
