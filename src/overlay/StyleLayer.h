#pragma once

#include <QImage>
#include <QWidget>

// One look of the letters inside the sliding panel: shows its image and reports presses on
// pixels that are not the key colour (the see-through ones never receive clicks on screen).
class StyleLayer : public QWidget
{
    Q_OBJECT

public:
    explicit StyleLayer(QWidget* parent = nullptr);

    const QImage& image() const { return m_image; }
    void setImage(const QImage& image);

signals:
    void pressed(Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage m_image;
};
