// PB: what it shows of the presented surfaces, scaled with its aspect kept, and how pointer
// positions come back as game pixels. Checks are made in device pixels, so that the same
// tests hold on a HiDPI screen (CTest runs them a second time at scale factor 2).
#include "desktop_fixture.h"
#include "qt/paint_box.h"
#include "test_registry.h"

#include <QMenuBar>
#include <QPaintEvent>
#include <QtTest>
#include <cmath>

namespace orv::test {

namespace {

// A surface with a colour of its own at every pixel: red = x, green = y, blue = x + y (low
// bytes), so that any misplaced pixel shows.
Surface Gradient() {
    Surface surface(kScreenWidth, kScreenHeight);
    for (int y = 0; y < kScreenHeight; ++y) {
        uint8_t* p = surface.Row(y);
        for (int x = 0; x < kScreenWidth; ++x, p += 3) {
            p[0] = static_cast<uint8_t>(x + y);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x);
        }
    }
    return surface;
}

QRgb Expected(const Surface& surface, int x, int y) {
    uint32_t bgr = surface.Pixel(x, y);
    return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, bgr >> 16);
}

// Resizes the window so that PB gets the given size in widget coordinates.
void ResizePaintBox(TForm1& form, QSize size) {
    QSize extra = form.size() - form.PB().size();
    form.resize(size + extra);
    QTRY_COMPARE(form.PB().size(), size);
}

QImage Grab(PaintBox& pb) {
    return pb.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Records the region of every paint event PB receives.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
    QRegion Painted;
};

} // namespace

class PaintBoxTest : public QObject {
    Q_OBJECT

private slots:
    void aPresentedRectangleAppearsAtItsPlace() {
        Desktop desktop;
        desktop.form->PB().SetSmooth(false); // exact colours also at a scale factor of 2
        Surface source = Gradient();
        desktop.engine->gfx.FillPaintBox(0x000000);
        desktop.engine->gfx.Present(source, Rect{100, 50, 200, 100}, 10, 20);
        QImage shot = Grab(desktop.form->PB());
        qreal dpr = shot.devicePixelRatio();
        auto at = [&](int gx, int gy) {
            return shot.pixel(int((gx + 0.5) * dpr), int((gy + 0.5) * dpr));
        };
        QCOMPARE(shot.size(), QSize(int(kScreenWidth * dpr), int(kScreenHeight * dpr)));
        QCOMPARE(at(10, 20), Expected(source, 100, 50));
        QCOMPARE(at(209, 119), Expected(source, 299, 149));
        QCOMPARE(at(9, 20), qRgb(0, 0, 0));
        QCOMPARE(at(210, 119), qRgb(0, 0, 0));
        QCOMPARE(desktop.form->PB().Screen().Pixel(150, 70), source.Pixel(240, 100));
    }

    void fillingThePaintBoxPaintsOneColour() {
        Desktop desktop;
        desktop.engine->gfx.FillPaintBox(0x0000FF); // 0xBBGGRR: red
        QImage shot = Grab(desktop.form->PB());
        QCOMPARE(shot.pixel(0, 0), qRgb(255, 0, 0));
        QCOMPARE(shot.pixel(shot.width() - 1, shot.height() - 1), qRgb(255, 0, 0));
    }

    void aWiderWindowGetsBarsLeftAndRight() {
        Desktop desktop;
        desktop.engine->gfx.FillPaintBox(0xFFFFFF);
        ResizePaintBox(*desktop.form, QSize(1000, 600));
        QImage shot = Grab(desktop.form->PB());
        qreal dpr = shot.devicePixelRatio();
        QCOMPARE(shot.pixel(int(50 * dpr), int(300 * dpr)), qRgb(0, 0, 0));
        QCOMPARE(shot.pixel(int(950 * dpr), int(300 * dpr)), qRgb(0, 0, 0));
        QCOMPARE(shot.pixel(int(101 * dpr), int(300 * dpr)), qRgb(255, 255, 255));
        QCOMPARE(shot.pixel(int(899 * dpr), int(1 * dpr)), qRgb(255, 255, 255));
        QCOMPARE(desktop.form->PB().PictureRect(), QRectF(100, 0, 800, 600));
    }

