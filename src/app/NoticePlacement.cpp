#include "app/NoticePlacement.h"

#include <QList>
#include <algorithm>
#include <climits>

namespace NoticePlacement {

namespace {

// The empty space between two rectangles, across and down together.
int distance(const QRect& a, const QRect& b)
{
    const int across = std::max({0, a.left() - b.right() - 1, b.left() - a.right() - 1});
    const int down = std::max({0, a.top() - b.bottom() - 1, b.top() - a.bottom() - 1});
    return across + down;
}

} // namespace

QRect beside(const QRect& mainFrame, const QSize& size, const QRect& screen, const QRect& band)
{
    const int w = size.width();
    const int h = size.height();
    const QList<int> lefts{mainFrame.right() + 1 + kGap, mainFrame.left() - kGap - w, mainFrame.left(),
                           mainFrame.right() + 1 - w};
    const QList<int> tops{
        mainFrame.top(),          mainFrame.bottom() + 1 - h,    band.top() - kGap - h,
        band.bottom() + 1 + kGap, mainFrame.bottom() + 1 + kGap, mainFrame.top() - kGap - h};
    QRect best;
    int bestDistance = INT_MAX;
    for (const int left : lefts) {
        for (const int top : tops) {
            const QRect place(left, top, w, h);
            if (!screen.contains(place) || place.intersects(mainFrame) || place.intersects(band))
                continue;
            const int gap = distance(place, mainFrame);
            if (gap < bestDistance) {
                best = place;
                bestDistance = gap;
            }
        }
    }
    if (bestDistance != INT_MAX)
        return best;
    const bool mainLeft = mainFrame.center().x() < screen.center().x();
    const bool mainHigh = mainFrame.center().y() < screen.center().y();
    return QRect(mainLeft ? screen.right() + 1 - w : screen.left(),
                 mainHigh ? screen.bottom() + 1 - h : screen.top(), w, h);
}

} // namespace NoticePlacement
