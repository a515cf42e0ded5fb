#include "app/qt/MakerDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "app/qt/LimitedEdits.h"
#include "app/qt/ProcessObjects.h"
#include "app/qt/QtKeys.h"
#include "app/qt/QtPrompts.h"
#include "app/qt/QtText.h"
#include "app/qt/Resources.h"
#include "dialog/DialogTemplate.h"
#include "platform/Utf.h"

namespace sf {
namespace {

const char* const kControlIdProperty = "controlId";

// A settings file that cannot be written does not stop the user's work: the
// value stays in the dialog and the record. The reason goes to the log.
void logSettingsNotSaved(const std::string& reason) {
    qWarning("Settings not saved: %s", reason.c_str());
}

DialogUnits dialogUnitsOf(const QFont& font) {
    // The platform's base units: the average width of the 52 letters,
    // rounded, and the font's height.
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return DialogUnits{(letters / 26 + 1) / 2, metrics.height()};
}

// A read-only edit has the dialog's own background, as Windows draws it, so
// a chosen path does not look like a field to type in.
void greyAsReadOnly(QWidget& edit) {
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    edit.setPalette(palette);
}

QWidget* makeControl(const ControlTemplate& entry, QWidget* parent) {
    const QString caption = toQString(entry.caption);
    switch (entry.kind) {
        case ControlKind::Edit: {
            if (!showsSeveralRows(entry)) {
                auto* edit = new LimitedLineEdit(parent);
                edit->setReadOnly(entry.style & kReadOnly);
                if (entry.style & kReadOnly) greyAsReadOnly(*edit);
                return edit;
            }
            auto* edit = new LimitedPlainTextEdit(parent);
            edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            if (entry.style & kReadOnly) {
                edit->setReadOnly(true);
                greyAsReadOnly(*edit);
                // A click opens the chooser instead of focusing the path.
                edit->setFocusPolicy(Qt::TabFocus);
            }
            return edit;
        }
        case ControlKind::PushButton: {
            auto* button = new QPushButton(caption, parent);
            // No button is the default one: Enter makes a package instead.
            button->setAutoDefault(false);
            button->setDefault(false);
            return button;
        }
        case ControlKind::CheckBox: {
            auto* box = new QCheckBox(caption, parent);
            // The system's gap between the box and the text, half a digit
            // wide: the style's own, 6 px, pushed the end of "Command Via
            // Control Endpoint" past the check box's edge.
            box->setStyleSheet(QStringLiteral("QCheckBox { spacing: %1px; }")
                                   .arg(QFontMetrics(parent->font()).horizontalAdvance('0') / 2));
            return box;
        }
        case ControlKind::GroupBox:
            return new QGroupBox(caption, parent);
        case ControlKind::Label: {
            auto* label = new QLabel(caption, parent);
            const Qt::Alignment side = (entry.style & kAlignRight) ? Qt::AlignRight : Qt::AlignLeft;
            label->setAlignment(side |
                                ((entry.style & kWordWrap) ? Qt::AlignTop : Qt::AlignVCenter));
            label->setWordWrap(entry.style & kWordWrap);
            return label;
        }
        case ControlKind::Banner: {
            auto* banner = new QLabel(parent);
            banner->setPixmap(QPixmap(QStringLiteral(":/res/IDB_BANNER.png")));
            return banner;
        }
    }
    return nullptr;
}

// Files of this machine, and nothing else: text, or a link to a web page,
// is left to the edits.
bool holdsLocalFiles(const QMimeData* data) {
    return data && data->hasUrls() && std::ranges::all_of(data->urls(), &QUrl::isLocalFile);
}

}  // namespace

CSparrowflasherMakerDlg::CSparrowflasherMakerDlg(std::unique_ptr<DialogPrompts> userPrompts)
    : prompts(userPrompts ? std::move(userPrompts) : std::make_unique<QtPrompts>(this)),
      behaviour(*this, *prompts,
                MakerDialog::systemServices(templateFileName, logSettingsNotSaved)) {
    registerResources();
    setWindowTitle(toQString(kDialogCaption));
    // A caption and a close box only: no help, minimise or maximise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QFont font = QApplication::font();
    font.setPointSize(kDialogFontPoints);
    setFont(font);
    buildControls();
    connectHandlers();
    OnInitDialog();
}

CSparrowflasherMakerDlg::~CSparrowflasherMakerDlg() = default;

void CSparrowflasherMakerDlg::buildControls() {
    const DialogUnits units = dialogUnitsOf(font());
    setFixedSize(units.toPixelsX(kDialogWidthUnits), units.toPixelsY(kDialogHeightUnits));
    QWidget* frame = nullptr;
    for (const ControlTemplate& entry : kDialogTemplate) {
        QWidget* control = makeControl(entry, this);
        const DialogRect& r = entry.rect;
        control->setGeometry(units.toPixelsX(r.x), units.toPixelsY(r.y), units.toPixelsX(r.width),
                             units.toPixelsY(r.height));
        // The banner keeps its picture's own size; the window clips it.
        if (entry.kind == ControlKind::Banner) control->adjustSize();
        if (entry.kind == ControlKind::GroupBox) frame = control;
        if (entry.id != kNoControlId) {
            control->setProperty(kControlIdProperty, entry.id);
            controls[entry.id] = control;
        }
    }
    // The frame stays behind the controls it surrounds, so they get the clicks.
    if (frame) frame->lower();
    // Files dropped on a label or the background come to the dialog itself.
    setAcceptDrops(true);
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void CSparrowflasherMakerDlg::connectHandlers() {
    for (const ControlTemplate& entry : kDialogTemplate) {
        if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(entry.id))) {
            connect(button, &QAbstractButton::clicked, this,
                    [this, id = entry.id] { behaviour.OnBnClicked(id); });
        }
    }
    // Only the user's changes save (typed, pasted, undone); the program's
    // own sets are quiet.
    for (const TextField& field : kTextFields) {
        QWidget* control = GetDlgItem(field.control);
        if (auto* line = qobject_cast<QLineEdit*>(control); line && !line->isReadOnly()) {
            connect(line, &QLineEdit::textEdited, this,
                    [this, id = field.control] { behaviour.saveField(id); });
        } else if (auto* note = qobject_cast<QPlainTextEdit*>(control);
                   note && !note->isReadOnly()) {
            connect(note, &QPlainTextEdit::textChanged, this,
                    [this, id = field.control] { behaviour.saveField(id); });
        }
    }
}

