#pragma once

#include "overlay/OverlayCycle.h"
#include "overlay/OverlayPort.h"

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QWidget>
#include <array>

class AppearanceModel;
class CaptionQueue;
class QLabel;
class QTimer;
class StyleLayer;
class UnmanagedWindow;

// The strip across the primary screen in which fired texts slide in, blink and slide out in large
// gradient-filled letters. Everything but the letters is see-through and lets clicks through.
// The sliding panel moves along the strip's band; the window is only the letters' box inside it
// and moves with it, so it takes no clicks elsewhere, even where the window system ignores its
// shape. The shape, the visible look's letters, is worked out once per rendering and per blink,
// not per tick. The window system moves the window without repainting the letters, and the window
// manager stays out of it.
class Form2 : public QWidget, public OverlayPort, private OverlayCycle::Host
{
    Q_OBJECT

public:
    // The app owns the queue and the appearance. Every rendering reads both; a change of the
    // appearance renders the letters again at the next cycle and applies its opacity and font.
    Form2(CaptionQueue& CapList, const AppearanceModel& appearance, QWidget* parent = nullptr);

    // OverlayPort
    void SetCap(const QString& text) override;
    void showOverlay() override;
    bool cycleRunning() const override;
    void startSlideIn() override;
    void PosTop() override;

    // Places the strip and its panel, applies the opacity and shows the strip; the constructor
    // runs it once.
    void Form_Load();
    // Takes the opacity from the appearance model; only shows where a compositor runs.
    void SetTr();

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    // Holds the strip still in its phase: the phase's timer stops ticking until released. For
    // pictures of the letters; the handlers above still step the cycle by hand.
    void holdStill(bool held);

    qint16 BlinkCount() const { return m_cycle.BlinkCount(); }
    qint16 CapWidth() const { return m_capWidth; }
    OverlayCycle::Phase phase() const { return m_cycle.phase(); }
    // Where the strip lies on the desktop: across the primary screen, 400 px below its top.
    QRect stripGeometry() const { return m_strip; }
    // The panel's left edge relative to the strip; the window lies at the letters inside it.
    int panelLeft() const { return m_cycle.panelLeft(); }
    // The shape last given to the window, in its own logical pixels.
    const QRegion& shape() const { return m_shape; }
    // The rendered look 0 (P1) or 1 (P2), as its style layer shows it.
    QImage layerImage(int look) const;
    // The text canvas of the last rendering.
    const QImage& canvas() const { return Picture1; }

signals:
    void appearanceDialogRequested();
    // A left click on the letters: the app restores the main window if it is hidden.
    void mainWindowRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    int screenWidth() const override;
    bool captionStep() override;
    // Runs the one timer of the new phase, and watches the stacking while a cycle runs.
    void phaseChanged(OverlayCycle::Phase from, OverlayCycle::Phase to) override;
    QTimer* timerOf(OverlayCycle::Phase phase) const;

    void buildChildren();
    // Follows the primary screen: the strip's band and the part of it the letters may show in.
    void placeStrip();
    void followScreens();
    void onLayerPressed(Qt::MouseButton button);
    void onAppearanceChanged();
    // Puts the window on the letters' box at the panel's place, in the visible look's shape.
    void placeWindow();
    void onCovered();
    void clipShapesToPanel();
    void applyShape();
    qreal renderRatio() const;

    CaptionQueue& m_capList;
    const AppearanceModel& m_appearance;
    OverlayCycle m_cycle;
    // "" at load, "c" after an appearance change (re-render at the next cycle), "s" after that.
    QString RenderMark;

    QWidget* Picture3 = nullptr;
    std::array<StyleLayer*, 2> Picture2{};
    QImage Picture1;
    QLabel* Label1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* Timer3 = nullptr;
    bool m_held = false;

    QFont m_font;
    qint16 m_capWidth = 0;
    // Each look's letters in layer coordinates, and the same clipped to the panel in window
    // coordinates. Both in device pixels.
    std::array<QRegion, 2> m_letterShapes;
    std::array<QRegion, 2> m_panelShapes;
    int m_shapePanelWidth = -1;
    // The window's part of the panel, in panel coordinates: the letters' extent inside it.
    QRect m_box;
    qreal m_ratio = 1;

    QRect m_strip;
    // The strip's band, open towards every side where no other screen lies: letters may show
    // anywhere in it, and only need cutting where they would reach a neighbouring screen.
    QRect m_showArea;
    // Letters are cut where another screen lies beyond the band, so there the shape follows the place.
    bool m_shapeFollowsPlace = false;
    QRegion m_shape;
    QRegion m_shownDevicePixels;
    bool m_shapeSent = false;
    bool m_shapeStale = true;
    // Where the window was last put, in logical pixels.
    QRect m_placed;
    UnmanagedWindow* m_window = nullptr;
};
