#include "app/window_controls.h"

#include <QButtonGroup>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "app/typing_limit.h"

namespace zarame {

namespace {

// The containers of the design, in the order they are made.
enum class Container { window, fra0, fra1, fra2, Frame3, Frame1 };
constexpr int kContainerCount = 6;

struct Twips {
    int left, top, width, height;
};

// 15 twips are one pixel at 96 DPI; Qt scales the pixels for other densities.
QRect ToPixels(Twips twips) {
    const auto pixels = [](int value) { return (value + 7) / 15; };
    return QRect(pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height));
}

// A caption needs the font's line height and its own width; where the design's box is smaller,
// the box grows evenly up and down, and away from the side the text is aligned to, so that the
// text sits where the design puts it.
void Place(QWidget* widget, Twips twips, Qt::Alignment alignment = Qt::AlignLeft) {
    QRect rect = ToPixels(twips);
    // The text's own height, not the style's preferred one with its focus margins: rows of
    // option buttons sit closer than that.
    QSize needed = widget->sizeHint();
    needed.setHeight(
        std::max(widget->fontMetrics().height(),
                 qobject_cast<QRadioButton*>(widget)
                     ? widget->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight)
                     : 0));
    if (needed.height() > rect.height()) {
        rect.adjust(0, -(needed.height() - rect.height()) / 2, 0, 0);
        rect.setHeight(needed.height());
    }
    if (needed.width() > rect.width()) {
        if (alignment & Qt::AlignRight) {
            rect.setLeft(rect.right() + 1 - needed.width());
        } else {
            rect.setWidth(needed.width());
        }
    }
    widget->setGeometry(rect);
}

struct FrameSpec {
    Container frame;
    const char* name;
    Container parent;
    Twips at;
};

constexpr FrameSpec kFrames[] = {
    {Container::fra0, "fra0", Container::window, {300, 300, 7275, 1035}},
    {Container::fra1, "fra1", Container::window, {300, 1680, 7275, 615}},
    {Container::fra2, "fra2", Container::window, {300, 2640, 7275, 1695}},
    {Container::Frame3, "Frame3", Container::fra2, {3120, 120, 735, 735}},
    {Container::Frame1, "Frame1", Container::window, {60, 4560, 7515, 1575}},
};

struct TextSpec {
    TextBox box;
    const char* name;
    Container parent;
    Twips at;
    const char16_t* tooltip;
    int maximumLength;  // 0: no limit
    bool rightAligned;
};

constexpr TextSpec kTexts[] = {
    {TextBox::txtExcel,
     "txtExcel",
     Container::fra0,
     {1560, 180, 5175, 330},
     u"読み込むExcelファイルを指定します",
     0,
     false},
    {TextBox::txtStartCell,
     "txtStartCell",
     Container::fra0,
     {1560, 600, 435, 330},
     u"読み込みはじめるセル位置を指定します",
     2,
     false},
    {TextBox::txtBlank,
     "txtBlank",
     Container::fra0,
     {4140, 600, 255, 330},
     u"処理終了に必要な空白行数を指定します",
     1,
     true},
    {TextBox::txtText,
     "txtText",
     Container::fra1,
     {1560, 180, 5175, 330},
     u"読み込むテキストファイルを指定します",
     0,
     false},
    {TextBox::txtFix,
     "txtFix",
     Container::fra2,
     {1200, 180, 1575, 315},
     u"固定文字列を指定します",
     0,
     false},
    {TextBox::txtMin,
     "txtMin",
     Container::fra2,
     {4260, 180, 915, 315},
     u"連番の開始番号を指定します",
     8,
     true},
    {TextBox::txtMax,
     "txtMax",
     Container::fra2,
     {4260, 540, 915, 315},
     u"連番の最終番号を指定します",
     8,
     true},
    {TextBox::txtSize,
     "txtSize",
     Container::fra2,
     {5520, 900, 435, 315},
     u"連番部分の桁数を指定します",
     2,
     true},
    {TextBox::txtExt,
     "txtExt",
     Container::fra2,
     {5520, 1260, 1635, 315},
     u"末尾に付与する文字列および拡張子を指定します",
     0,
     false},
    {TextBox::txtFolder,
     "txtFolder",
     Container::Frame1,
     {1500, 180, 3795, 315},
     u"作成場所のフォルダを指定します",
     0,
     false},
    {TextBox::txtFileByte,
     "txtFileByte",
     Container::Frame1,
     {2880, 540, 1215, 315},
     u"ファイルサイズを指定します",
     9,
     true},
    {TextBox::txtCode,
     "txtCode",
     Container::Frame1,
     {6300, 540, 615, 315},
     u"0～255までの値を指定します。&Hまたは0xを前に記述して16進数での指定も可能です",
     4,
     true},
    {TextBox::txtDup,
     "txtDup",
     Container::Frame1,
     {3180, 900, 3795, 315},
     u"複製元となるファイル名を指定します",
     0,
     false},
};

