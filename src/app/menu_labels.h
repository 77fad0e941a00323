// Menu item texts: the key a command is bound to, shown beside its item, and a mnemonic of
// its own for every item of a menu.
#pragma once

#include <QString>
#include <QStringList>

#include "settings/key_bind.h"

namespace Yomibon {

// "Ctrl+O", "Shift+Space", "Page Down": a key as a menu shows it; empty for mouse buttons.
QString MenuKeyText(const KeyBind& key);

// The labels of one menu with a distinct mnemonic each: a label keeps its own "&X" unless an
// earlier item took that letter; one without (or whose letter is taken) gets the first free
// letter of its Latin letters, else of A-Z and 0-9, as "(&X)" after the label.
QStringList AssignMnemonics(const QStringList& labels);

// The label without its mnemonic: "開く(&O)" -> "開く", "&Help" -> "Help".
QString WithoutMnemonic(const QString& label);

}  // namespace Yomibon
