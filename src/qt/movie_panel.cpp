#include "qt/movie_panel.h"

#include "platform/letterbox.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QMouseEvent>
#include <QPainter>
#include <QVideoSink>

namespace orv {

MoviePanel::MoviePanel(QWidget* parent) : QWidget(parent) {
    setObjectName("Panel2");
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

MoviePanel::~MoviePanel() {
    if (m_player) {
        m_player->stop();
    }
}

// The player is made on the first movie: loading the media back end costs start-up time
// and prints warnings on machines without one, and most games never play a movie.
bool MoviePanel::EnsurePlayer() {
    if (m_player) {
        return true;
    }
    // Qt 6.4's GStreamer back end crashes (a null element linked) where GStreamer's base
    // plugins are missing, and Debian's Qt Multimedia depends on the FFmpeg libraries but not
    // on those plugins: the FFmpeg back end is the one that is always there. A choice made in
    // the environment still wins.
    if (!qEnvironmentVariableIsSet("QT_MEDIA_BACKEND")) {
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    }
    m_player = new QMediaPlayer(this);
    if (!m_player->isAvailable()) {
        delete m_player;
        m_player = nullptr;
        return false;
    }
    m_audio = new QAudioOutput(this);
    m_sink = new QVideoSink(this);
    m_player->setAudioOutput(m_audio);
    m_player->setVideoSink(m_sink);
    connect(m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        m_frame = frame;
        update();
    });
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this] {
        m_failed = true;
        m_player->stop();
    });
    return true;
}

bool MoviePanel::Open(const std::string& path) {
    QFileInfo file(QString::fromStdString(path));
    if (!file.isFile() || !file.isReadable() || !EnsurePlayer()) {
        return false;
    }
    m_failed = false;
    m_frame = QVideoFrame();
    m_player->setSource(QUrl::fromLocalFile(file.absoluteFilePath()));
    return m_player->error() == QMediaPlayer::NoError;
}

void MoviePanel::Play() {
    if (m_player && !m_failed) {
        m_player->play();
    }
}

bool MoviePanel::IsPlaying() const {
    return m_player && !m_failed && m_player->playbackState() == QMediaPlayer::PlayingState;
}

void MoviePanel::Stop() {
    if (m_player) {
        m_player->stop();
    }
}

void MoviePanel::Close() {
    if (m_player) {
        m_player->stop();
        m_player->setSource(QUrl());
    }
    m_frame = QVideoFrame();
    update();
}

void MoviePanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isValid()) {
        return;
    }
    // The panel's 800 by 600 area is fitted like PB; the movie keeps its own aspect inside.
    Letterbox box = Letterbox::Fit(width(), height());
    QRectF area(box.Picture.X, box.Picture.Y, box.Picture.Width, box.Picture.Height);
    QVideoFrame::PaintOptions options;
    options.backgroundColor = Qt::black;
    options.aspectRatioMode = Qt::KeepAspectRatio;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    m_frame.paint(&painter, area, options);
}

void MoviePanel::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit Clicked();
}

} // namespace orv