struct OptionSpec {
    OptionGroup group;
    int member;
    Control control;
    Container parent;
    const char16_t* caption;
    Twips at;
};

constexpr OptionSpec kOptions[] = {
    {OptionGroup::optType,
     0,
     Control::optType0,
     Container::window,
     u"Excelから作成",
     {120, 60, 1515, 255}},
    {OptionGroup::optType,
     1,
     Control::optType1,
     Container::window,
     u"テキストファイルから作成",
     {120, 1440, 2355, 255}},
    {OptionGroup::optType,
     2,
     Control::optType2,
     Container::window,
     u"連番で作成",
     {120, 2400, 1515, 255}},
    {OptionGroup::optBeforeAfter,
     0,
     Control::optBeforeAfter0,
     Container::Frame3,
     u"前",
     {120, 180, 555, 195}},
    {OptionGroup::optBeforeAfter,
     1,
     Control::optBeforeAfter1,
     Container::Frame3,
     u"後",
     {120, 420, 555, 195}},
    {OptionGroup::optSpec,
     0,
     Control::optSpec0,
     Container::Frame1,
     u"ファイルを作成",
     {480, 600, 1455, 255}},
    {OptionGroup::optSpec,
     1,
     Control::optSpec1,
     Container::Frame1,
     u"ファイルを複製",
     {480, 900, 1455, 255}},
    {OptionGroup::optSpec,
     2,
     Control::optSpec2,
     Container::Frame1,
     u"フォルダを作成",
     {480, 1200, 1455, 255}},
};

constexpr const char* kOptionGroupNames[] = {"optType", "optBeforeAfter", "optSpec"};

struct StaticLabelSpec {
    Container parent;
    const char16_t* caption;
    bool rightAligned;
    Twips at;
};

constexpr StaticLabelSpec kStaticLabels[] = {
    {Container::fra0, u"Excelファイル", true, {360, 240, 1095, 255}},
    {Container::fra0, u"開始セル位置", true, {300, 660, 1155, 255}},
    {Container::fra0, u"(A1～Z9の範囲で指定)", false, {2100, 660, 1815, 195}},
    {Container::fra0, u"行空白が続いたら処理を終わる", false, {4440, 660, 2535, 255}},
    {Container::fra1, u"テキストファイル", true, {120, 240, 1335, 255}},
    {Container::fra2, u"固定文字列", true, {180, 240, 915, 255}},
    {Container::fra2, u"の", false, {2820, 240, 195, 255}},
    {Container::fra2, u"に", false, {3960, 240, 195, 255}},
    {Container::fra2, u"から", false, {5280, 240, 495, 255}},
    {Container::fra2, u"までの連番", false, {5280, 600, 1755, 255}},
    {Container::fra2, u"作成イメージ", false, {180, 660, 1095, 195}},
    {Container::fra2, u"連番部分の桁数は", false, {3960, 960, 1455, 255}},
    {Container::fra2, u"拡張子(後方固定文字列)は", false, {3300, 1320, 2175, 255}},
    {Container::Frame1, u"作成先フォルダ", true, {120, 240, 1275, 255}},
    {Container::Frame1, u"サイズ", true, {2220, 600, 555, 255}},
    {Container::Frame1, u"バイト", false, {4140, 600, 615, 255}},
    {Container::Frame1, u"書き込み値", true, {5100, 600, 1155, 255}},
    {Container::Frame1, u"元ファイル", true, {2160, 960, 915, 255}},
};

struct ButtonSpec {
    QPushButton* WindowControls::*member;
    const char* name;
    Control control;
    Container parent;
    const char16_t* caption;
    Twips at;
};

