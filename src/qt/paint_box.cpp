#include "qt/paint_box.h"

#include "engine/engine.h"
#include "platform/first_frame_exit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <cmath>
#include <optional>

namespace orv {

namespace {
// Whether the engine has shown a picture yet: the first paint after it is the first frame.
bool g_enginePresented = false;
} // namespace

namespace {

std::optional<MouseButton> EngineButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return std::nullopt;
    }
}

} // namespace

PaintBox::PaintBox(Engine& engine, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_screen(kScreenWidth, kScreenHeight) {
    setObjectName("PB");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(kScreenWidth / 8, kScreenHeight / 8);
}

const Surface& PaintBox::Screen() const {
    const Surface& engineCopy = m_engine.gfx.PaintBoxCopy();
    return engineCopy.Empty() ? m_screen : engineCopy;
}

void PaintBox::Present(const Surface& source, Rect from, int x, int y) {
    g_enginePresented = true;
    if (&Screen() == &m_screen) {
        m_screen.CopyFrom(source, from, x, y);
    }
    UpdateGameRect(Rect{x, y, from.Width, from.Height});
}

void PaintBox::Fill(uint32_t bgr) {
    if (&Screen() == &m_screen) {
        m_screen.Fill(bgr);
    }
    update();
}

void PaintBox::SetSmooth(bool smooth) {
    if (m_smooth != smooth) {
        m_smooth = smooth;
        update();
    }
}

Letterbox PaintBox::DeviceFit() const {
    qreal dpr = devicePixelRatioF();
    return Letterbox::Fit(static_cast<int>(std::lround(width() * dpr)),
                          static_cast<int>(std::lround(height() * dpr)));
}

QRectF PaintBox::PictureRect() const {
    qreal dpr = devicePixelRatioF();
    Rect r = DeviceFit().Picture;
    return QRectF(r.X / dpr, r.Y / dpr, r.Width / dpr, r.Height / dpr);
}

Point PaintBox::MapToGame(QPointF position) const {
    qreal dpr = devicePixelRatioF();
    return DeviceFit().MapToGame(position.x() * dpr, position.y() * dpr);
}

bool PaintBox::OverPicture(QPointF position) const {
    qreal dpr = devicePixelRatioF();
    Rect picture = DeviceFit().Picture;
    double x = position.x() * dpr;
    double y = position.y() * dpr;
    return x >= picture.X && y >= picture.Y && x < picture.X + picture.Width &&
           y < picture.Y + picture.Height;
}

ScreenAnchor PaintBox::Anchor() const {
    QRectF picture = PictureRect();
    QPointF origin = QPointF(mapToGlobal(QPoint(0, 0))) + picture.topLeft();
    return ScreenAnchor{origin.x(), origin.y(), picture.width() / kScreenWidth};
}

void PaintBox::UpdateGameRect(Rect game) {
    Rect area = DeviceFit().MapToArea(game);
    if (area.Width <= 0 || area.Height <= 0) {
        return;
    }
    qreal dpr = devicePixelRatioF();
    QRectF logical(area.X / dpr, area.Y / dpr, area.Width / dpr, area.Height / dpr);
    // Filtering reads one neighbouring pixel beyond the rectangle's edge.
    update(logical.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void PaintBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRectF picture = PictureRect();
    QRegion bars = QRegion(rect()).subtracted(QRegion(picture.toAlignedRect()));
    for (const QRect& bar : bars) {
        painter.fillRect(bar, Qt::black);
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_smooth);
    const Surface& screen = Screen();
    // A view of the bytes, not a copy of them.
    const QImage view(screen.Data(), screen.Width(), screen.Height(), screen.Stride(),
                      QImage::Format_BGR888);
    painter.drawImage(picture, view);
    if (g_enginePresented) {
        ExitIfFirstFrameWanted();
    }
}

void PaintBox::mousePressEvent(QMouseEvent* event) {
    if (auto button = EngineButton(event->button())) {
        Point p = MapToGame(event->position());
        m_engine.PBMouseDown(*button, p.X, p.Y);
    }
}

void PaintBox::mouseMoveEvent(QMouseEvent* event) {
    Point p = MapToGame(event->position());
    m_engine.PBMouseMove(p.X, p.Y);
    // In the bars beside a letterboxed picture the pointer is off the game screen, though it
    // maps to the nearest edge pixel so that drags still end on the picture.
    if (!OverPicture(event->position())) {
        m_engine.PBMouseLeave();
    }
}

void PaintBox::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    m_engine.PBMouseLeave();
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event) {
    if (auto button = EngineButton(event->button())) {
        Point p = MapToGame(event->position());
        m_engine.PBMouseUp(*button, p.X, p.Y);
    }
}

void PaintBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RequestEnginePaint();
}

void PaintBox::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    RequestEnginePaint();
}

// The paint box's own pixels are repainted by Qt at any time; the engine's paint handler runs
// when the box is exposed (shown or resized), after the event that
// caused it, so that it never runs in the middle of a layout change.
void PaintBox::RequestEnginePaint() {
    if (m_enginePaintQueued) {
        return;
    }
    m_enginePaintQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_enginePaintQueued = false;
            m_engine.PBPaint();
        },
        Qt::QueuedConnection);
}

} // namespace orv
