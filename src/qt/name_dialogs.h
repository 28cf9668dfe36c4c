#pragma once
// TForm2, the hero's names, and TForm6, the record slot's name: plain line edits (the input
// method's composition reaches them untouched) over the name models, Enter for OK.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace orv {

class NameEntryModel;
class SlotNameModel;

// Centred over `owner` (the main window), inside the screen it is on.
void PlaceDialogOver(QDialog& dialog, const QWidget* owner);

class TForm2 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 295;
    static constexpr int kClientHeight = 164;

    TForm2(NameEntryModel& model, QWidget* owner);

    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QPushButton* Button1 = nullptr; // OK
    QPushButton* Button2 = nullptr; // the defaults

private:
    void ShowEdits();
    void Accept();

    NameEntryModel& m_model;
};

class TForm6 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 376;
    static constexpr int kClientHeight = 109;

    TForm6(SlotNameModel& model, QWidget* owner);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel

    void reject() override;

private:
    SlotNameModel& m_model;
};

} // namespace orv
