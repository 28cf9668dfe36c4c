#pragma once
// A desktop front end on a small game in a temporary directory: the engine, its main window
// and a platform whose message boxes answer from a queue instead of waiting for a person.

#include "data/archive_index.h"
#include "engine/engine.h"
#include "qt/main_window.h"
#include "qt/qt_platform.h"

#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orv::test {

class RecordingPlatform : public QtPlatform {
public:
    MessageBoxResult MessageBox(std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons, MessageBoxIcon icon) override {
        if (RealBoxes) {
            return QtPlatform::MessageBox(text, caption, buttons, icon);
        }
        Boxes.push_back(std::string(caption) + ": " + std::string(text));
        if (Answers.empty()) {
            return MessageBoxResult::Ok;
        }
        MessageBoxResult answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    bool RealBoxes = false;
    std::deque<MessageBoxResult> Answers;
    std::vector<std::string> Boxes;
};

// Writes a game directory: a text archive holding the script `main` and a picture archive.
inline bool WriteTestGame(const std::filesystem::path& dir) {
    std::string script("line one\0line two\0", 18);
    std::vector<ArchiveEntryInput> texts{{"main", Bytes(script.begin(), script.end())}};
    for (auto& entry : texts) {
        NegateBytes(entry.Data.data(), entry.Data.size());
    }
    Bytes data, pictures;
    if (!BuildArchive(IndexForm::A, 0, texts, data) ||
        !BuildArchive(IndexForm::B, 32, {}, pictures)) {
        return false;
    }
    auto write = [](const std::filesystem::path& path, const Bytes& bytes) {
        QFile file(QString::fromStdString(path.string()));
        return file.open(QIODevice::WriteOnly) &&
               file.write(reinterpret_cast<const char*>(bytes.data()),
                          static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
    };
    return write(dir / "ov_data.orv", data) && write(dir / "ov_gra.orv", pictures);
}

class Desktop {
    // Declared first: removed last, after the engine is gone.
    QTemporaryDir m_dir;

public:
    Desktop() {
        QVERIFY(m_dir.isValid());
        GameDir = m_dir.filePath("game").toStdString();
        std::filesystem::create_directories(GameDir);
        std::filesystem::create_directories(m_dir.filePath("data").toStdString());
        QVERIFY(WriteTestGame(GameDir));
        EngineOptions options;
        options.GameDirectory = GameDir;
        options.DataDirectory = m_dir.filePath("data").toStdString();
        options.Seed = 1;
        engine = std::make_unique<Engine>(platform, options);
        form = std::make_unique<TForm1>(*engine);
        platform.AttachWindow(form.get());
        engine->FormCreate();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    ~Desktop() {
        platform.AttachWindow(nullptr);
        form.reset();
        // The engine's mixer goes before the platform: the audio device must stop first.
        platform.StopAudio();
    }
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    std::filesystem::path GameDir;
    RecordingPlatform platform;
    std::unique_ptr<Engine> engine;
    std::unique_ptr<TForm1> form;
};

} // namespace orv::test
