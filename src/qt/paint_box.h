#pragma once
// PB, the game screen: an 800 by 600 surface of its own that the engine presents into, shown
// scaled to the widget with its aspect kept. The surface's bytes are painted as they are
// (24-bit BGR rows with their stride) without conversion to an intermediate picture.

#include "gfx/surface.h"
#include "platform/letterbox.h"

#include <QImage>
#include <QWidget>

namespace orv {

class Engine;

class PaintBox : public QWidget {
    Q_OBJECT

public:
    PaintBox(Engine& engine, QWidget* parent);

    // Copies rectangle `from` of `source` to (x, y) and repaints what changed.
    void Present(const Surface& source, Rect from, int x, int y);
    void Fill(uint32_t bgr);
    // What PB shows: the engine's own copy of PB once it has one, so that the desktop keeps
    // no second copy of the screen and presents without copying; before that, a black
    // picture of its own.
    const Surface& Screen() const;

    // Smooth (filtered) or sharp (nearest pixel) scaling.
    void SetSmooth(bool smooth);
    bool Smooth() const { return m_smooth; }

    // The picture's place in device pixels, which is what makes a HiDPI picture crisp.
    Letterbox DeviceFit() const;
    // The picture's rectangle in widget coordinates.
    QRectF PictureRect() const;
    // The game pixel under a widget position.
    Point MapToGame(QPointF position) const;
    // The widget position lies on the game picture, not in the bars beside it.
    bool OverPicture(QPointF position) const;
    // Screen coordinates of the picture as the engine exchanges them.
    ScreenAnchor Anchor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void RequestEnginePaint();
    void UpdateGameRect(Rect game);

    Engine& m_engine;
    Surface m_screen;
    bool m_smooth = true;
    bool m_enginePaintQueued = false;
};

} // namespace orv
