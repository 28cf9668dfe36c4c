#pragma once
// TForm9, the save list dialog: a report-style list of the slots, the comment edit and the
// buttons, laid out as the games' own dialog is. It shows a SaveListModel and passes the
// player's clicks and keys on to it; what they do is the model's business.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace orv {

class SaveListModel;

class TForm9 : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 494;
    static constexpr int kClientHeight = 408;

    TForm9(SaveListModel& model, QWidget* owner);

    // Centred over `owner` (the main window), inside the screen it is on.
    void PlaceOver(const QWidget* owner);

    QLabel* Label1 = nullptr;
    QTableWidget* ListView1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr; // save or load
    QPushButton* Button2 = nullptr; // delete
    QPushButton* Button3 = nullptr; // store the comment
    QPushButton* Button4 = nullptr; // close

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void BuildList();
    void ShowRows();
    void ShowRow(int row);
    // The model's selected row on the list.
    void MarkSelectedRow();
    // Edit1 and Button3 as the selection update left them.
    void ShowComment();
    void SelectionChanged();
    void Act();
    void StoreComment();
    void DeleteSlot();
    void SortBy(int column);

    SaveListModel& m_model;
    // Set while the list is being drawn from the model: its signals are not the player's.
    bool m_showing = false;
    // Enter was pressed in this dialog.
    bool m_enterPressed = false;
};

} // namespace orv
