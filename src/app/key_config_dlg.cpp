#include "app/key_config_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/command_table.h"
#include "app/string_table.h"
#include "app/virtual_key.h"
#include "platform/format.h"

namespace Yomibon {
namespace {

QString Q(std::u16string_view text) {
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

KeyBind WithModifiers(uint32_t code, Qt::KeyboardModifiers mods) {
    return {code, bool(mods & Qt::ShiftModifier), bool(mods & Qt::ControlModifier),
            bool(mods & Qt::AltModifier)};
}

bool IsModifierCode(uint32_t code) {
    return code == 0x10 || code == 0x11 || code == 0x12 || code == 0x5B;
}

}  // namespace

CYbEditKeyBind::CYbEditKeyBind(QWidget* parent) : QLineEdit(parent) {
    setReadOnly(true);
    // Keys are captured, not composed.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

void CYbEditKeyBind::setKey(const std::optional<KeyBind>& key) {
    key_ = key;
    setText(key ? Q(KeyDisplayName(*key)) : QString());
    emit keyChanged();
}

void CYbEditKeyBind::setButton(uint32_t code) {
    setKey(WithModifiers(code, QGuiApplication::queryKeyboardModifiers()));
}

bool CYbEditKeyBind::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();  // no shortcut may take a key meant for the field
        return true;
    }
    if (event->type() != QEvent::KeyPress) return QLineEdit::event(event);
    auto* key = static_cast<QKeyEvent*>(event);
    uint32_t code = VirtualKeyFromQtKey(key->key(), key->modifiers() & Qt::KeypadModifier);
    KeyBind bind = WithModifiers(code, key->modifiers());
    if (IsModifierCode(code)) {
        // Only modifiers: show them, with no key to bind yet.
        bind.code = 0;
        key_.reset();
        setText(Q(KeyDisplayName(bind)));
        emit keyChanged();
    } else if (code != 0) {
        setKey(bind);
    }
    return true;
}

CYbTxtKeyConfigDlg::CYbTxtKeyConfigDlg(QWidget* parent, std::filesystem::path keyFile)
    : QDialog(parent), keyFile_(std::move(keyFile)) {
    setWindowTitle(QStringLiteral("キーの割り当て"));
    if (!LoadKeyBindings(keyFile_, table_)) DefaultKeyBindings(table_);
    auto* grid = new QGridLayout(this);
    functions_ = new QListWidget(this);
    for (int index : KeyDialogCommands())
        functions_->addItem(Q(LoadString(CommandTable()[size_t(index)].labelId)));
    keys_ = new QListWidget(this);
    edit_ = new CYbEditKeyBind(this);
    auto* buttonRow = new QHBoxLayout;
    const std::pair<const char16_t*, uint32_t> buttons[] = {
        {u"左", VK_LBUTTON}, {u"中", VK_MBUTTON}, {u"右", VK_RBUTTON}};
    for (const auto& [label, code] : buttons) {
        auto* b = new QPushButton(Q(label), this);
        b->setFocusPolicy(Qt::NoFocus);
        uint32_t c = code;
        connect(b, &QPushButton::clicked, this, [this, c] { edit_->setButton(c); });
        buttonRow->addWidget(b);
    }
    auto* assignButton = new QPushButton(QStringLiteral("割り当て"), this);
    auto* releaseButton = new QPushButton(QStringLiteral("解除"), this);
    assignButton->setAutoDefault(false);
    releaseButton->setAutoDefault(false);
    connect(assignButton, &QPushButton::clicked, this, &CYbTxtKeyConfigDlg::assign);
    connect(releaseButton, &QPushButton::clicked, this, &CYbTxtKeyConfigDlg::release);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(functions_, 0, 0, 4, 1);
    grid->addWidget(keys_, 0, 1, 1, 2);
    grid->addWidget(edit_, 1, 1, 1, 2);
    grid->addLayout(buttonRow, 2, 1, 1, 2);
    grid->addWidget(assignButton, 3, 1);
    grid->addWidget(releaseButton, 3, 2);
    grid->addWidget(box, 4, 0, 1, 3);
    connect(functions_, &QListWidget::currentRowChanged, this, [this] { refreshKeys(); });
    connect(keys_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(shownKeys_.size())) edit_->setKey(shownKeys_[size_t(row)]);
    });
    ask_ = [this](const std::u16string& text, const std::u16string& caption) {
        return QMessageBox::question(this, Q(caption), Q(text)) == QMessageBox::Yes;
    };
    tell_ = [this](const std::u16string& text, const std::u16string& caption) {
        QMessageBox::warning(this, Q(caption), Q(text));
    };
    functions_->setCurrentRow(0);
    resize(560, 420);
}

void CYbTxtKeyConfigDlg::selectFunction(int row) {
    functions_->setCurrentRow(row);
}

int CYbTxtKeyConfigDlg::selectedFunction() const {
    return functions_->currentRow();
}

std::u16string CYbTxtKeyConfigDlg::labelOf(const std::u16string& command) const {
    int index = FindCommand(command);
    if (index < 0 || CommandTable()[size_t(index)].labelId == 0) return command;
    return std::u16string(LoadString(CommandTable()[size_t(index)].labelId));
}

void CYbTxtKeyConfigDlg::refreshKeys() {
    QSignalBlocker block(keys_);
    keys_->clear();
    shownKeys_.clear();
    int row = selectedFunction();
    if (row < 0 || row >= int(KeyDialogCommands().size())) return;
    std::u16string_view name = CommandTable()[size_t(KeyDialogCommands()[size_t(row)])].name;
    for (const auto& [key, command] : table_) {
        if (command != name) continue;
        shownKeys_.push_back(key);
        keys_->addItem(Q(KeyDisplayName(key)));
    }
}

void CYbTxtKeyConfigDlg::assign() {
    const std::optional<KeyBind>& key = edit_->key();
    std::u16string error(LoadString(IDS_ERROR));
    if (!key) return tell_(std::u16string(LoadString(IDS_ENTER_KEY)), error);
    int row = selectedFunction();
    if (row < 0 || row >= int(KeyDialogCommands().size()))
        return tell_(std::u16string(LoadString(IDS_SELECT_FUNCTION)), error);
    std::u16string name(CommandTable()[size_t(KeyDialogCommands()[size_t(row)])].name);
    auto it = table_.find(*key);
    if (it != table_.end()) {
        if (it->second == name) return;
        std::u16string text =
            FormatMessage(LoadString(IDS_KEY_ALREADY_BOUND),
                          {KeyDisplayName(*key), labelOf(it->second), labelOf(name)});
        if (!ask_(text, std::u16string(LoadString(IDS_CONFIRM)))) return;
    }
    table_[*key] = name;
    refreshKeys();
}

void CYbTxtKeyConfigDlg::release() {
    if (const std::optional<KeyBind>& key = edit_->key()) table_.erase(*key);
    refreshKeys();
}

bool CYbTxtKeyConfigDlg::save() const {
    return SaveKeyBindings(keyFile_, table_);
}

}  // namespace Yomibon
