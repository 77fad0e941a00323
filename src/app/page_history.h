// The page history: commands that can be undone (BackPage) and redone (ForwardPage).
#pragma once

#include <memory>
#include <vector>

namespace Yomibon {

class CYbAbCommand {
  public:
    virtual ~CYbAbCommand() = default;
    virtual bool execute() = 0;
    virtual bool undo() = 0;
};

class CYbPageHistory {
  public:
    // Runs the command; when it succeeds, discards the undone commands and pushes it.
    bool execute(std::unique_ptr<CYbAbCommand> command);
    // Undoes the newest done command; false when there is none.
    bool back();
    // Redoes the newest undone command; false when there is none.
    bool forward();
    void clear();
    size_t doneCount() const { return done_.size(); }
    size_t undoneCount() const { return undone_.size(); }

  private:
    std::vector<std::unique_ptr<CYbAbCommand>> done_;
    std::vector<std::unique_ptr<CYbAbCommand>> undone_;
};

}  // namespace Yomibon