constexpr ButtonSpec kButtons[] = {
    {&WindowControls::cmdReferExcel,
     "cmdReferExcel",
     Control::cmdReferExcel,
     Container::fra0,
     u"...",
     {6780, 180, 375, 315}},
    {&WindowControls::cmdReferText,
     "cmdReferText",
     Control::cmdReferText,
     Container::fra1,
     u"...",
     {6780, 180, 375, 315}},
    {&WindowControls::cmdReferFolder,
     "cmdReferFolder",
     Control::cmdReferFolder,
     Container::Frame1,
     u"...",
     {5340, 180, 375, 315}},
    {&WindowControls::cmdReferDup,
     "cmdReferDup",
     Control::cmdReferDup,
     Container::Frame1,
     u"...",
     {7020, 900, 375, 315}},
    {&WindowControls::cmdCreate,
     "cmdCreate",
     Control::cmdCreate,
     Container::window,
     u"作成開始(&G)",
     {6120, 6240, 1455, 375}},
    {&WindowControls::cmdStop,
     "cmdStop",
     Control::cmdStop,
     Container::window,
     u"中止(&S)",
     {6120, 6660, 1455, 375}},
    {&WindowControls::cmdEnd,
     "cmdEnd",
     Control::cmdEnd,
     Container::window,
     u"閉じる",
     {6120, 7080, 1455, 375}},
    {&WindowControls::Command1,
     "Command1",
     Control::Command1,
     Container::window,
     u"このプログラムについて",
     {5520, 60, 2055, 315}},
};

QString Text(const char16_t* text) {
    return QString::fromUtf16(text);
}

QLabel* BorderedLabel(QWidget* parent, const char* name, Twips at) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setGeometry(ToPixels(at));
    return label;
}

