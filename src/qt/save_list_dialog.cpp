#include "qt/save_list_dialog.h"

#include "base/cp932.h"
#include "dialogs/dialog_place.h"
#include "dialogs/save_list.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <array>

namespace orv {

namespace {

QString FromCp932(std::string_view text) {
    return QString::fromStdString(cp932::ToUtf8(text));
}

Rect ToRect(const QRect& r) {
    return Rect{r.x(), r.y(), r.width(), r.height()};
}

struct ColumnLayout {
    const char* Title;
    int Width;
};

constexpr std::array<ColumnLayout, save_list_column::Count> kColumns{{
    {"スロット", 60},
    {"更新日時", 120},
    {"詳細", 150},
    {"ユーザーコメント", 120},
}};

bool IsEnter(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

} // namespace

TForm9::TForm9(SaveListModel& model, QWidget* owner) : QDialog(owner), m_model(model) {
    setObjectName("TForm9");
    setFixedSize(kClientWidth, kClientHeight);
    QString mode = FromCp932(m_model.ModeText());
    setWindowTitle(mode);

    Label1 = new QLabel(mode, this);
    Label1->setObjectName("Label1");
    Label1->move(8, 8);
    Label1->adjustSize();

    BuildList();

    Button3 = new QPushButton("コメント登録(最大全角15文字)", this);
    Button3->setObjectName("Button3");
    Button3->setGeometry(8, 344, 177, 25);
    Button3->setEnabled(false);

    // A plain line edit: the input method's composition reaches it untouched.
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(8, 376, 177, Edit1->sizeHint().height());

    Button2 = new QPushButton("削除", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(192, 368, 65, 25);

    Button4 = new QPushButton("閉じる", this);
    Button4->setObjectName("Button4");
    Button4->setGeometry(288, 352, 75, 41);

    Button1 = new QPushButton(mode, this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(384, 352, 91, 41);

    // Enter acts on the list's row (on its release, below), never through a default button.
    for (QPushButton* button : {Button1, Button2, Button3, Button4}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    setTabOrder(ListView1, Edit1);
    setTabOrder(Edit1, Button3);
    setTabOrder(Button3, Button2);
    setTabOrder(Button2, Button4);
    setTabOrder(Button4, Button1);

    connect(Button1, &QPushButton::clicked, this, &TForm9::Act);
    connect(Button2, &QPushButton::clicked, this, &TForm9::DeleteSlot);
    connect(Button3, &QPushButton::clicked, this, &TForm9::StoreComment);
    connect(Button4, &QPushButton::clicked, this, &TForm9::reject);
    // Only what the player typed: the text the selection puts there is the model's already.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.SetCommentText(cp932::FromUtf8Lenient(text.toStdString()));
    });

    ShowRows();
    MarkSelectedRow();
    ShowComment();
    ListView1->setFocus();
}

void TForm9::BuildList() {
    ListView1 = new QTableWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setGeometry(8, 24, 465, 313);
    ListView1->setColumnCount(save_list_column::Count);
    QStringList titles;
    for (const ColumnLayout& column : kColumns) {
        titles << QString::fromUtf8(column.Title);
    }
    ListView1->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < save_list_column::Count; ++c) {
        ListView1->setColumnWidth(c, kColumns[static_cast<size_t>(c)].Width);
    }
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ListView1->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* header = ListView1->horizontalHeader();
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    ListView1->setShowGrid(true);
    ListView1->setWordWrap(false);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    // The sorting is the model's: its three states are not the table's own.
    ListView1->setSortingEnabled(false);
    // Tab goes from control to control, not from cell to cell.
    ListView1->setTabKeyNavigation(false);

    connect(ListView1, &QTableWidget::itemSelectionChanged, this, &TForm9::SelectionChanged);
    connect(ListView1, &QTableWidget::cellDoubleClicked, this, [this](int, int) { Act(); });
    connect(header, &QHeaderView::sectionClicked, this, &TForm9::SortBy);
}

void TForm9::PlaceOver(const QWidget* owner) {
    if (!owner) {
        return;
    }
    QScreen* screen = owner->screen();
    if (!screen) {
        return;
    }
    Point at = PlaceDialog(ToRect(owner->frameGeometry()), width(), height(),
                           ToRect(screen->availableGeometry()));
    move(at.X, at.Y);
}

void TForm9::ShowRow(int row) {
    const SaveListRow& data = m_model.Rows()[static_cast<size_t>(row)];
    for (int c = 0; c < save_list_column::Count; ++c) {
        QTableWidgetItem* item = ListView1->item(row, c);
        if (!item) {
            item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            ListView1->setItem(row, c, item);
        }
        item->setText(FromCp932(data.Text(c)));
    }
}

void TForm9::ShowRows() {
    m_showing = true;
    ListView1->setRowCount(m_model.RowCount());
    for (int row = 0; row < m_model.RowCount(); ++row) {
        ShowRow(row);
    }
    QHeaderView* header = ListView1->horizontalHeader();
    header->setSortIndicatorShown(m_model.Sorted());
    if (m_model.Sorted()) {
        header->setSortIndicator(m_model.Memory().SortColumn, m_model.SortedAscending()
                                                                   ? Qt::AscendingOrder
                                                                   : Qt::DescendingOrder);
    }
    m_showing = false;
}

void TForm9::MarkSelectedRow() {
    m_showing = true;
    int row = m_model.SelectedRow();
    if (row >= 0) {
        ListView1->setCurrentCell(row, 0);
        ListView1->selectRow(row);
        ListView1->scrollToItem(ListView1->item(row, 0));
    } else {
        ListView1->clearSelection();
    }
    m_showing = false;
}

void TForm9::ShowComment() {
    Edit1->setText(FromCp932(m_model.CommentText()));
    Button3->setEnabled(m_model.CommentEnabled());
}

void TForm9::SelectionChanged() {
    if (m_showing) {
        return;
    }
    QList<QTableWidgetItem*> selected = ListView1->selectedItems();
    m_model.Select(selected.isEmpty() ? -1 : selected.front()->row());
    ShowComment();
}

void TForm9::Act() {
    if (!m_model.CanActivate()) {
        return;
    }
    // Out of the way of the game screen while the save or the load (and its transition) runs.
    Button1->setEnabled(false);
    hide();
    m_model.Activate();
    Button1->setEnabled(true);
    accept();
}

void TForm9::StoreComment() {
    if (m_model.StoreComment()) {
        ShowRow(m_model.SelectedRow());
    }
}

void TForm9::DeleteSlot() {
    int row = m_model.SelectedRow();
    if (row >= 0 && m_model.DeleteSelected()) {
        ShowRow(row);
        Button3->setEnabled(m_model.CommentEnabled());
    }
}

void TForm9::SortBy(int column) {
    m_model.SortBy(column);
    ShowRows();
    // The selected slot moved with its row; Edit1 keeps what the player typed.
    MarkSelectedRow();
}

void TForm9::keyPressEvent(QKeyEvent* event) {
    // The list acts when Enter is released; a press must not click any button for it.
    if (IsEnter(*event)) {
        m_enterPressed = true;
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm9::keyReleaseEvent(QKeyEvent* event) {
    if (!IsEnter(*event) || event->isAutoRepeat()) {
        QDialog::keyReleaseEvent(event);
        return;
    }
    // The release of an Enter pressed over the game (a click that went on to a `save` line)
    // must not save at once into the remembered slot.
    if (!m_enterPressed) {
        return;
    }
    m_enterPressed = false;
    if (ListView1->hasFocus()) {
        Act();
        return;
    }
    // Enter on a button presses it, as Space does.
    for (QPushButton* button : {Button1, Button2, Button3, Button4}) {
        if (button->hasFocus() && button->isEnabled()) {
            button->click();
            return;
        }
    }
}

} // namespace orv
