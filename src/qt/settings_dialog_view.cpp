#include "qt/settings_dialog_view.h"

#include "base/cp932.h"
#include "dialogs/dialog_place.h"
#include "dialogs/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <set>

namespace orv {

namespace {

constexpr const char* kTabTitles[settings_tab::Count] = {"システム設定(&Y)", "音設定(&O)",
                                                         "テキスト設定(&T)", "Ogg Vorbis"};

constexpr const char* kAcknowledgement =
    "This program uses the Ogg Vorbis audio decoder of the Xiph.Org Foundation.\n"
    "Ogg Vorbis: copyright (c) the Xiph.Org Foundation, released under the BSD licence.";

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The caption with a mnemonic: the first letter of the setting's name not yet taken on its
// tab, so that every control of a tab is reached with Alt and a letter of its own name.
QString WithMnemonic(std::string_view caption, std::string_view setting, std::set<QChar>& taken) {
    for (char c : setting) {
        QChar letter = QChar(c).toUpper();
        if (letter.isLetter() && !taken.count(letter)) {
            taken.insert(letter);
            return FromUtf8(caption) + "(&" + letter + ")";
        }
    }
    return FromUtf8(caption);
}

// The tint sliders run from -255 to 0: the value is the position negated.
bool Negated(const SettingsControl& c) {
    return std::string_view(c.Setting).starts_with("TXBG_");
}

// The widgets that take Tab, in the order `layout` shows them.
std::vector<QWidget*> FocusOrder(QLayout* layout) {
    std::vector<QWidget*> out;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (QLayout* inner = item->layout()) {
            std::vector<QWidget*> more = FocusOrder(inner);
            out.insert(out.end(), more.begin(), more.end());
        } else if (QWidget* widget = item->widget()) {
            if (widget->focusPolicy() & Qt::TabFocus) {
                out.push_back(widget);
            }
            if (QLayout* own = widget->layout()) {
                std::vector<QWidget*> more = FocusOrder(own);
                out.insert(out.end(), more.begin(), more.end());
            }
        }
    }
    return out;
}

Rect ToRect(const QRect& r) {
    return Rect{r.x(), r.y(), r.width(), r.height()};
}

} // namespace

