#include "qt/name_dialogs.h"

#include "dialogs/dialog_place.h"
#include "dialogs/name_entry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace orv {

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void PlaceDialogOver(QDialog& dialog, const QWidget* owner) {
    if (!owner || !owner->screen()) {
        return;
    }
    QRect area = owner->screen()->availableGeometry();
    QRect frame = owner->frameGeometry();
    Point at = PlaceDialog(Rect{frame.x(), frame.y(), frame.width(), frame.height()},
                           dialog.width(), dialog.height(),
                           Rect{area.x(), area.y(), area.width(), area.height()});
    dialog.move(at.X, at.Y);
}

TForm2::TForm2(NameEntryModel& model, QWidget* owner) : QDialog(owner), m_model(model) {
    setObjectName("TForm2");
    setWindowTitle("名前の変更");
    // No system buttons: the names are left with OK (or Escape, which keeps them as they were).
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowStaysOnTopHint);
    setFixedSize(kClientWidth, kClientHeight);

    StaticText1 = new QLabel("主人公の名前を入力してください。", this);
    StaticText1->setGeometry(8, 8, 279, 16);
    StaticText2 = new QLabel("（全角６文字以内）", this);
    StaticText2->setGeometry(8, 26, 279, 16);

    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3};
    QLabel** labels[] = {&Label1, &Label2, &Label3};
    const char* captions[] = {"名前(&N)", "あだ名(&A)", "苗字(&S)"};
    for (int i = 0; i < NameEntryModel::kNames; ++i) {
        QLabel* label = new QLabel(QString::fromUtf8(captions[i]), this);
        label->setObjectName(QString("Label%1").arg(i + 1));
        label->setGeometry(16, 50 + i * 26, 64, 22);
        QLineEdit* edit = new QLineEdit(this);
        edit->setObjectName(QString("Edit%1").arg(i + 1));
        edit->setGeometry(88, 50 + i * 26, 113, 22);
        edit->setEnabled(m_model.Used(i));
        label->setBuddy(edit);
        *labels[i] = label;
        *edits[i] = edit;
    }

    Button1 = new QPushButton("ＯＫ", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(208, 50, 79, 25);
    Button1->setDefault(true);
    Button2 = new QPushButton("デフォルト(&D)", this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(208, 102, 79, 25);
    Button2->setAutoDefault(false);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TForm2::Accept);
    connect(Button2, &QPushButton::clicked, this, [this] {
        m_model.Default();
        ShowEdits();
    });
    ShowEdits();
    Edit1->setFocus();
    Edit1->selectAll();
}

void TForm2::ShowEdits() {
    Edit1->setText(FromUtf8(m_model.Edit(0)));
    Edit2->setText(FromUtf8(m_model.Edit(1)));
    Edit3->setText(FromUtf8(m_model.Edit(2)));
}

void TForm2::Accept() {
    QLineEdit* edits[] = {Edit1, Edit2, Edit3};
    for (int i = 0; i < NameEntryModel::kNames; ++i) {
        m_model.SetEdit(i, edits[i]->text().toStdString());
    }
    if (m_model.Accept() == NameEntryResult::Accepted) {
        accept();
        return;
    }
    // The refused box shows its stored name again, ready to be typed over.
    int refused = m_model.RefusedName();
    edits[refused]->setText(FromUtf8(m_model.Edit(refused)));
    edits[refused]->setFocus();
    edits[refused]->selectAll();
}

TForm6::TForm6(SlotNameModel& model, QWidget* owner) : QDialog(owner), m_model(model) {
    setObjectName("TForm6");
    setWindowTitle("回想スロット");
    setFixedSize(kClientWidth, kClientHeight);
    Label1 = new QLabel("回想スロットに名前を付けます（全角12文字まで）(&N)", this);
    Label1->setGeometry(8, 8, 360, 16);
    Edit1 = new QLineEdit(FromUtf8(m_model.Text()), this);
    Edit1->setObjectName("Edit1");
    Edit1->setGeometry(8, 30, 360, 22);
    Label1->setBuddy(Edit1);
    BitBtn1 = new QPushButton("OK", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setGeometry(200, 68, 75, 25);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton("キャンセル(&C)", this);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setGeometry(288, 68, 80, 25);
    BitBtn2->setAutoDefault(false);
    setTabOrder(Edit1, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    // The 36 bytes count in code page 932: what the model cut or refused goes back into the
    // edit. Text being composed by the input method is not in text() until it is committed.
    connect(Edit1, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_model.SetText(text.toStdString());
        QString held = FromUtf8(m_model.Text());
        if (held != text) {
            int cursor = std::min(Edit1->cursorPosition(), static_cast<int>(held.size()));
            Edit1->setText(held);
            Edit1->setCursorPosition(cursor);
        }
    });
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        m_model.Accept();
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, &TForm6::reject);
    Edit1->setFocus();
    Edit1->selectAll();
}

void TForm6::reject() {
    m_model.Cancel();
    QDialog::reject();
}

} // namespace orv