    void aTallerWindowGetsBarsAboveAndBelow() {
        Desktop desktop;
        desktop.engine->gfx.FillPaintBox(0xFFFFFF);
        ResizePaintBox(*desktop.form, QSize(800, 800));
        QImage shot = Grab(desktop.form->PB());
        qreal dpr = shot.devicePixelRatio();
        QCOMPARE(shot.pixel(int(400 * dpr), int(50 * dpr)), qRgb(0, 0, 0));
        QCOMPARE(shot.pixel(int(400 * dpr), int(750 * dpr)), qRgb(0, 0, 0));
        QCOMPARE(shot.pixel(int(400 * dpr), int(400 * dpr)), qRgb(255, 255, 255));
    }

    void pointerPositionsMapBackToGamePixels() {
        Desktop desktop;
        PaintBox& pb = desktop.form->PB();
        QCOMPARE(pb.MapToGame(QPointF(0, 0)).X, 0);
        QCOMPARE(pb.MapToGame(QPointF(799.5, 599.5)).Y, 599);
        ResizePaintBox(*desktop.form, QSize(1600, 1200));
        Point middle = pb.MapToGame(QPointF(801, 601));
        QCOMPARE(middle.X, 400);
        QCOMPARE(middle.Y, 300);
        Point corner = pb.MapToGame(QPointF(1599.9, 1199.9));
        QCOMPARE(corner.X, 799);
        QCOMPARE(corner.Y, 599);
        ResizePaintBox(*desktop.form, QSize(1000, 600));
        Point inBar = pb.MapToGame(QPointF(20, 300));
        QCOMPARE(inBar.X, 0);
        QCOMPARE(inBar.Y, 300);
        QCOMPARE(pb.MapToGame(QPointF(100.5, 10.5)).X, 0);
        QCOMPARE(pb.MapToGame(QPointF(101.5, 10.5)).X, 1);
    }

    void sharpScalingRepeatsPixelsAndSmoothScalingBlends() {
        Desktop desktop;
        Surface checker(kScreenWidth, kScreenHeight);
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                std::memset(checker.Row(y) + x * 3, (x + y) % 2 ? 0xFF : 0x00, 3);
            }
        }
        desktop.engine->gfx.Present(checker, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
        ResizePaintBox(*desktop.form, QSize(1600, 1200));
        desktop.form->SetSmoothScaling(false);
        QImage sharp = Grab(desktop.form->PB());
        int step = int(std::lround(2 * sharp.devicePixelRatio())); // device pixels a game pixel
        for (int gy = 10; gy < 14; ++gy) {
            for (int gx = 20; gx < 24; ++gx) {
                QRgb want = (gx + gy) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
                for (int d = 0; d < step * step; ++d) {
                    QCOMPARE(sharp.pixel(gx * step + d % step, gy * step + d / step), want);
                }
            }
        }
        desktop.form->SetSmoothScaling(true);
        QImage smooth = Grab(desktop.form->PB());
        bool blended = false;
        for (int x = 40; x < 60 && !blended; ++x) {
            int grey = qRed(smooth.pixel(x, 40));
            blended = grey > 20 && grey < 235;
        }
        QVERIFY(blended);
    }

    void onlyThePresentedAreaIsRepainted() {
        Desktop desktop;
        ResizePaintBox(*desktop.form, QSize(1600, 1200));
        QTest::qWait(20);
        PaintRecorder recorder(&desktop.form->PB());
        Surface source = Gradient();
        desktop.engine->gfx.Present(source, Rect{0, 0, 10, 10}, 100, 100);
        QTRY_VERIFY(!recorder.Painted.isEmpty());
        QVERIFY(recorder.Painted.contains(QRect(200, 200, 20, 20)));
        QRect bounds = recorder.Painted.boundingRect();
        QVERIFY2(bounds.width() < 40 && bounds.height() < 40, "the repaint stays near the change");
    }

    void screenPositionsAreExchangedInGamePixelsAroundThePicture() {
        Desktop desktop;
        ResizePaintBox(*desktop.form, QSize(1600, 1200));
        PaintBox& pb = desktop.form->PB();
        ScreenAnchor anchor = pb.Anchor();
        QCOMPARE(anchor.Scale, 2.0);
        Point origin = desktop.platform.PaintBoxOrigin();
        QPoint global = pb.mapToGlobal(QPoint(0, 0));
        QCOMPARE(origin.X, global.x());
        QCOMPARE(origin.Y, global.y());
        // Game pixel (100, 50) of the picture is 200, 100 screen pixels from its corner.
        Point screen = anchor.ToScreen(Point{origin.X + 100, origin.Y + 50});
        QCOMPARE(screen.X, global.x() + 200);
        QCOMPARE(screen.Y, global.y() + 100);
    }
};

ORVELL_QT_TEST(PaintBoxTest);

} // namespace orv::test

#include "paint_box_test.moc"