TForm11::TForm11(SettingsDialogModel& model, QWidget* owner) : QDialog(owner), m_model(model) {
    setObjectName("TForm11");
    setWindowTitle("設定");
    setFixedSize(kClientWidth, kClientHeight);
    auto* outer = new QVBoxLayout(this);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    outer->addWidget(PageControl1);

    std::vector<QVBoxLayout*> layouts;
    std::vector<std::set<QChar>> taken(settings_tab::Count, std::set<QChar>{QChar('X')});
    taken[settings_tab::System].insert('Y');
    taken[settings_tab::Sound].insert('O');
    taken[settings_tab::Text].insert('T');
    for (int t = 0; t < settings_tab::Count; ++t) {
        auto* scroll = new QScrollArea(PageControl1);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        // Tab goes from the tabs straight to the page's first control.
        scroll->setFocusPolicy(Qt::NoFocus);
        auto* page = new QWidget(scroll);
        auto* layout = new QVBoxLayout(page);
        layout->setSpacing(2);
        layouts.push_back(layout);
        scroll->setWidget(page);
        PageControl1->addTab(scroll, QString::fromUtf8(kTabTitles[t]));
    }

    // The font list heads the text tab.
    auto* fontLabel = new QLabel("フォント(&F)", PageControl1);
    ComboBox1 = new QComboBox(PageControl1);
    ComboBox1->setObjectName("ComboBox1");
    fontLabel->setBuddy(ComboBox1);
    for (const std::string& name : m_model.FontNames()) {
        ComboBox1->addItem(QString::fromStdString(cp932::ToUtf8(name)));
    }
    ComboBox1->setCurrentIndex(m_model.FontRow());
    taken[settings_tab::Text].insert('F');
    layouts[settings_tab::Text]->addWidget(fontLabel);
    layouts[settings_tab::Text]->addWidget(ComboBox1);

    const auto controls = SettingsDialogModel::Controls();
    m_widgets.assign(controls.size(), nullptr);
    for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
        const SettingsControl& c = controls[static_cast<size_t>(i)];
        if (!m_model.Shown(i)) {
            continue;
        }
        QWidget* page = layouts[static_cast<size_t>(c.Tab)]->parentWidget();
        QString caption = WithMnemonic(c.Caption, c.Setting, taken[static_cast<size_t>(c.Tab)]);
        QWidget* widget = BuildControl(i, page);
        if (c.Kind == SettingsControlKind::Slider || c.Kind == SettingsControlKind::Spin) {
            auto* row = new QWidget(page);
            auto* rowLayout = new QHBoxLayout(row);
            rowLayout->setContentsMargins(0, 0, 0, 0);
            auto* label = new QLabel(caption, row);
            label->setMinimumWidth(110);
            label->setBuddy(widget);
            rowLayout->addWidget(label);
            widget->setParent(row);
            rowLayout->addWidget(widget, 1);
            if (c.Setting == "Vol1") {
                Button1 = new QPushButton("ボイス(&V)", row);
                Button1->setObjectName("Button1");
                Button1->setAutoDefault(false);
                taken[settings_tab::Sound].insert('V');
                connect(Button1, &QPushButton::clicked, this, [this] { m_model.PlaySampleVoice(); });
                rowLayout->addWidget(Button1);
            }
            layouts[static_cast<size_t>(c.Tab)]->addWidget(row);
        } else {
            if (auto* box = qobject_cast<QGroupBox*>(widget)) {
                box->setTitle(caption);
            } else if (auto* check = qobject_cast<QCheckBox*>(widget)) {
                check->setText(caption);
            }
            layouts[static_cast<size_t>(c.Tab)]->addWidget(widget);
        }
        m_widgets[static_cast<size_t>(i)] = widget;
    }

    auto* tintRow = new QWidget(layouts[settings_tab::Text]->parentWidget());
    auto* tintLayout = new QHBoxLayout(tintRow);
    tintLayout->setContentsMargins(0, 0, 0, 0);
    ColourSample = new QFrame(tintRow);
    ColourSample->setObjectName("ColourSample");
    ColourSample->setFrameShape(QFrame::Box);
    ColourSample->setFixedSize(48, 24);
    ColourSample->setAutoFillBackground(true);
    Button3 = new QPushButton("Default(&U)", tintRow);
    Button3->setObjectName("Button3");
    Button3->setAutoDefault(false);
    tintLayout->addWidget(ColourSample);
    tintLayout->addWidget(Button3);
    tintLayout->addStretch(1);
    layouts[settings_tab::Text]->addWidget(tintRow);
    connect(Button3, &QPushButton::clicked, this, [this] {
        m_model.DefaultTint();
        SyncTint();
    });

    auto* about = new QLabel(QString::fromUtf8(kAcknowledgement),
                             layouts[settings_tab::About]->parentWidget());
    about->setWordWrap(true);
    layouts[settings_tab::About]->addWidget(about);
    for (QVBoxLayout* layout : layouts) {
        layout->addStretch(1);
    }
    ShowTintSample();

    // Made last, so that it comes last in the tab order.
    Button2 = new QPushButton("閉じる(&X)", this);
    Button2->setObjectName("Button2");
    Button2->setAutoDefault(false);
    outer->addWidget(Button2, 0, Qt::AlignRight);
    connect(Button2, &QPushButton::clicked, this, &QDialog::accept);

    // The tab bar's scroll arrows are for the mouse: the arrow keys move between the tabs.
    for (QToolButton* arrow : PageControl1->tabBar()->findChildren<QToolButton*>()) {
        arrow->setFocusPolicy(Qt::NoFocus);
    }
    // Tab goes through each page as it is laid out, from the tabs to the close button.
    QWidget* previous = PageControl1;
    for (QVBoxLayout* layout : layouts) {
        for (QWidget* widget : FocusOrder(layout)) {
            setTabOrder(previous, widget);
            previous = widget;
        }
    }
    setTabOrder(previous, Button2);

    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int row) { m_model.ChooseFont(row); });
    // Every control shows the model's value now: what the player does from here on counts.
    m_model.FinishFill();
    PageControl1->setFocus();
}

