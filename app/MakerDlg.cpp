#include "app/MakerDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>

#include "app/DialogTemplate.h"
#include "app/HexKeyFilter.h"
#include "app/LimitedEdits.h"
#include "app/ProcessObjects.h"
#include "app/QtPrompts.h"
#include "app/QtText.h"
#include "app/Resources.h"
#include "package/PackageBuilder.h"
#include "platform/Utf.h"
#include "settings/SettingsDirectory.h"

namespace sf {
namespace {

const char* const kControlIdProperty = "controlId";

// The edits whose keys are kept to hex digits.
bool isHexEdit(int id) {
    const TextField* field = findTextField(id);
    return field && field->hexKeysOnly;
}

// A settings file that cannot be written does not stop the user's work: the
// value stays in the dialog and the record. The reason goes to the log.
void logIfFailed(const Status& status) {
    if (!status) qWarning("Settings not saved: %s", status.error().c_str());
}

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
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
        case ControlKind::LineEdit: {
            auto* edit = new LimitedLineEdit(parent);
            edit->setReadOnly(entry.style & kReadOnly);
            if (entry.style & kReadOnly) greyAsReadOnly(*edit);
            return edit;
        }
        case ControlKind::MultiLineEdit: {
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
        case ControlKind::CheckBox:
            return new QCheckBox(caption, parent);
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

}  // namespace

CSparrowflasherMakerDlg::CSparrowflasherMakerDlg(std::unique_ptr<UserPrompts> userPrompts)
    : prompts(userPrompts ? std::move(userPrompts) : std::make_unique<QtPrompts>(this)) {
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
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void CSparrowflasherMakerDlg::connectHandlers() {
    const auto onClick = [this](int id, void (CSparrowflasherMakerDlg::*handler)()) {
        connect(static_cast<QPushButton*>(GetDlgItem(id)), &QPushButton::clicked, this,
                [this, handler] { (this->*handler)(); });
    };
    onClick(IDC_BROWSE_INTERNAL, &CSparrowflasherMakerDlg::OnBnClickedBrowseInternal);
    onClick(IDC_BROWSE_EXTERNAL, &CSparrowflasherMakerDlg::OnBnClickedBrowseExternal);
    onClick(IDC_CLEAR_EXTERNAL, &CSparrowflasherMakerDlg::OnBnClickedClearExternal);
    onClick(IDC_BROWSE_CMDKEY, &CSparrowflasherMakerDlg::OnBnClickedBrowseCmdKey);
    onClick(IDC_MAKE, &CSparrowflasherMakerDlg::makePackage);
    connect(static_cast<QPushButton*>(GetDlgItem(IDC_DEFAULT)), &QPushButton::clicked, this,
            [this] {
                if (store) logIfFailed(store->resetSettings());
            });

    // Only the user's edits save; the program's own sets are quiet.
    for (const TextField& field : kTextFields) {
        QWidget* control = GetDlgItem(field.control);
        if (auto* line = qobject_cast<QLineEdit*>(control); line && !line->isReadOnly()) {
            connect(line, &QLineEdit::textEdited, this,
                    [this, id = field.control] { saveField(id); });
        } else if (auto* note = qobject_cast<QPlainTextEdit*>(control);
                   note && !note->isReadOnly()) {
            connect(note, &QPlainTextEdit::textChanged, this,
                    [this, id = field.control] { saveField(id); });
        }
    }
    for (const FlagField& flag : kFlagFields) {
        if (flag.key.empty()) continue;
        connect(checkBox(flag.control), &QCheckBox::clicked, this,
                [this, id = flag.control] { saveField(id); });
    }
}

void CSparrowflasherMakerDlg::OnInitDialog() {
    transferToControls();
    const QIcon mainIcon(QStringLiteral(":/res/IDI_MAIN.png"));
    setWindowIcon(mainIcon);
    toolTipControl.create();
    for (const ToolTipTemplate& tip : kToolTips) {
        toolTipControl.addTool(GetDlgItem(tip.control), toQString(tip.text));
    }
    settingsDirectory = resolveSettingsDirectory();
    store.emplace(record, *this, settingsDirectory);
    logIfFailed(store->loadSettings(kSettingsFileName));
    GetDlgItem(IDC_MAKE)->setFocus();
    check(IDC_VERIFY);
    transferToControls();
}

void CSparrowflasherMakerDlg::transferToControls() {
    for (const TextField& field : kTextFields) {
        QWidget* control = GetDlgItem(field.control);
        if (auto* line = dynamic_cast<LimitedLineEdit*>(control)) {
            line->setTypingLimit(field.typingLimit);
        } else if (auto* edit = dynamic_cast<LimitedPlainTextEdit*>(control)) {
            edit->setTypingLimit(field.typingLimit);
        }
        setText(field.control, record.*field.member);
    }
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

void CSparrowflasherMakerDlg::saveField(int controlId) {
    if (store) logIfFailed(store->saveField(controlId));
}

// ---- SettingsControls ----

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

bool CSparrowflasherMakerDlg::isChecked(ControlId id) const {
    const QCheckBox* box = checkBox(id);
    return box && box->isChecked();
}

void CSparrowflasherMakerDlg::check(ControlId id) {
    QCheckBox* box = checkBox(id);
    const QSignalBlocker quiet(box);
    box->setChecked(true);
}

bool CSparrowflasherMakerDlg::askYesNo(std::u16string_view question, std::u16string_view caption) {
    return prompts->askYesNo(toQString(question), toQString(caption));
}

// ---- MakeUi ----

void CSparrowflasherMakerDlg::message(const std::string& text, const std::string& caption) {
    prompts->showMessage(QString::fromStdString(text), QString::fromStdString(caption),
                         UserPrompts::Icon::None);
}

void CSparrowflasherMakerDlg::applicationMessage(const std::string& text) {
    prompts->showMessage(QString::fromStdString(text), applicationName(),
                         UserPrompts::Icon::Warning);
}

std::optional<std::filesystem::path> CSparrowflasherMakerDlg::askSavePath() {
    const auto chosen = prompts->chooseSaveFile();
    if (!chosen) return std::nullopt;
    return pathFromUtf16(toU16(*chosen));
}

bool CSparrowflasherMakerDlg::askYesNo(const std::string& text, const std::string& caption) {
    return prompts->askYesNo(QString::fromStdString(text), QString::fromStdString(caption));
}

void CSparrowflasherMakerDlg::progress(uint64_t written, uint64_t total) {
    if (total < kProgressWorthShowing) return;
    if (!writing) {
        writing = std::make_unique<QProgressDialog>(tr("Writing the package..."), QString(), 0, 100,
                                                    this);
        writing->setWindowTitle(applicationName());
        writing->setWindowModality(Qt::WindowModal);
        writing->setMinimumDuration(0);
    }
    writing->setValue(static_cast<int>(written * 100 / total));
    // Keep the window drawn while the package is written; the user's input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// ---- Make ----

void CSparrowflasherMakerDlg::makePackage() {
    ProjectSettings input = record;
    for (const FlagField& flag : kFlagFields) input.*flag.member = isChecked(flag.control);
    PackageBuilder(PackageBuilder::besideTool(templateFileName)).make(input, *this);
    writing.reset();
}

// ---- File selection ----

QString CSparrowflasherMakerDlg::ChooseExistingFile() {
    for (;;) {
        const auto chosen = prompts->chooseOpenFile();
        if (!chosen) return {};
        QFile file(*chosen);
        if (file.open(QIODevice::ReadOnly)) return *chosen;
        prompts->showMessage(QStringLiteral("File does not exists!"),
                             QStringLiteral("Select Image"), UserPrompts::Icon::None);
    }
}

void CSparrowflasherMakerDlg::SelectImage(ImageKind kind) {
    const bool internal = kind == ImageKind::Internal;
    const QString path = ChooseExistingFile();
    // Cancel keeps the internal image but forgets the external one.
    if (path.isEmpty() && internal) return;
    const ControlId control = internal ? IDC_INTERNAL_IMAGE : IDC_EXTERNAL_IMAGE;
    const TextField& field = *findTextField(control);
    setText(control, toU16(path));
    record.*field.member = toU16(path);
    if (store) logIfFailed(store->writeSetting(field.key, record.*field.member));
}

void CSparrowflasherMakerDlg::OnBnClickedBrowseCmdKey() {
    const auto chosen = prompts->chooseOpenFile();
    if (!chosen) return;
    record.cmdKeyPath = toU16(*chosen);
    setText(IDC_CMDKEY_PATH, record.cmdKeyPath);
    // The path edit's change saves it, as a typed change would.
    saveField(IDC_CMDKEY_PATH);
}

void CSparrowflasherMakerDlg::OnBnClickedClearExternal() {
    setText(IDC_EXTERNAL_IMAGE, u"");
    record.externalImagePath.clear();
    if (store) logIfFailed(store->writeSetting(findTextField(IDC_EXTERNAL_IMAGE)->key, u""));
}

// ---- Keyboard and mouse ----

bool CSparrowflasherMakerDlg::eventFilter(QObject* watched, QEvent* event) {
    if (PreTranslateMessage(watched, event)) return true;
    return QDialog::eventFilter(watched, event);
}

bool CSparrowflasherMakerDlg::PreTranslateMessage(QObject* target, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // Keys held with Alt, but not Ctrl (Ctrl+Alt is AltGr on Windows),
        // are the system's: no control takes text from them.
        if ((key.modifiers() & Qt::AltModifier) && !(key.modifiers() & Qt::ControlModifier)) {
            // Where no window manager turns Alt+F4 into a close, do it here.
            if (key.key() == Qt::Key_F4) close();
            return true;
        }
        if (key.key() == Qt::Key_Escape) return true;
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
            makePackage();
            return true;
        }
        return isHexEdit(controlIdOf(target)) && !hexKeyPasses(key);
    }
    if (event->type() == QEvent::MouseButtonPress) {
        const auto& mouse = static_cast<const QMouseEvent&>(*event);
        if (mouse.button() != Qt::LeftButton) return false;
        const int id = controlIdOf(target);
        if (id == IDC_INTERNAL_IMAGE) {
            SelectImage(ImageKind::Internal);
            return true;
        }
        if (id == IDC_EXTERNAL_IMAGE) {
            SelectImage(ImageKind::External);
            return true;
        }
    }
    return false;
}

}  // namespace sf
