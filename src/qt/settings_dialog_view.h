#pragma once
// TForm11, the settings dialog: four tabs of controls built from the settings model's table,
// each passing the player's change on to the model, which writes and applies it.

#include <QDialog>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;

namespace orv {

class SettingsDialogModel;

class TForm11 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 396;
    static constexpr int kClientHeight = 324;

    TForm11(SettingsDialogModel& model, QWidget* owner);

    // Centred over `owner` (the main window), inside the screen it is on.
    void PlaceOver(const QWidget* owner);

    // The widget of a control of the model's table (by its index there), or nullptr when
    // the dialog does not show it.
    QWidget* ControlWidget(int control) const;

    QTabWidget* PageControl1 = nullptr;
    QComboBox* ComboBox1 = nullptr;  // the font list
    QPushButton* Button1 = nullptr;  // the sample voice
    QPushButton* Button2 = nullptr;  // close
    QPushButton* Button3 = nullptr;  // the tint's default
    QFrame* ColourSample = nullptr;

private:
    QWidget* BuildControl(int control, QWidget* page);
    void ShowTintSample();
    void SyncTint();

    SettingsDialogModel& m_model;
    std::vector<QWidget*> m_widgets;
};

} // namespace orv
