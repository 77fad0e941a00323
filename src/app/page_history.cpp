#include "app/page_history.h"

namespace Yomibon {

bool CYbPageHistory::execute(std::unique_ptr<CYbAbCommand> command) {
    if (!command) return false;
    // A step that could not be taken (a file that did not open) is nothing to go back from.
    if (!command->execute()) return false;
    undone_.clear();
    done_.push_back(std::move(command));
    return true;
}

bool CYbPageHistory::back() {
    if (done_.empty()) return false;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    // The command stays recorded even when undoing it fails, as the move already happened.
    undone_.back()->undo();
    return true;
}

bool CYbPageHistory::forward() {
    if (undone_.empty()) return false;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    done_.back()->execute();
    return true;
}

void CYbPageHistory::clear() {
    done_.clear();
    undone_.clear();
}

}  // namespace Yomibon