// As on Windows, an option group is one Tab stop: its selected member. The arrow keys move the
// selection within the group (the toolkit does that for exclusive groups whatever the policy).
void KeepOneTabStop(QButtonGroup* group) {
    const auto update = [group] {
        for (QAbstractButton* member : group->buttons()) {
            member->setFocusPolicy(member->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
        }
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, update);
    update();
}

// Enter presses the focused button, as on Windows; the toolkit leaves it to Space outside
// dialogs.
class EnterPressesButton final : public QObject {
public:
    explicit EnterPressesButton(QPushButton* button) : QObject(button), button_(button) {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                modifiers == Qt::NoModifier && !key->isAutoRepeat()) {
                button_->animateClick();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton* button_;
};

void SetTabOrder(const WindowControls& controls) {
    const auto option = [&](OptionGroup group, int member) {
        return static_cast<QWidget*>(controls.options[static_cast<int>(group)][member]);
    };
    QWidget* order[] = {
        option(OptionGroup::optType, 0),
        option(OptionGroup::optType, 1),
        option(OptionGroup::optType, 2),
        controls.text(TextBox::txtExcel),
        controls.cmdReferExcel,
        controls.text(TextBox::txtStartCell),
        controls.text(TextBox::txtBlank),
        controls.text(TextBox::txtText),
        controls.cmdReferText,
        controls.text(TextBox::txtFix),
        option(OptionGroup::optBeforeAfter, 0),
        option(OptionGroup::optBeforeAfter, 1),
        controls.text(TextBox::txtMin),
        controls.text(TextBox::txtMax),
        controls.text(TextBox::txtSize),
        controls.text(TextBox::txtExt),
        controls.lstLog,
        controls.text(TextBox::txtFolder),
        controls.cmdReferFolder,
        option(OptionGroup::optSpec, 0),
        option(OptionGroup::optSpec, 1),
        option(OptionGroup::optSpec, 2),
        controls.text(TextBox::txtFileByte),
        controls.text(TextBox::txtCode),
        controls.text(TextBox::txtDup),
        controls.cmdReferDup,
        controls.cmdCreate,
        controls.cmdStop,
        controls.cmdEnd,
        controls.Command1,
    };
    for (std::size_t index = 1; index < std::size(order); ++index) {
        QWidget::setTabOrder(order[index - 1], order[index]);
    }
}

}  // namespace

WindowControls BuildControls(QWidget* window) {
    WindowControls controls;
    window->setFixedSize(ToPixels({0, 0, 7665, 7530}).size());

    std::array<QWidget*, kContainerCount> containers{};
    containers[static_cast<int>(Container::window)] = window;
    const auto container = [&](Container which) { return containers[static_cast<int>(which)]; };
    for (const FrameSpec& spec : kFrames) {
        auto* frame = new QFrame(container(spec.parent));
        frame->setObjectName(QLatin1String(spec.name));
        frame->setFrameShape(QFrame::Box);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setGeometry(ToPixels(spec.at));
        containers[static_cast<int>(spec.frame)] = frame;
    }
    controls.controls[static_cast<int>(Control::fra0)] = container(Container::fra0);
    controls.controls[static_cast<int>(Control::fra1)] = container(Container::fra1);
    controls.controls[static_cast<int>(Control::fra2)] = container(Container::fra2);

    for (const StaticLabelSpec& spec : kStaticLabels) {
        auto* label = new QLabel(Text(spec.caption), container(spec.parent));
        const Qt::Alignment alignment = spec.rightAligned ? Qt::AlignRight : Qt::AlignLeft;
        label->setAlignment(alignment | Qt::AlignVCenter);
        Place(label, spec.at, alignment);
    }

    for (const TextSpec& spec : kTexts) {
        auto* field = new QLineEdit(container(spec.parent));
        field->setObjectName(QLatin1String(spec.name));
        field->setToolTip(Text(spec.tooltip));
        if (spec.maximumLength > 0) {
            field->setValidator(new TypingLimit(field, spec.maximumLength));
        }
        if (spec.rightAligned) {
            field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        field->setGeometry(ToPixels(spec.at));
        controls.texts[static_cast<int>(spec.box)] = field;
    }
    const std::pair<Control, TextBox> fieldControls[] = {
        {Control::txtExcel, TextBox::txtExcel},
        {Control::txtStartCell, TextBox::txtStartCell},
        {Control::txtBlank, TextBox::txtBlank},
        {Control::txtText, TextBox::txtText},
        {Control::txtFix, TextBox::txtFix},
        {Control::txtMin, TextBox::txtMin},
        {Control::txtMax, TextBox::txtMax},
        {Control::txtSize, TextBox::txtSize},
        {Control::txtExt, TextBox::txtExt},
        {Control::txtFolder, TextBox::txtFolder},
        {Control::txtFileByte, TextBox::txtFileByte},
        {Control::txtCode, TextBox::txtCode},
        {Control::txtDup, TextBox::txtDup},
    };
    for (const auto& [control, box] : fieldControls) {
        controls.controls[static_cast<int>(control)] = controls.text(box);
    }

    for (int group = 0; group < kOptionGroupCount; ++group) {
        controls.optionGroups[group] = new QButtonGroup(window);
        controls.optionGroups[group]->setObjectName(QLatin1String(kOptionGroupNames[group]));
    }
    for (const OptionSpec& spec : kOptions) {
        auto* option = new QRadioButton(Text(spec.caption), container(spec.parent));
        option->setObjectName(
            QStringLiteral("%1%2")
                .arg(QLatin1String(kOptionGroupNames[static_cast<int>(spec.group)]))
                .arg(spec.member));
        Place(option, spec.at);
        controls.options[static_cast<int>(spec.group)][spec.member] = option;
        controls.optionGroups[static_cast<int>(spec.group)]->addButton(option, spec.member);
        controls.controls[static_cast<int>(spec.control)] = option;
    }
    for (QButtonGroup* group : controls.optionGroups) {
        KeepOneTabStop(group);
    }

    for (const ButtonSpec& spec : kButtons) {
        auto* button = new QPushButton(Text(spec.caption), container(spec.parent));
        button->setObjectName(QLatin1String(spec.name));
        button->setAutoDefault(false);
        button->setGeometry(ToPixels(spec.at));
        new EnterPressesButton(button);
        controls.*(spec.member) = button;
        controls.controls[static_cast<int>(spec.control)] = button;
    }

    controls.labels[static_cast<int>(Label::lblSample0)] =
        BorderedLabel(container(Container::fra2), "lblSample0", {180, 900, 2655, 315});
    controls.labels[static_cast<int>(Label::lblSample1)] =
        BorderedLabel(container(Container::fra2), "lblSample1", {180, 1260, 2655, 315});
    controls.labels[static_cast<int>(Label::lblNow)] =
        BorderedLabel(window, "lblNow", {60, 7080, 2175, 375});

    controls.lstLog = new QListView(window);
    controls.lstLog->setObjectName(QStringLiteral("lstLog"));
    controls.lstLog->setUniformItemSizes(true);
    controls.lstLog->setEditTriggers(QListView::NoEditTriggers);
    controls.lstLog->setGeometry(ToPixels({60, 6240, 5955, 780}));
    QPalette buttonFace = controls.lstLog->palette();
    buttonFace.setColor(QPalette::Base, buttonFace.color(QPalette::Button));
    controls.lstLog->setPalette(buttonFace);
    controls.controls[static_cast<int>(Control::lstLog)] = controls.lstLog;

    controls.pbBar = new QProgressBar(window);
    controls.pbBar->setObjectName(QStringLiteral("pbBar"));
    controls.pbBar->setTextVisible(false);
    controls.pbBar->setRange(0, 100);
    controls.pbBar->setValue(0);
    controls.pbBar->setGeometry(ToPixels({2280, 7080, 3735, 375}));

    SetTabOrder(controls);
    return controls;
}

}  // namespace zarame