QWidget* TForm11::BuildControl(int control, QWidget* page) {
    const SettingsControl& c = SettingsDialogModel::Controls()[static_cast<size_t>(control)];
    int32_t value = m_model.Value(control);
    switch (c.Kind) {
    case SettingsControlKind::Radio: {
        auto* box = new QGroupBox(page);
        box->setObjectName(FromUtf8(c.Component));
        auto* layout = new QHBoxLayout(box);
        auto* group = new QButtonGroup(box);
        for (int item = 0; item <= c.Max; ++item) {
            auto* radio = new QRadioButton(FromUtf8(c.Items[static_cast<size_t>(item)]), box);
            group->addButton(radio, item);
            layout->addWidget(radio);
            radio->setChecked(item == value);
        }
        connect(group, &QButtonGroup::idClicked, this,
                [this, control](int id) { m_model.Change(control, id); });
        return box;
    }
    case SettingsControlKind::Check: {
        auto* check = new QCheckBox(page);
        check->setObjectName(FromUtf8(c.Component));
        check->setChecked(value != 0);
        connect(check, &QCheckBox::toggled, this,
                [this, control](bool on) { m_model.Change(control, on ? 1 : 0); });
        return check;
    }
    case SettingsControlKind::Spin: {
        auto* spin = new QSpinBox(page);
        spin->setObjectName(FromUtf8(c.Component));
        spin->setRange(c.Min, c.Max);
        spin->setValue(value);
        connect(spin, &QSpinBox::valueChanged, this,
                [this, control](int v) { m_model.Change(control, v); });
        return spin;
    }
    case SettingsControlKind::Slider:
        break;
    }
    auto* slider = new QSlider(Qt::Horizontal, page);
    slider->setObjectName(FromUtf8(c.Component));
    bool negated = Negated(c);
    slider->setRange(negated ? -c.Max : c.Min, negated ? -c.Min : c.Max);
    slider->setPageStep(negated ? 16 : 100);
    slider->setValue(negated ? -value : value);
    auto valueOf = [negated](int position) { return negated ? -position : position; };
    // A drag reaches the engine at once and is written when the slider is let go; keys and
    // clicks beside the handle are whole changes.
    connect(slider, &QSlider::sliderMoved, this, [this, control, valueOf](int position) {
        m_model.Slide(control, valueOf(position));
        ShowTintSample();
    });
    connect(slider, &QSlider::sliderReleased, this, [this, control] { m_model.Release(control); });
    connect(slider, &QSlider::valueChanged, this, [this, control, slider, valueOf](int position) {
        if (slider->isSliderDown()) {
            return;
        }
        m_model.Change(control, valueOf(position));
        ShowTintSample();
    });
    return slider;
}

QWidget* TForm11::ControlWidget(int control) const {
    if (control < 0 || control >= static_cast<int>(m_widgets.size())) {
        return nullptr;
    }
    return m_widgets[static_cast<size_t>(control)];
}

void TForm11::ShowTintSample() {
    uint32_t bgr = m_model.TintSample();
    QPalette palette = ColourSample->palette();
    palette.setColor(QPalette::Window, QColor(static_cast<int>(bgr & 0xFF),
                                              static_cast<int>((bgr >> 8) & 0xFF),
                                              static_cast<int>((bgr >> 16) & 0xFF)));
    ColourSample->setPalette(palette);
}

void TForm11::SyncTint() {
    const auto controls = SettingsDialogModel::Controls();
    for (int i = 0; i < static_cast<int>(controls.size()); ++i) {
        auto* slider = qobject_cast<QSlider*>(ControlWidget(i));
        if (slider && Negated(controls[static_cast<size_t>(i)])) {
            // The model has written these already: the sliders only follow.
            QSignalBlocker block(slider);
            slider->setValue(-m_model.Value(i));
        }
    }
    ShowTintSample();
}

void TForm11::PlaceOver(const QWidget* owner) {
    if (!owner || !owner->screen()) {
        return;
    }
    Point at = PlaceDialog(ToRect(owner->frameGeometry()), width(), height(),
                           ToRect(owner->screen()->availableGeometry()));
    move(at.X, at.Y);
}

} // namespace orv