void CSparrowflasherMakerDlg::OnInitDialog() {
    behaviour.DoDataExchange();
    setWindowIcon(QIcon(QStringLiteral(":/res/IDI_MAIN.png")));
    toolTipControl.create();
    for (const ToolTipTemplate& tip : kToolTips) {
        toolTipControl.addTool(GetDlgItem(tip.control), toQString(tip.text));
        // A screen reader would otherwise read the tip, which may be wrapped in a table.
        GetDlgItem(tip.control)->setAccessibleDescription(toQString(tip.text));
    }
    for (const AccessibleNameTemplate& entry : kAccessibleNames) {
        GetDlgItem(entry.control)->setAccessibleName(toQString(entry.name));
    }
    behaviour.OnInitDialog();
    settingsDirectory = behaviour.settingsDirectory();
}

QWidget* CSparrowflasherMakerDlg::GetDlgItem(int id) const {
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second;
}

QCheckBox* CSparrowflasherMakerDlg::checkBox(ControlId id) const {
    return qobject_cast<QCheckBox*>(GetDlgItem(id));
}

int CSparrowflasherMakerDlg::controlIdOf(const QObject* object) const {
    // A click on a multi-row edit arrives at its viewport, a child of the edit.
    for (; object && object != this; object = object->parent()) {
        const QVariant id = object->property(kControlIdProperty);
        if (id.isValid()) return id.toInt();
    }
    return kNoControlId;
}

