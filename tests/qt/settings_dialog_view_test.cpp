// TForm11, the settings dialog: its tabs and controls over the model, the keyboard reaching
// them, slider drags written on release, and nothing written by showing and closing it.
#include "base/cp932.h"
#include "base/files.h"
#include "desktop_fixture.h"
#include "dialogs/settings_dialog.h"
#include "qt/settings_dialog_view.h"
#include "test_registry.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace orv::test {

namespace {

class NoFonts : public FontFamilySource {
public:
    std::vector<FontFamilyNames> JapaneseFamilies() override {
        return {{{{"ja", "IPAゴシック"}}}, {{{"", "Noto Sans CJK JP"}}}};
    }
};

std::string SettingsFile(Engine& engine) {
    SettingsStore store(SettingsRoot(engine.Options().DataDirectory));
    std::optional<Bytes> bytes = ReadWholeFile(store.FileFor(GameSettingsLocation(engine.config)));
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

std::optional<std::string> Stored(Engine& engine, std::string_view name) {
    SettingsStore store(SettingsRoot(engine.Options().DataDirectory));
    return store.Load(GameSettingsLocation(engine.config)).Text(name);
}

void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QTest::keyClick(focus, key, modifiers);
}

} // namespace

class SettingsDialogViewTest : public QObject {
    Q_OBJECT

private slots:
    void showsFourTabsAndShowingAndClosingWritesNothing() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        engine.WriteSetting("Seen", "1");
        std::string before = SettingsFile(engine);
        NoFonts fonts;
        engine.dialogs.SetFontSource(fonts);
        bool seen = false;
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<TForm11*>(QApplication::activeModalWidget());
            seen = dialog != nullptr;
            if (!dialog) {
                return;
            }
            QCOMPARE(dialog->windowTitle(), QString("設定"));
            QCOMPARE(dialog->size(), QSize(396, 324));
            QCOMPARE(dialog->PageControl1->count(), 4);
            QCOMPARE(dialog->PageControl1->tabText(1), QString("音設定(&O)"));
            QCOMPARE(dialog->ComboBox1->count(), 2);
            // The game names no config screen: its switch is not shown.
            QVERIFY(!dialog->ControlWidget(SettingsDialogModel::Find("CONFIG_MODE")));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        engine.dialogs.ShowSettings();
        QVERIFY(seen);
        QCOMPARE(SettingsFile(engine), before);
        engine.QuitRequested = 1;
    }

    void theKeyboardReachesTheControlsAndEachChangeIsWritten() {
        Desktop desktop;
        Engine& engine = *desktop.engine;
        NoFonts fonts;
        SettingsDialogModel model(engine, fonts);
        model.Fill();
        TForm11 dialog(model, desktop.form.get());
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), dialog.PageControl1->tabBar());

        // Tab goes from the tabs into the page: the screen mode's first button, then on.
        Press(Qt::Key_Tab);
        auto* screenMode = qobject_cast<QGroupBox*>(dialog.ControlWidget(SettingsDialogModel::Find("SMode")));
        QVERIFY(screenMode);
        QVERIFY(screenMode->isAncestorOf(QApplication::focusWidget()));
        // A mnemonic: Alt+E toggles "未読でスキップ等を止める" (Seen).
        auto* seen = qobject_cast<QCheckBox*>(dialog.ControlWidget(SettingsDialogModel::Find("Seen")));
        QVERIFY(seen);
        QVERIFY(seen->text().endsWith("(&E)"));
        QTest::keyClick(&dialog, Qt::Key_E, Qt::AltModifier);
        // A mnemonic clicks after a short animation.
        QTRY_COMPARE(Stored(engine, "Seen"), std::optional<std::string>("0"));
        QCOMPARE(engine.settings.Seen, false);

        // A slider's keys are whole changes; a drag is written when it is let go.
        dialog.PageControl1->setCurrentIndex(settings_tab::Sound);
        auto* voice = qobject_cast<QSlider*>(dialog.ControlWidget(SettingsDialogModel::Find("Vol1")));
        QVERIFY(voice);
        voice->setFocus();
        int start = voice->value();
        Press(Qt::Key_PageDown);
        QCOMPARE(Stored(engine, "Vol1"), std::optional<std::string>(std::to_string(voice->value())));
        QVERIFY(voice->value() != start);
        voice->setSliderDown(true);
        voice->setSliderPosition(-2000);
        voice->setSliderPosition(-2100);
        QCOMPARE(engine.settings.VoiceVolume, -5250);
        QVERIFY(Stored(engine, "Vol1") != std::optional<std::string>("-2100"));
        voice->setSliderDown(false);
        QCOMPARE(Stored(engine, "Vol1"), std::optional<std::string>("-2100"));

        // The tint sliders run negated; Default puts the configuration's tint back.
        auto* red = qobject_cast<QSlider*>(dialog.ControlWidget(SettingsDialogModel::Find("TXBG_R")));
        QVERIFY(red);
        red->setValue(-200);
        QCOMPARE(engine.settings.TXBG_R, 200);
        dialog.Button3->click();
        QCOMPARE(red->value(), -engine.config.TXW_COLOR_R);
        QCOMPARE(engine.prompts.FontChanged, uint8_t(1));

        // Escape closes.
        Press(Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
};

ORVELL_QT_TEST(SettingsDialogViewTest);

} // namespace orv::test

#include "settings_dialog_view_test.moc"
