// キーの割り当て: binds keys and mouse buttons to the commands.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "settings/key_bind.h"

class QListWidget;

namespace Yomibon {

// A field that captures the next key press instead of typing it; every key counts,
// including Tab, Escape and the system keys.
class CYbEditKeyBind : public QLineEdit {
    Q_OBJECT

  public:
    explicit CYbEditKeyBind(QWidget* parent = nullptr);
    // The key shown; none while only modifiers are held.
    const std::optional<KeyBind>& key() const { return key_; }
    void setKey(const std::optional<KeyBind>& key);
    // A mouse button with the modifiers held now.
    void setButton(uint32_t code);

  signals:
    void keyChanged();

  protected:
    bool event(QEvent* event) override;

  private:
    std::optional<KeyBind> key_;
};

class CYbTxtKeyConfigDlg : public QDialog {
    Q_OBJECT

  public:
    // Answers Yes/No questions; tests replace it.
    using AskFunc = std::function<bool(const std::u16string& text, const std::u16string& caption)>;
    using TellFunc = std::function<void(const std::u16string& text, const std::u16string& caption)>;

    CYbTxtKeyConfigDlg(QWidget* parent, std::filesystem::path keyFile);

    // 割り当て and 解除 on the working table.
    void assign();
    void release();
    // Writes the working table to the key file.
    bool save() const;

    void selectFunction(int row);
    int selectedFunction() const;
    void setKey(const std::optional<KeyBind>& key) { edit_->setKey(key); }
    const KeyBindTable& table() const { return table_; }
    QListWidget* functionList() const { return functions_; }
    QListWidget* keyList() const { return keys_; }
    CYbEditKeyBind* keyEdit() const { return edit_; }
    void setAsk(AskFunc ask) { ask_ = std::move(ask); }
    void setTell(TellFunc tell) { tell_ = std::move(tell); }

  private:
    void refreshKeys();
    std::u16string labelOf(const std::u16string& command) const;

    std::filesystem::path keyFile_;
    KeyBindTable table_;
    QListWidget* functions_ = nullptr;
    QListWidget* keys_ = nullptr;
    CYbEditKeyBind* edit_ = nullptr;
    std::vector<KeyBind> shownKeys_;
    AskFunc ask_;
    TellFunc tell_;
};

}  // namespace Yomibon