// ---- DialogControls ----

std::u16string CSparrowflasherMakerDlg::text(ControlId control) const {
    QWidget* widget = GetDlgItem(control);
    if (auto* line = qobject_cast<QLineEdit*>(widget)) return toU16(line->text());
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) return toU16(edit->toPlainText());
    return {};
}

void CSparrowflasherMakerDlg::setText(ControlId control, std::u16string_view value) {
    QWidget* widget = GetDlgItem(control);
    if (auto* line = dynamic_cast<LimitedLineEdit*>(widget)) {
        line->setTextQuietly(toQString(value));
    } else if (auto* edit = dynamic_cast<LimitedPlainTextEdit*>(widget)) {
        edit->setTextQuietly(toQString(value));
    }
}

void CSparrowflasherMakerDlg::setTypingLimit(ControlId control, int limit) {
    QWidget* widget = GetDlgItem(control);
    if (auto* line = dynamic_cast<LimitedLineEdit*>(widget)) {
        line->setTypingLimit(limit);
    } else if (auto* edit = dynamic_cast<LimitedPlainTextEdit*>(widget)) {
        edit->setTypingLimit(limit);
    }
}

bool CSparrowflasherMakerDlg::isChecked(ControlId id) const {
    const QCheckBox* box = checkBox(id);
    return box && box->isChecked();
}

void CSparrowflasherMakerDlg::check(ControlId id) {
    QCheckBox* box = checkBox(id);
    const QSignalBlocker quiet(box);
    box->setChecked(true);
}

void CSparrowflasherMakerDlg::setFocus(ControlId control) {
    GetDlgItem(control)->setFocus();
}

// ---- Keyboard and mouse ----

bool CSparrowflasherMakerDlg::eventFilter(QObject* watched, QEvent* event) {
    if (PreTranslateMessage(watched, event)) return true;
    return QDialog::eventFilter(watched, event);
}

bool CSparrowflasherMakerDlg::PreTranslateMessage(QObject* target, QEvent* event) {
    if (PreTranslateDrop(target, event)) return true;
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        switch (behaviour.PreTranslateKey(keyStrokeOf(key, controlIdOf(target)))) {
            case KeyAction::Pass:
                return false;
            case KeyAction::Close:
                // Where no window manager turns Alt+F4 into a close, do it here.
                close();
                return true;
            case KeyAction::Consume:
            case KeyAction::MakePackage:
                return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        return behaviour.PreTranslateClick(controlIdOf(target), mouseButtonOf(mouse.button()));
    }
    return false;
}

bool CSparrowflasherMakerDlg::PreTranslateDrop(QObject* target, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto& drop = static_cast<QDropEvent&>(*event);
    // Only a copy: a move would have the file manager delete what was dropped.
    if (!holdsLocalFiles(drop.mimeData()) || !(drop.possibleActions() & Qt::CopyAction)) {
        return false;
    }
    // While a window of the program is modal (a message box, a chooser, the
    // progress of a write), the dialog takes nothing.
    if (QApplication::activeModalWidget()) {
        drop.ignore();
        return true;
    }
    drop.setDropAction(Qt::CopyAction);
    drop.accept();
    if (type != QEvent::Drop) return true;

    // The control under the drop: the widget itself, or on the dialog the
    // label, control or frame under the point.
    auto* receiver = static_cast<QWidget*>(target);
    QWidget* under = receiver->childAt(drop.position().toPoint());
    const int control = controlIdOf(under ? under : receiver);
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : drop.mimeData()->urls()) {
        files.push_back(pathFromUtf16(toU16(url.toLocalFile())));
    }
    // Taken once the drop has returned, so that a refusal's message box does
    // not keep the program the files come from waiting.
    QMetaObject::invokeMethod(
        this, [this, control, files] { behaviour.dropFiles(control, files); },
        Qt::QueuedConnection);
    return true;
}

}  // namespace sf
