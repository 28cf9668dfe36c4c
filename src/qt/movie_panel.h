#pragma once
// Panel2, the movie's display: a Qt Multimedia player whose frames are painted into the
// 800 by 600 panel, scaled like PB. Frames are painted by the panel itself rather than by a
// video widget so that a click on the panel reaches it (a video widget is a native window that
// keeps its clicks) and so that the panel works on every platform plugin, offscreen included.

#include <QVideoFrame>
#include <QWidget>
#include <string>

class QAudioOutput;
class QMediaPlayer;
class QVideoSink;

namespace orv {

class MoviePanel : public QWidget {
    Q_OBJECT

public:
    explicit MoviePanel(QWidget* parent);
    ~MoviePanel() override;

    // False when the file cannot be read or no media back end is available. A file that
    // turns out not to play reports an error later and then simply is not playing.
    bool Open(const std::string& path);
    void Play();
    bool IsPlaying() const;
    void Stop();
    void Close();

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool EnsurePlayer();

    QMediaPlayer* m_player = nullptr;
    QAudioOutput* m_audio = nullptr;
    QVideoSink* m_sink = nullptr;
    QVideoFrame m_frame;
    bool m_failed = false;
};

} // namespace orv
