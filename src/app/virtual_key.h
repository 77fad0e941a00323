// Qt key codes to the Windows virtual-key codes that key binding files store.
#pragma once

#include <cstdint>

namespace Yomibon {

// The virtual-key code of a Qt::Key (as QKeyEvent::key() gives it); `keypad` when the
// event carried Qt::KeypadModifier. Symbols typed with Shift map to the key that makes them
// on a US keyboard. 0 for a key without a code.
uint32_t VirtualKeyFromQtKey(int qtKey, bool keypad = false);

}  // namespace Yomibon
